#include "gui_support.h"

#include "entry/people_store.h"
#include "entry/place_finder.h"

#include <QAbstractItemView>
#include <QListView>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QScopeGuard>

#include <QJsonDocument>
#include <QJsonObject>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <fcntl.h>
#include <ctime>

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
            w.txtFCity->setFocus();
            places->offerPlaces(QStringLiteral("New York"));
            QTest::keyClick(w.txtFCity, Qt::Key_Return);
        }
        w.cmdRashi->click();
        if (!session.results())
            return 2;
    } else if (mode == QLatin1String("clear")) {
        session.recorder.answer = true; // yes, clear them
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

// What stands at the store's place before a start.
using MakeStore = std::function<void(const QString &path)>;
Q_DECLARE_METATYPE(MakeStore)

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray storeWith(const QByteArray &man)
{
    return R"({"program": "vadiveziduzor-people", "version": 2, "partner": {}, "man": )" + man + "}";
}

class PeopleStoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rememberedAndClearedAcrossRuns();
    void earlierSettingsTakenOverInRange();
    void hostileStoresAreNothingRemembered_data();
    void hostileStoresAreNothingRemembered();
    void fullDiskKeepsTheOldStore();
    void killedSavesLeaveNothingForLong();
};

void PeopleStoreTest::rememberedAndClearedAcrossRuns()
{
    QTemporaryDir config;
    const QString store = config.filePath(QStringLiteral("zuvazize/vadiveziduzor-people.json"));
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
    const auto keptKeys = [&] {
        QFile file(store);
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object().keys() : QStringList();
    };

    const QStringList first = run("first");
    QVERIFY2(first.contains(QStringLiteral("cmbMTimeZone=29")), qPrintable(first.join(QLatin1Char(' '))));
    QVERIFY(!QFile::exists(store));

    const QStringList made = run("remember");
    QVERIFY(made.contains(QStringLiteral("txtMName=Ravi")));
    QVERIFY(made.contains(QStringLiteral("cboMSS=58")));
    // Only the two people are kept, for this user's eyes only.
    QCOMPARE(keptKeys(), (QStringList{"man", "partner", "program", "version"}));
    struct stat kept {};
    QVERIFY(::stat(QFile::encodeName(store), &kept) == 0);
    QCOMPARE(kept.st_mode & 0777, 0600u);

    QStringList shown = run("show");
    const bool picked = made.contains(QStringLiteral("pick=America/New_York"));
    if (picked)
        QVERIFY(shown.removeAll(QStringLiteral("zoneFollowsPick=1")) == 1);
    QCOMPARE(shown, made);

    QCOMPARE(run("clear"), first);
    QCOMPARE(run("first"), first);
    QCOMPARE(keptKeys(), (QStringList{"program", "version"}));
}

void PeopleStoreTest::earlierSettingsTakenOverInRange()
{
    QTemporaryDir dir;
    const QString earlier = dir.filePath(QStringLiteral("vadiveziduzor.ini"));
    const QString store = dir.filePath(QStringLiteral("people.json"));
    {
        QSettings s(earlier, QSettings::IniFormat);
        s.setValue(QStringLiteral("layout"), 1);
        s.setValue(QStringLiteral("Man/name"), QStringLiteral("Ravi \"R\", {x}\\ \u00e9 \U0001F49E"));
        s.setValue(QStringLiteral("Man/month"), 13);
        s.setValue(QStringLiteral("Man/year"), QStringLiteral("abc"));
        s.setValue(QStringLiteral("Man/zone"), 500); // beyond the list, and no pick to stand for
        s.setValue(QStringLiteral("Man/longitudeDegrees"), QStringLiteral("12345"));
        s.setValue(QStringLiteral("Man/city"), QStringLiteral(" @Pune "));
        s.setValue(QStringLiteral("Man/state"), QVariant(QSize(1, 2))); // an encoded value is not read
        s.setValue(QStringLiteral("Partner/day"), -4);
        s.setValue(QStringLiteral("Partner/hour"), 24);
        s.setValue(QStringLiteral("Partner/minute"), 7);
        s.setValue(QStringLiteral("Partner/west"), true);
        s.setValue(QStringLiteral("Partner/pick/timeZone"), QStringLiteral("Asia/Kolkata"));
        s.setValue(QStringLiteral("Partner/pick/latitude"), 1000);
    }
    const QByteArray before = [&] {
        QFile f(earlier);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    Session s;
    s.context.people = std::make_shared<PeopleStore>(store, earlier);
    s.open();
    frmMain &w = *s.main;
    QCOMPARE(w.txtMName->text(), QStringLiteral("Ravi \"R\", {x}\\ \u00e9 \U0001F49E"));
    QCOMPARE(w.txtMCity->text(), QStringLiteral(" @Pune "));
    QVERIFY(w.txtMState->text().isEmpty());
    QCOMPARE(w.cboMMonth->currentIndex(), 0);
    QCOMPARE(w.cboMYear->currentIndex(), 0);
    QCOMPARE(w.cmbMTimeZone->currentIndex(), 29);
    QCOMPARE(w.txtMLonD->text(), QStringLiteral("123")); // the box's own limit
    QCOMPARE(w.cboFDate->currentIndex(), 0);
    QCOMPARE(w.cboFHH->currentIndex(), 0);
    QCOMPARE(w.cboFMM->currentIndex(), 7);
    QCOMPARE(w.optFLong->checkedId(), 1);
    QVERIFY(!w.placeFinder(false) || !w.placeFinder(false)->currentPick());

    // Taken over once: the new store holds them now, and the earlier file
    // is left as it was.
    QVERIFY(QFile::exists(store));
    QFile f(earlier);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);
}

