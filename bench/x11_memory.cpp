// Resident memory over many readings on a real X server: each reading is
// shown, its report opened, painted and closed, then Back. Prints the
// resident memory after the first 100 readings and at the end.
//
// x11_memory [READINGS]   (1500 by default; run under xvfb-run)

#include "tests/gui_support.h"

#include "app/resources.h"
#include "app/ui_font.h"
#include "results/frm_save.h"
#include "tests/support/process_memory.h"

#include <QTest>

#include <cstdio>
#include <malloc.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    InitResources();
    QApplication::setFont(VerdanaFont(9));
    LimitPixmapCache(); // as the program does
    const int readings = argc > 1 ? std::atoi(argv[1]) : 1500;
    Session s;
    fillPerson(*s.main, Person{}, true);
    fillPerson(*s.main, Person{}, false);
    long afterWarmUp = 0;
    for (int i = 0; i < readings; ++i) {
        s.main->cboMHH->setCurrentIndex(i % 24);
        s.main->cboFMM->setCurrentIndex(i % 60);
        s.main->cmdRashi->click();
        frmMoonSign *r = s.results();
        if (!r || !QTest::qWaitForWindowExposed(r)) {
            std::fprintf(stderr, "reading %d: no results window\n", i);
            return 1;
        }
        {
            frmSave report(r->reading(), r);
            report.show();
            if (!QTest::qWaitForWindowExposed(&report)) {
                std::fprintf(stderr, "reading %d: no report window\n", i);
                return 1;
            }
            report.reject();
        }
        r->cmdBack->click();
        FlushDeletes();
        if (i + 1 == 100)
            afterWarmUp = ResidentKilobytes();
        if ((i + 1) % 100 == 0)
            std::printf("after %4d readings: resident %ld KiB, heap in use %zu KiB\n", i + 1, ResidentKilobytes(),
                        mallinfo2().uordblks / 1024);
    }
    FlushDeletes();
    const long end = ResidentKilobytes();
    std::printf("readings %d: resident %ld KiB after 100, %ld KiB at the end, growth %ld KiB\n", readings, afterWarmUp,
                end, end - afterWarmUp);
    return 0;
}
