#include "app/app_context.h"
#include "app/front_label.h"
#include "app/message_box.h"
#include "app/quit_application.h"
#include "app/resources.h"
#include "app/single_instance.h"
#include "app/ui_font.h"
#include "app/window_icon.h"
#include "entry/frm_main.h"
#include "entry/people_store.h"

#include <QApplication>
#include <QRandomGenerator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    InitResources();
    LimitPixmapCache();
    QApplication::setApplicationName(QStringLiteral("RU Zuva Zize Vadiveziduzor"));
    QApplication::setApplicationVersion(QStringLiteral("1.75"));
    QApplication::setDesktopFileName(QStringLiteral("example.zuvazize.vadiveziduzor"));
    QApplication::setWindowIcon(WindowIcon());
    QApplication::setFont(VerdanaFont(9));

    SingleInstance instance;
    switch (instance.tryAcquire()) {
    case SingleInstance::Outcome::Acquired:
        instance.listen(SingleInstance::raiseWindows);
        break;
    case SingleInstance::Outcome::Running:
        instance.askRunningCopyToRaise();
        MessageBox::show(nullptr, QStringLiteral("Application is already running"), QMessageBox::Information);
        return 0;
    case SingleInstance::Outcome::Unavailable:
        MessageBox::show(nullptr,
                         QStringLiteral("The program cannot make sure that only one copy of it runs, so it does not "
                                        "start.\n\n%1").arg(instance.problem()),
                         QMessageBox::Critical);
        return 1;
    }

    AppContext context;
    context.quitApplication = QuitApplication;
    context.atlas = MakeSystemAtlas();
    context.people = std::make_shared<PeopleStore>();
    frmMain window(context);
    switch (FrontLabelFromDraw(QRandomGenerator::global()->generateDouble())) {
    case FrontLabel::Cobrand:
        window.BringAdvertToFront(true);
        break;
    case FrontLabel::FullBrand:
        window.BringAdvertToFront(false);
        break;
    case FrontLabel::Unchanged:
        break;
    }
    window.show();

    return app.exec();
}