void PeopleStoreTest::hostileStoresAreNothingRemembered_data()
{
    QTest::addColumn<MakeStore>("make");
    QTest::addColumn<bool>("remembers");
    QTest::addColumn<bool>("saves");

    const auto bytes = [](const QByteArray &b) { return MakeStore([b](const QString &path) { writeFile(path, b); }); };
    const QByteArray valid = storeWith(R"({"name": "Ravi", "year": 1990})");
    QByteArray deep = R"({"program": "vadiveziduzor-people", "version": 2, "partner": {}, "man": )";
    deep += QByteArray(30000, '[') + QByteArray(30000, ']') + "}";
    QTest::newRow("nesting 30,000 deep") << bytes(deep) << false << true;
    QTest::newRow("nesting past the size cap") << bytes(storeWith(QByteArray(40000, '[') + QByteArray(40000, ']')))
                                              << false << true;
    QTest::newRow("cut short") << bytes(valid.left(valid.size() / 2)) << false << true;
    QTest::newRow("binary") << bytes(QByteArray::fromHex("00ff7b2201c3280a") .repeated(512)) << false << true;
    QTest::newRow("100 MB") << MakeStore([](const QString &path) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(100 * 1024 * 1024));
    }) << false << true;
    QTest::newRow("another program's JSON") << bytes(R"({"man": {}, "partner": {}})") << false << true;
    QTest::newRow("wrong types, kept in range")
        << bytes(storeWith(R"({"name": 5, "month": "3", "day": 1.5, "year": [1990], "hour": 1e300, "zone": -3,
                              "west": "yes", "pick": "Asia/Kolkata"})"))
        << true << true;
    for (const char *zone : {"../../../../etc/passwd", "/proc/self/mem", "../../../../dev/zero", "Asia/Kolkata\\u0000x"})
        QTest::newRow(zone) << bytes(storeWith(R"({"name": "Ravi", "pick": {"timeZone": ")" + QByteArray(zone)
                                               + R"(", "latitude": 18.5, "longitude": 73.8}})"))
                            << true << true;
    QTest::newRow("a megabyte of zone name")
        << bytes(storeWith(R"({"pick": {"timeZone": ")" + QByteArray(1 << 20, 'A') + R"("}})")) << false << true;
    QTest::newRow("pipe") << MakeStore([](const QString &path) { QVERIFY(::mkfifo(QFile::encodeName(path), 0600) == 0); })
                          << false << false;
    QTest::newRow("link to a good store") << MakeStore([valid](const QString &path) {
        writeFile(path + QStringLiteral(".real"), valid);
        QVERIFY(QFile::link(path + QStringLiteral(".real"), path));
    }) << false << false;
    QTest::newRow("link to /dev/zero") << MakeStore([](const QString &path) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    }) << false << false;
    QTest::newRow("folder") << MakeStore([](const QString &path) { QVERIFY(QDir().mkdir(path)); }) << false << false;
    if (::getuid() == 0) // only root can give a file to another user
        QTest::newRow("another user's") << MakeStore([valid](const QString &path) {
            writeFile(path, valid);
            QVERIFY(::chown(QFile::encodeName(path), 65534, 65534) == 0);
        }) << false << true;
}

