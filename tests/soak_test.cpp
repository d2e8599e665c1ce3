#include "gui_support.h"

#include "results/frm_save.h"
#include "tests/support/process_memory.h"

#include <QTest>

namespace {

int readingsFromEnvironment(int fallback)
{
    const int n = qEnvironmentVariableIntValue("ZUVA_SOAK_READINGS");
    return n > 0 ? n : fallback;
}

} // namespace

class SoakTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void manyReadingsWithBack();
    void reportOpenedAndClosedManyTimes();
    void hostileInputDoesNotCrash();
};

void SoakTest::manyReadingsWithBack()
{
    const int readings = readingsFromEnvironment(5000);
    const int warmUp = readings / 5;
    Session s;
    fillPerson(*s.main, Person{}, true);
    Person woman;
    woman.year = 1992;
    woman.month = 4;
    woman.day = 12;
    fillPerson(*s.main, woman, false);
    const int windowsBefore = int(QApplication::topLevelWidgets().size());

    long afterWarmUp = 0;
    for (int i = 0; i < readings; ++i) {
        // Vary the births so every reading computes something new.
        s.main->cboMHH->setCurrentIndex(i % 24);
        s.main->cboFMM->setCurrentIndex(i % 60);
        s.main->cmdRashi->click();
        frmMoonSign *r = s.results();
        QVERIFY(r);
        QVERIFY(!r->txtMoonM->text().isEmpty());
        r->cmdBack->click();
        FlushDeletes();
        QVERIFY(!s.results());
        if (i + 1 == warmUp)
            afterWarmUp = ResidentKilobytes();
    }
    const long growth = ResidentKilobytes() - afterWarmUp;
    qWarning("resident memory grew by %ld KiB over the last %d readings", growth, readings - warmUp);
    // AddressSanitizer holds freed memory back on purpose; only a plain build
    // shows what the program keeps.
    if (!qEnvironmentVariableIsSet("ZUVA_SANITIZED"))
        QVERIFY2(growth < 2048, qPrintable(QString::number(growth)));
    QCOMPARE(int(QApplication::topLevelWidgets().size()), windowsBefore);
    QCOMPARE(s.recorder.quits, 0);
}

void SoakTest::reportOpenedAndClosedManyTimes()
{
    Session s;
    frmMoonSign *r = s.read(Person{}, Person{});
    QVERIFY(r);
    for (int i = 0; i < 200; ++i) {
        auto *report = new frmSave(r->reading(), r);
        report->show();
        QVERIFY(report->links().enabled());
        report->reject();
        QVERIFY(!report->links().enabled());
        delete report;
    }
    QVERIFY(r->findChildren<frmSave *>().isEmpty());
}

void SoakTest::hostileInputDoesNotCrash()
{
    Session s;
    const QString huge(100000, QChar(0x05D0)); // right-to-left letters
    QString controls;
    for (int c = 1; c < 32; ++c)
        controls += QChar(c);
    Person man;
    man.name = huge + controls;
    man.city = QString(100000, QLatin1Char('{')) + QStringLiteral("\\par");
    man.state = controls + QStringLiteral("\u202E\u0645\u0631\u062D\u0628\u0627");
    man.country = QString(100000, QChar(0xD83D)); // lone surrogates
    Person woman = man;
    woman.name = QString::fromUtf8("\xF0\x9F\x92\x9E").repeated(50000);
    frmMoonSign *r = s.read(man, woman);
    QVERIFY(r);
    // Text boxes hold at most 32,767 characters; the result shows what the box held.
    QCOMPARE(r->txtUserM->text(), s.main->txtMName->text().trimmed());
    QCOMPARE(r->txtCityM->text(), s.main->txtMCity->text());
    frmSave report(r->reading(), r);
    const QString text = report.RTB->toPlainText();
    QVERIFY(text.size() > 150000);
    // A save into a folder that does not exist fails with a message and no crash.
    frmSave::setSaveFileChooser([](QWidget *) { return QStringLiteral("/nonexistent-folder/deeper/report.rtf"); });
    report.cmdSave->click();
    frmSave::setSaveFileChooser({});
    QCOMPARE(s.recorder.boxes.size(), size_t(1));
    QVERIFY(s.recorder.boxes[0].text.contains(QStringLiteral("/nonexistent-folder/deeper/report.rtf")));
}

QTEST_MAIN(SoakTest)
#include "soak_test.moc"
