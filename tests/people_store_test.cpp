#include "gui_support.h"

#include "entry/people_store.h"
#include "entry/place_finder.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace {

// Every entry of the form as "control=value" lines, sorted, and the partner's
// place pick, so that two runs can be compared line by line.
QStringList entries(frmMain &w)
{
    QStringList out;
    for (QLineEdit *box : w.findChildren<QLineEdit *>())
        out << box->objectName() + QLatin1Char('=') + box->text();
    for (QComboBox *list : w.findChildren<QComboBox *>())
        out << list->objectName() + QLatin1Char('=') + QString::number(list->currentIndex());
    for (QAbstractButton *button : w.findChildren<QAbstractButton *>()) {
        if (button->isCheckable())
            out << button->objectName() + QLatin1Char('=') + QString::number(button->isChecked());
    }
    if (PlaceFinder *places = w.placeFinder(false)) {
        const std::optional<AtlasPlace> pick = places->currentPick();
        out << QStringLiteral("pick=") + (pick ? QString::fromStdString(pick->timeZone) : QString());
    }
    out.sort();
    return out;
}

// One run of the program's birth form with the user's store, as the test
// driver: "first" and "show" only look, "remember" makes a reading, "clear"
// uses File > Clear Both People. Prints the entries it ends with.
int drive(const QString &mode)
{
    Session session;
    session.context.atlas = MakeSystemAtlas();
    session.context.people = std::make_shared<PeopleStore>();
    session.open();
    frmMain &w = *session.main;
    QTextStream out(stdout);
    if (mode == QLatin1String("remember")) {
        Person man;
        man.name = QStringLiteral("Ravi");
        man.second = 58;
        man.city = QStringLiteral("Pune");
        man.lonD = QStringLiteral("73");
        man.zone = 34;
        Person partner;
        partner.name = QStringLiteral("Meera");
        partner.year = 1990;
        partner.west = partner.south = partner.dst = true;
        partner.zone = 70;
        fillPerson(w, man, true);
        fillPerson(w, partner, false);
        if (PlaceFinder *places = w.placeFinder(false)) {
            places->offerPlaces(QStringLiteral("New York"));
            QAbstractItemView *list = places->completer()->popup();
            list->setCurrentIndex(list->model()->index(0, 0));
            QTest::keyClick(list, Qt::Key_Return);
        }
        w.cmdRashi->click();
        if (!session.results())
            return 2;
    } else if (mode == QLatin1String("clear")) {
        w.mnuClear->trigger();
    }
    for (const QString &line : entries(w))
        out << line << '\n';
    // A restored pick still chooses the zone when the birth moment changes.
    if (mode == QLatin1String("show") && w.placeFinder(false) && w.placeFinder(false)->currentPick()) {
        const QString winter = w.cmbFTimeZone->currentText() + QString::number(w.chkFDST->isChecked());
        w.cboFMonth->setCurrentIndex(6);
        const QString summer = w.cmbFTimeZone->currentText() + QString::number(w.chkFDST->isChecked());
        out << "zoneFollowsPick=" << (winter != summer) << '\n';
    }
    return 0;
}

} // namespace

class PeopleStoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rememberedAndClearedAcrossRuns();
    void damagedStoreKeepsTheFormInRange();
};

void PeopleStoreTest::rememberedAndClearedAcrossRuns()
{
    QTemporaryDir config;
    const QString store = config.filePath(QStringLiteral("zuvazize/vadiveziduzor.ini"));
    auto run = [&](const char *mode) {
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(env);
        program.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--driver"), QLatin1String(mode)});
        if (!program.waitForFinished(120000) || program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0)
            return QStringList{QStringLiteral("driver failed: ") + QString::fromUtf8(program.readAllStandardError())};
        return QString::fromUtf8(program.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    };

    const QStringList first = run("first");
    QVERIFY2(first.contains(QStringLiteral("cmbMTimeZone=29")), qPrintable(first.join(QLatin1Char(' '))));
    QVERIFY(!QFile::exists(store));

    const QStringList made = run("remember");
    QVERIFY(made.contains(QStringLiteral("txtMName=Ravi")));
    QVERIFY(made.contains(QStringLiteral("cboMSS=58")));
    QVERIFY(QFile::exists(store));
    // Only the two people are kept.
    QSettings kept(store, QSettings::IniFormat);
    for (const QString &key : kept.allKeys())
        QVERIFY2(key == QLatin1String("layout") || key.startsWith(QLatin1String("Man/"))
                     || key.startsWith(QLatin1String("Partner/")),
                 qPrintable(key));

    QStringList shown = run("show");
    const bool picked = made.contains(QStringLiteral("pick=America/New_York"));
    if (picked)
        QVERIFY(shown.removeAll(QStringLiteral("zoneFollowsPick=1")) == 1);
    QCOMPARE(shown, made);

    QCOMPARE(run("clear"), first);
    QCOMPARE(run("first"), first);
    QSettings cleared(store, QSettings::IniFormat);
    QVERIFY(cleared.allKeys().isEmpty());
}

void PeopleStoreTest::damagedStoreKeepsTheFormInRange()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("people.ini"));
    {
        QSettings s(file, QSettings::IniFormat);
        s.setValue(QStringLiteral("layout"), 1);
        s.setValue(QStringLiteral("Man/name"), QStringLiteral("Ravi"));
        s.setValue(QStringLiteral("Man/month"), 13);
        s.setValue(QStringLiteral("Man/year"), QStringLiteral("abc"));
        s.setValue(QStringLiteral("Man/zone"), 500); // beyond the list, and no pick to stand for
        s.setValue(QStringLiteral("Man/longitudeDegrees"), QStringLiteral("12345"));
        s.setValue(QStringLiteral("Partner/day"), -4);
        s.setValue(QStringLiteral("Partner/hour"), 24);
        s.setValue(QStringLiteral("Partner/pick/timeZone"), QStringLiteral("Asia/Kolkata"));
        s.setValue(QStringLiteral("Partner/pick/latitude"), 1000);
    }
    Session s;
    s.context.people = std::make_shared<PeopleStore>(file);
    s.open();
    frmMain &w = *s.main;
    QCOMPARE(w.txtMName->text(), QStringLiteral("Ravi"));
    QCOMPARE(w.cboMMonth->currentIndex(), 0);
    QCOMPARE(w.cboMYear->currentIndex(), 0);
    QCOMPARE(w.cmbMTimeZone->currentIndex(), 29);
    QCOMPARE(w.txtMLonD->text(), QStringLiteral("123")); // the box's own limit
    QCOMPARE(w.cboFDate->currentIndex(), 0);
    QCOMPARE(w.cboFHH->currentIndex(), 0);

    // A store of another layout is not read at all.
    {
        QSettings older(file, QSettings::IniFormat);
        older.setValue(QStringLiteral("layout"), 99);
    }
    Session t;
    t.context.people = std::make_shared<PeopleStore>(file);
    t.open();
    QVERIFY(t.main->txtMName->text().isEmpty());
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--driver") == 0)
        return drive(QString::fromLocal8Bit(argv[2]));
    // In-process tests name their files; this keeps any other use away from
    // the user's own settings.
    QStandardPaths::setTestModeEnabled(true);
    PeopleStoreTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "people_store_test.moc"