void PeopleStoreTest::hostileStoresAreNothingRemembered()
{
    QFETCH(MakeStore, make);
    QFETCH(bool, remembers);
    QFETCH(bool, saves);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("people.json"));
    make(path);
    const QFileInfo before(path);

    PeopleStore store(path);
    PersonDetails man, partner;
    QCOMPARE(store.load(man, partner), remembers);
    // Whatever was there, the form can show what was read.
    for (const auto &[value, range] : {std::pair{man.month, MonthRange}, {man.day, DayRange}, {man.year, YearRange},
                                      {man.hour, HourRange}, {partner.minute, MinuteRange}})
        QVERIFY(range.contains(value));
    QVERIFY(man.lonD.size() <= 32);
    QVERIFY(!man.pick);
    // Nothing is deleted by reading, and only a plain file is replaced.
    QCOMPARE(QFileInfo(path).isSymLink(), before.isSymLink());
    QCOMPARE(QFileInfo(path).exists(), before.exists() || before.isSymLink());
    QCOMPARE(store.save(man, partner).isEmpty(), saves);
    if (!saves) {
        QCOMPARE(QFileInfo(path).isSymLink(), before.isSymLink());
        QCOMPARE(QFileInfo(path).isDir(), before.isDir());
    }
    struct stat zero {};
    QVERIFY(::stat("/dev/zero", &zero) == 0 && S_ISCHR(zero.st_mode));
}

void PeopleStoreTest::fullDiskKeepsTheOldStore()
{
    if (::getuid() != 0)
        QSKIP("needs root to mount a small file system");
    QTemporaryDir dir;
    const QByteArray mount = QFile::encodeName(dir.path());
    if (::mount("tmpfs", mount.constData(), "tmpfs", 0, "size=128k,mode=0700") != 0)
        QSKIP("no small file system could be mounted here");
    const auto unmount = qScopeGuard([&] { ::umount(mount.constData()); });
    const QString path = dir.filePath(QStringLiteral("people.json"));
    PeopleStore store(path);
    PersonDetails man, partner;
    man.name = QStringLiteral("Ravi");
    QVERIFY(store.save(man, partner).isEmpty());
    QFile kept(path);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    const QByteArray old = kept.readAll();
    kept.close();

    // A new store larger than the room left: 24 KB of Devanagari.
    for (PersonDetails *p : {&man, &partner})
        p->name = p->city = p->state = p->country = QString(PeopleStore::MaxTextLength, QChar(0x0928));
    const QString filler = dir.filePath(QStringLiteral("filler"));
    for (const int freeKiB : {0, 4, 8, 12}) {
        QFile::remove(filler);
        struct statvfs fs {};
        QVERIFY(::statvfs(mount.constData(), &fs) == 0);
        const qint64 room = qint64(fs.f_bavail) * qint64(fs.f_frsize) - freeKiB * 1024;
        QFile fill(filler);
        QVERIFY(fill.open(QIODevice::WriteOnly));
        if (room > 0)
            QCOMPARE(fill.write(QByteArray(room, 'x')), room);
        fill.close();

        const QString problem = store.save(man, partner);
        QVERIFY2(!problem.isEmpty(), qPrintable(QString::number(freeKiB)));
        QVERIFY2(QFile(path).open(QIODevice::ReadOnly), qPrintable(problem));
        QFile again(path);
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // no temporary copy left
    }
}

void PeopleStoreTest::killedSavesLeaveNothingForLong()
{
    QTemporaryDir dir;
    const auto make = [&](const char *name, int ageSeconds) {
        const QString path = dir.filePath(QLatin1String(name));
        writeFile(path, "half a file");
        const timespec times[2] = {{std::time(nullptr) - ageSeconds, 0}, {std::time(nullptr) - ageSeconds, 0}};
        ::utimensat(AT_FDCWD, QFile::encodeName(path), times, 0);
        return path;
    };
    // What killed saves left two minutes ago goes with the next save into
    // the folder; a save still running, and anything not the program's, stays.
    const QString old = make(".people-1x2y.tmp", 120);
    const QString running = make(".people-3z4w.tmp", 5);
    const QString notOurs = make(".people-notours.tmp.bak", 120);
    const QString report = make(".report-5v6u.tmp", 120);
    PeopleStore store(dir.filePath(QStringLiteral("people.json")));
    QVERIFY(store.save(PersonDetails{}, PersonDetails{}).isEmpty());
    QVERIFY(!QFile::exists(old));
    QVERIFY(QFile::exists(running) && QFile::exists(notOurs) && QFile::exists(report));
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
