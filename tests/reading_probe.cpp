// Makes 150 readings from seeded random birth details through the real
// windows and prints, for each, both signs, the percentage, the verdict and
// the report's text. Built for Linux and for Windows, the two outputs must
// be the same: the Windows build is judged against this machine's.
#include "gui_support.h"

#include "entry/place_finder.h"
#include "results/frm_save.h"

#include <QLabel>
#include <QRandomGenerator>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Session s;
    s.context.atlas = MakeSystemAtlas();
    s.open();
    s.main->show();
    const std::vector<AtlasPlace> &places = s.context.atlas->allPlaces();
    QRandomGenerator random(150);
    QString out;
    for (int i = 0; i < 150; ++i) {
        // The results window closed by Back goes, as it does between two
        // readings of a user's.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const auto person = [&random](const QString &name) {
            Person p;
            p.name = name;
            p.year = int(random.bounded(1901, 2051));
            p.month = int(random.bounded(1, 13));
            p.day = int(random.bounded(1, 29));
            p.hour = int(random.bounded(24));
            p.minute = int(random.bounded(60));
            p.lonD = QString::number(random.bounded(180));
            p.lonM = QString::number(random.bounded(60));
            p.latD = QString::number(random.bounded(90));
            p.latM = QString::number(random.bounded(60));
            p.west = random.bounded(2) == 1;
            p.south = random.bounded(2) == 1;
            p.zone = int(random.bounded(71));
            p.dst = random.bounded(2) == 1;
            return p;
        };
        fillPerson(*s.main, person(QStringLiteral("Man %1").arg(i)), true);
        fillPerson(*s.main, person(QStringLiteral("Woman %1").arg(i)), false);
        // Every other man is born at a place of the atlas, so that its places
        // and zone data are compared too.
        const quint32 place = random.bounded(quint32(places.size()));
        if (i % 2 == 0)
            s.main->placeFinder(true)->usePlace(places[place]);
        s.main->cmdRashi->click();
        frmMoonSign *r = s.results();
        if (!r) {
            std::fprintf(stderr, "reading %d failed\n", i);
            return 1;
        }
        frmSave report(r->reading(), r);
        QString text;
        for (const TextRun &run : report.runs())
            text += QString::fromStdString(run.text);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        out += QStringLiteral("#%1 %2 %3 %4 %5\n%6\n")
                   .arg(i)
                   .arg(r->txtMoonM->text(), r->txtMoonF->text(), r->lblPercentage->text(), r->lblComment->text(),
                        text);
        r->cmdBack_Click();
    }
    const QByteArray bytes = out.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout);
    return 0;
}
