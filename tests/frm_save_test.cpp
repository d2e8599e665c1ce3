#include "gui_support.h"

#include "entry/people_store.h"
#include "results/frm_save.h"
#include "results/report_file_name.h"
#include "tests/support/rtf_reader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QRadioButton>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QThreadPool>
#include <QTimer>

#include <cstring>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString documentTextWithCrLf(const frmSave &report)
{
    QString text;
    for (const TextRun &run : report.runs())
        text += QString::fromStdString(run.text);
    return text;
}

QString runsText(const std::vector<TextRun> &runs)
{
    QString text;
    for (const TextRun &run : runs)
        text += QString::fromStdString(run.text);
    return text;
}

// A reading of John and Mary with the given name, city and so on.
struct Couple {
    Session session;
    frmMoonSign *results = nullptr;

    explicit Couple(const QString &manName = QStringLiteral("John"), const QString &city = QStringLiteral("London"),
                    const QString &state = QStringLiteral("England"), const QString &country = QStringLiteral("UK"))
    {
        Person man;
        man.name = manName;
        man.month = 1;
        man.day = 5;
        man.year = 1980;
        man.city = city;
        man.state = state;
        man.country = country;
        Person woman;
        woman.name = QStringLiteral("Mary");
        woman.year = 1992;
        woman.month = 4;
        woman.day = 12;
        woman.hour = 0;
        results = session.read(man, woman);
    }
};

QPoint pointOfText(QTextBrowser *browser, const QString &text)
{
    const QTextCursor found = browser->document()->find(text);
    QTextCursor inside(browser->document());
    inside.setPosition(found.selectionStart() + 2);
    return browser->cursorRect(inside).center();
}

} // namespace

Q_DECLARE_METATYPE(Person)

class FrmSaveTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void cleanupTestCase();
    void reportRunByRun();
    void reportSaysWhatTheResultsShow_data();
    void reportSaysWhatTheResultsShow();
    void savedFileReadsBackElsewhere();
    void hostileNamesSurviveTheRoundTrip_data();
    void hostileNamesSurviveTheRoundTrip();
    void cancelledSaveIsSilent();
    void failedSaveKeepsTheOldFileAndSaysSo();
    void oddTargetsRefusedOrExplained_data();
    void oddTargetsRefusedOrExplained();
    void printsWholeReportOrSelection();
    void webAddressesOpenOnClickButFilesNever();
    void linkHandlingFollowsEachOpening();
    void suggestedFileName_data();
    void suggestedFileName();
    void titleAndStartFolderFollowTheCouple();
    void keyboardFromResultsToReport();
};

void FrmSaveTest::cleanup()
{
    frmSave::setSaveFileChooser({});
    frmSave::setPrintDialogHandler({});
    frmSave::setPrintPreviewShower({});
}

void FrmSaveTest::cleanupTestCase()
{
    // Work Qt handed to its pool ends before the process does, so that a
    // leak check at exit sees every thread finished, however busy the machine.
    QThreadPool::globalInstance()->waitForDone(10000);
}

void FrmSaveTest::reportRunByRun()
{
    Couple r;
    QVERIFY(r.results);
    frmSave report(r.results->reading(), r.results);
    const std::vector<TextRun> &runs = report.runs();
    // The reading's 37 runs, then how it was made in a block of its own.
    QVERIFY(runs.size() > 37);
    QCOMPARE(QString::fromStdString(runs[37].text), QStringLiteral("\r\nHow the reading was made\r\n\r\n"));
    QVERIFY(runs[37].bold && runs[37].colour == RunColour::Heading);

    struct Expected {
        int index;
        const char *text;
        bool bold;
        RunColour colour;
    };
    const Expected expected[] = {
        {0, "Your Moon Sign Details\r\n\r\n", true, RunColour::Heading},
        {1, "Name :", false, RunColour::Label},
        {2, "John\r\n\r\n", false, RunColour::Value},
        {3, "Date of Birth :", false, RunColour::Label},
        {4, "January 5, 1980\r\n\r\n", false, RunColour::Value},
        {5, "Time of Birth :", false, RunColour::Label},
        {15, "Your Partner's Moon Sign Details\r\n\r\n", true, RunColour::Heading},
        {16, "Name :", false, RunColour::Label},
        {17, "Mary\r\n\r\n", false, RunColour::Value},
        {29, "Leo\r\n\r\n", false, RunColour::Value},
        {30, "Moon Sign Compatibility Interpretation\r\n\r\n", true, RunColour::Heading},
        {31, "Percentage of Compatibility :", false, RunColour::Label},
        {35, "Detailed Analysis", false, RunColour::Label},
    };
    for (const Expected &e : expected) {
        const TextRun &run = runs[static_cast<size_t>(e.index)];
        QCOMPARE(QString::fromStdString(run.text), QString::fromUtf8(e.text));
        QCOMPARE(run.bold, e.bold);
        QCOMPARE(int(run.colour), int(e.colour));
    }
    const QString man = r.results->txtMoonM->text();
    QCOMPARE(QString::fromStdString(runs[32].text), r.results->lblPercentage->text() + QStringLiteral("\r\n\r\n"));
    QCOMPARE(QString::fromStdString(runs[33].text), QStringLiteral("Compatibility of ") + man + QStringLiteral(" With Leo:"));
    QCOMPARE(QString::fromStdString(runs[36].text), r.results->lblDescription->text() + QStringLiteral("\r\n"));

    // The document shows the same, with the heading bold and red and each
    // label dark red beside its black value.
    QTextDocument *doc = report.RTB->document();
    QVERIFY(doc->toPlainText().startsWith(QStringLiteral("Your Moon Sign Details\n\nName :John\n\nDate of Birth :January 5, 1980\n")));
    QVERIFY(doc->toPlainText().contains(QStringLiteral("\nDetailed Analysis") + r.results->lblDescription->text() + QLatin1Char('\n')));
    auto formatAt = [doc](const QString &text) {
        QTextCursor c = doc->find(text);
        return c.charFormat();
    };
    QCOMPARE(formatAt(QStringLiteral("Your Moon Sign Details")).fontWeight(), int(QFont::Bold));
    // On screen the heading red is deepened just enough to read on the
    // white paper (the saved file keeps pure red).
    const QColor heading = formatAt(QStringLiteral("Your Moon Sign Details")).foreground().color();
    QVERIFY(heading.red() >= 224 && heading.green() == 0 && heading.blue() == 0);
    QCOMPARE(formatAt(QStringLiteral("Name :")).foreground().color(), QColor(128, 0, 0));
    QCOMPARE(formatAt(QStringLiteral("Name :")).fontWeight(), int(QFont::Normal));
    QCOMPARE(formatAt(QStringLiteral("John")).foreground().color(), QColor(0, 0, 0));
    QCOMPARE(doc->defaultFont().pointSizeF(), 9.75);
}

void FrmSaveTest::reportSaysWhatTheResultsShow_data()
{
    QTest::addColumn<Person>("man");
    QTest::addColumn<Person>("woman");
    Person john;
    john.name = QStringLiteral("  John  ");
    john.city = QStringLiteral(" London ");
    john.year = 1980;
    Person mary;
    mary.name = QStringLiteral("Mary {\\par}");
    mary.country = QStringLiteral("\u0928\u0947\u092A\u093E\u0932 \U0001F49E");
    mary.year = 1992;
    mary.month = 4;
    mary.day = 12;
    mary.hour = 0;
    mary.second = 59;
    QTest::newRow("blanks, braces, Devanagari, emoji") << john << mary;
    QTest::newRow("partners swapped") << mary << john;
    Person west = john;
    west.west = true;
    west.dst = true;
    west.zone = 27;
    west.month = 7;
    west.day = 20;
    west.year = 1969;
    QTest::newRow("west with daylight saving") << west << west;
    Person late = mary;
    late.month = 12;
    late.day = 31;
    late.year = 2050;
    late.hour = 23;
    late.minute = 59;
    QTest::newRow("the last minute the form offers") << late << john;
}

void FrmSaveTest::reportSaysWhatTheResultsShow()
{
    QFETCH(Person, man);
    QFETCH(Person, woman);
    Session s;
    frmMoonSign *r = s.read(man, woman);
    QVERIFY(r);
    frmSave report(r->reading(), r);
    const std::vector<TextRun> &runs = report.runs();
    QVERIFY(runs.size() > 37);
    const auto value = [&](std::size_t run, const char *end) {
        QString text = QString::fromStdString(runs[run].text);
        if (!text.endsWith(QLatin1String(end)))
            return QStringLiteral("<no line end>");
        text.chop(int(std::strlen(end)));
        return text;
    };
    // The seven values of each person follow their labels, one run apart.
    const QList<QLineEdit *> fields = r->resultFields();
    for (int i = 0; i < 14; ++i)
        QCOMPARE(value(std::size_t(i < 7 ? 2 + 2 * i : 17 + 2 * (i - 7)), "\r\n\r\n"), fields[i]->text());
    QCOMPARE(value(32, "\r\n\r\n"), r->lblPercentage->text());
    QCOMPARE(value(34, "\r\n\r\n"), r->lblComment->text());
    QCOMPARE(value(36, "\r\n"), r->lblDescription->text());

    // How the reading was made: each line of the window's, caption then
    // value, in the report's block in the same order; then the other pairs.
    QStringList shown, written;
    for (const char *who : {"M", "F"}) {
        for (const char *name : {"lblBorn", "lblClock", "lblUniversalTime", "lblMoonAt", "lblMoonNote"}) {
            const auto *label = r->findChild<QLabel *>(QLatin1String(name) + QLatin1String(who));
            shown << label->accessibleName() + QStringLiteral(" :") << label->text();
        }
    }
    if (!r->lblOtherPairs->isHidden())
        shown << r->lblOtherPairsCaption->text() + QStringLiteral(" :") << r->lblOtherPairs->text().split(QLatin1Char('\n'));
    for (std::size_t i = 38; i < runs.size(); ++i) {
        const QString text = QString::fromStdString(runs[i].text).trimmed();
        if (!text.startsWith(QLatin1String("For you")) && !text.startsWith(QLatin1String("For your partner")))
            written << text;
    }
    QCOMPARE(written, shown);
}

void FrmSaveTest::savedFileReadsBackElsewhere()
{
    Couple r;
    frmSave report(r.results->reading(), r.results);
    QTemporaryDir dir;
    // Whatever name the user gives, the file holds RTF.
    const QString path = dir.filePath(QStringLiteral("reading.txt"));
    frmSave::setSaveFileChooser([&](QWidget *) { return path; });
    report.cmdSave->click();
    QVERIFY(r.session.recorder.boxes.empty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray rtf = file.readAll();
    QVERIFY(rtf.startsWith("{\\rtf1"));
    QVERIFY(rtf.contains("Verdana"));

    if (QStandardPaths::findExecutable(QStringLiteral("pandoc")).isEmpty())
        QSKIP("pandoc is not installed");
    const QString plain = runTool(QStringLiteral("pandoc"), {QStringLiteral("-f"), QStringLiteral("rtf"), QStringLiteral("-t"),
                                                             QStringLiteral("plain"), QStringLiteral("--wrap=none"), path});
    for (const QString &line : {QStringLiteral("Your Moon Sign Details"), QStringLiteral("Name :John"),
                                QStringLiteral("Date of Birth :January 5, 1980"), QStringLiteral("Your Partner's Moon Sign Details"),
                                QStringLiteral("Moon Sign :Leo")})
        QVERIFY2(plain.contains(line), qPrintable(plain.left(400)));
    const QString html = runTool(QStringLiteral("pandoc"), {QStringLiteral("-f"), QStringLiteral("rtf"), QStringLiteral("-t"),
                                                            QStringLiteral("html"), path});
    QVERIFY2(html.contains(QStringLiteral("<strong>Your Moon Sign Details</strong>")), qPrintable(html.left(400)));

    if (QStandardPaths::findExecutable(QStringLiteral("unrtf")).isEmpty())
        QSKIP("unrtf is not installed");
    const QString unrtf = runTool(QStringLiteral("unrtf"), {QStringLiteral("--html"), path}).toLower();
    QVERIFY2(unrtf.contains(QStringLiteral("#ff0000")), qPrintable(unrtf.left(600)));
    QVERIFY(unrtf.contains(QStringLiteral("#800000")));
    QVERIFY(unrtf.contains(QStringLiteral("verdana")));
}

void FrmSaveTest::hostileNamesSurviveTheRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("braces and backslashes") << QStringLiteral("{\\rtf1 \\b} {\\par}\\\\");
    QTest::newRow("Devanagari") << QStringLiteral("\u092e\u0928\u094b\u091c \u0928\u0947\u092a\u093e\u0932");
    QTest::newRow("emoji") << QStringLiteral("Ann \U0001F49E\U0001F319 \U0001F469\u200D\u2764\uFE0F\u200D\U0001F468");
    QTest::newRow("right to left") << QStringLiteral("\u05e9\u05e8\u05d4 \u0644\u064a\u0644\u0649");
    QTest::newRow("5000 characters") << QString(5000, QLatin1Char('x')) + QStringLiteral("}");
}

void FrmSaveTest::hostileNamesSurviveTheRoundTrip()
{
    QFETCH(QString, name);
    Couple r(name, name);
    frmSave report(r.results->reading(), r.results);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.rtf"));
    frmSave::setSaveFileChooser([&](QWidget *) { return path; });
    report.cmdSave->click();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray rtf = file.readAll();
    for (char c : rtf)
        QVERIFY(static_cast<unsigned char>(c) < 0x80);
    const RtfReadResult back = ReadRtf(std::string_view(rtf.constData(), static_cast<size_t>(rtf.size())));
    QVERIFY(back.ok);
    QCOMPARE(runsText(back.runs), documentTextWithCrLf(report));
    QVERIFY(documentTextWithCrLf(report).contains(QStringLiteral("Name :") + name.trimmed()));

    // The PDF gives the name back as text, letter for letter, and is titled
    // with the couple's names.
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    frmSave::setSaveFileChooser([&](QWidget *) { return frmSave::SaveTarget(pdf, true); });
    report.cmdSave->click();
    QVERIFY(r.session.recorder.boxes.empty());
    // Compared without blanks and line ends, which are the page's, and
    // without the characters that draw nothing (joiners, variation
    // selectors and the marks pdftotext adds around right-to-left text).
    static const QRegularExpression layout(QStringLiteral("[\\s\\x{200D}\\x{FE0F}\\x{202A}-\\x{202E}]"));
    // A page's number stands at its foot, before the page break.
    static const QRegularExpression pageFoot(QStringLiteral("\\n\\d+\\s*\\f"));
    const QString text = runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).remove(pageFoot).remove(layout);
    const QString wanted = QString(QStringLiteral("Name :") + name.trimmed()).remove(layout);
    QVERIFY2(text.contains(wanted), qPrintable(text.left(300)));
    const QString info = runTool(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY2(info.contains(QStringLiteral("Title:")) && info.contains(report.title()), qPrintable(info));
    // Every font is embedded ("emb" yes) and names its characters ("uni" yes).
    const QString fonts = runTool(QStringLiteral("pdffonts"), {pdf});
    static const QRegularExpression font(QStringLiteral("^\\S+\\s+.*\\s(yes|no)\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+$"),
                                         QRegularExpression::MultilineOption);
    int listed = 0;
    for (auto m = font.globalMatch(fonts); m.hasNext(); ++listed) {
        const QRegularExpressionMatch row = m.next();
        QVERIFY2(row.captured(1) == QLatin1String("yes") && row.captured(3) == QLatin1String("yes"), qPrintable(fonts));
    }
    QVERIFY2(listed > 0, qPrintable(fonts));
}

void FrmSaveTest::cancelledSaveIsSilent()
{
    Couple r;
    frmSave report(r.results->reading(), r.results);
    QTemporaryDir dir;
    frmSave::setSaveFileChooser([](QWidget *) { return QString(); });
    report.cmdSave->click();
    QVERIFY(r.session.recorder.boxes.empty());
    QVERIFY(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

void FrmSaveTest::failedSaveKeepsTheOldFileAndSaysSo()
{
    Couple r(QString(4000, QLatin1Char('n')));
    frmSave report(r.results->reading(), r.results);
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("target"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/old.rtf");

    // Root writes anywhere, so there the folder becomes a full disk instead
    // of a read-only folder.
    bool mounted = false;
    if (geteuid() == 0) {
        mounted = QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                              QStringLiteral("size=16k"), QStringLiteral("tmpfs"), folder}) == 0;
        if (!mounted)
            QSKIP("cannot make a small file system here");
    }
    auto unmount = qScopeGuard([&] {
        if (mounted)
            QProcess::execute(QStringLiteral("umount"), {folder});
    });
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("OLD REPORT");
    }
    if (mounted) {
        QFile filler(folder + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(512, 'f');
        while (filler.write(block) > 0) {
        }
        filler.close();
    } else {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    }

    frmSave::setSaveFileChooser([&](QWidget *) { return path; });
    report.cmdSave->click();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(r.session.recorder.boxes.size(), size_t(1));
    QVERIFY(r.session.recorder.boxes[0].text.contains(path));
    QVERIFY2(r.session.recorder.boxes[0].text.contains(mounted ? QStringLiteral("No space left on device")
                                                               : QStringLiteral("Permission denied")),
             qPrintable(r.session.recorder.boxes[0].text));
    QCOMPARE(int(r.session.recorder.boxes[0].icon), int(QMessageBox::Critical));
    QFile old(path);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("OLD REPORT"));
    const QStringList left = QDir(folder).entryList(QDir::Files);
    QVERIFY2(left.size() <= 2, qPrintable(left.join(QLatin1Char(' ')))); // old.rtf and the filler only
}

void FrmSaveTest::oddTargetsRefusedOrExplained_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("message"); // empty: the report is saved
    const QString notRegular = QStringLiteral("not a regular file");
    QTest::newRow("FIFO") << "fifo" << notRegular;
    QTest::newRow("link to a FIFO") << "link to fifo" << notRegular;
    QTest::newRow("folder") << "folder" << notRegular;
    QTest::newRow("character device") << "device" << notRegular;
    QTest::newRow("link loop") << "loop" << "loop of symbolic links";
    QTest::newRow("link to a file") << "link to file" << "";
    QTest::newRow("name of 255 bytes") << "name 255" << "";
    QTest::newRow("name of 256 bytes") << "name 256" << "The file name is too long";
}

void FrmSaveTest::oddTargetsRefusedOrExplained()
{
    QFETCH(QString, target);
    QFETCH(QString, message);
    Couple r;
    frmSave report(r.results->reading(), r.results);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("target"));
    const QByteArray native = QFile::encodeName(path);
    const QString other = dir.filePath(QStringLiteral("other"));
    bool made = true;
    if (target == QLatin1String("fifo") || target == QLatin1String("link to fifo")) {
        made = ::mkfifo(QFile::encodeName(other).constData(), 0600) == 0 && (target == QLatin1String("fifo")
            ? ::rename(QFile::encodeName(other).constData(), native.constData()) == 0 : QFile::link(other, path));
    } else if (target == QLatin1String("folder")) {
        made = QDir().mkdir(path);
    } else if (target == QLatin1String("device")) {
        if (geteuid() != 0)
            QSKIP("only root makes device nodes");
        made = ::mknod(native.constData(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    } else if (target == QLatin1String("loop")) {
        made = QFile::link(path, other) && QFile::link(other, path);
    } else if (target == QLatin1String("link to file")) {
        QFile file(other);
        made = file.open(QIODevice::WriteOnly) && file.write("old") == 3;
        file.close();
        made = made && QFile::link(other, path);
    } else {
        path = dir.filePath(QString(target.mid(5).toInt(), QLatin1Char('n')));
    }
    QVERIFY(made);
    struct stat before {};
    ::lstat(QFile::encodeName(path).constData(), &before);

    frmSave::setSaveFileChooser([&](QWidget *) { return path; });
    report.cmdSave->click();

    if (message.isEmpty()) {
        QVERIFY(r.session.recorder.boxes.empty());
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().startsWith("{\\rtf1"));
        QCOMPARE(QFileInfo(path).isSymLink(), target == QLatin1String("link to file"));
    } else {
        QCOMPARE(r.session.recorder.boxes.size(), size_t(1));
        const QString text = r.session.recorder.boxes[0].text;
        QVERIFY2(text.contains(message) && text.contains(path), qPrintable(text));
        // Nothing was replaced: the node is the one made above.
        struct stat after {};
        QCOMPARE(::lstat(QFile::encodeName(path).constData(), &after), target.startsWith(QLatin1String("name")) ? -1 : 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_mode, before.st_mode);
    }
    QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QVERIFY2(left.filter(QStringLiteral(".tmp")).isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
}

void FrmSaveTest::printsWholeReportOrSelection()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    Couple r;
    frmSave report(r.results->reading(), r.results);
    QTemporaryDir dir;
    bool offeredSelection = false;
    auto printTo = [&](const QString &pdf) {
        frmSave::setPrintDialogHandler([&, pdf](QPrinter &printer, bool hasSelection, QWidget *) {
            offeredSelection = hasSelection;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPrintRange(hasSelection ? QPrinter::Selection : QPrinter::AllPages);
            return true;
        });
        report.cmdPrint->click();
        return runTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    };

    const QString whole = printTo(dir.filePath(QStringLiteral("whole.pdf")));
    QVERIFY(!offeredSelection);
    QVERIFY2(whole.contains(QStringLiteral("Your Moon Sign Details")), qPrintable(whole.left(300)));
    QVERIFY(whole.contains(QStringLiteral("Name :John")));
    QVERIFY(whole.contains(QStringLiteral("Detailed Analysis")));
    const QString info = runTool(QStringLiteral("pdfinfo"), {dir.filePath(QStringLiteral("whole.pdf"))});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Title: +Moon compatibility - John and Mary$"),
                                              QRegularExpression::MultilineOption)),
             qPrintable(info));

    QTextCursor selection = report.RTB->document()->find(QStringLiteral("Name :John"));
    report.RTB->setTextCursor(selection);
    const QString part = printTo(dir.filePath(QStringLiteral("part.pdf")));
    QVERIFY(offeredSelection);
    QVERIFY2(part.startsWith(QStringLiteral("Name :John")), qPrintable(part));
    QVERIFY(!part.contains(QStringLiteral("Date of Birth")));

    // A cancelled dialog prints nothing.
    frmSave::setPrintDialogHandler([&](QPrinter &printer, bool, QWidget *) {
        printer.setOutputFileName(dir.filePath(QStringLiteral("never.pdf")));
        return false;
    });
    report.cmdPrint->click();
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("never.pdf"))));

    // The dialog itself offers all pages or the selection, and no range.
    for (const bool hasSelection : {false, true}) {
        QPrinter printer;
        const std::unique_ptr<QPrintDialog> dialog = frmSave::makePrintDialog(printer, hasSelection, &report);
        dialog->show();
        QStringList offered;
        for (const QRadioButton *choice : dialog->findChildren<QRadioButton *>()) {
            if (!choice->isHidden() && choice->isEnabled() && choice->parentWidget()->objectName() == QLatin1String("gbPrintRange"))
                offered << choice->objectName();
        }
        dialog->reject();
        QCOMPARE(offered, hasSelection ? (QStringList{"printAll", "printSelection"}) : QStringList{"printAll"});
    }
}

void FrmSaveTest::webAddressesOpenOnClickButFilesNever()
{
    Couple r(QStringLiteral("John"), QStringLiteral("https://example.org/where?q=1"), QStringLiteral("file:///etc/passwd"),
             QStringLiteral("see www.example.net."));
    frmSave report(r.results->reading(), r.results);
    report.resize(800, 700);
    report.show();
    QVERIFY(QTest::qWaitForWindowExposed(&report));
    QTextBrowser *rtb = report.RTB;

    r.session.recorder.urls.clear();
    QTest::mouseClick(rtb->viewport(), Qt::LeftButton, {}, pointOfText(rtb, QStringLiteral("https://example.org")));
    QCOMPARE(r.session.recorder.urls, QStringList{QStringLiteral("https://example.org/where?q=1")});

    r.session.recorder.urls.clear();
    QTest::mouseClick(rtb->viewport(), Qt::LeftButton, {}, pointOfText(rtb, QStringLiteral("www.example.net")));
    QCOMPARE(r.session.recorder.urls, QStringList{QStringLiteral("http://www.example.net")});

    r.session.recorder.urls.clear();
    QTest::mouseClick(rtb->viewport(), Qt::LeftButton, {}, pointOfText(rtb, QStringLiteral("file:///etc/passwd")));
    QVERIFY(r.session.recorder.urls.isEmpty());
    QVERIFY(!rtb->document()->find(QStringLiteral("file:///etc/passwd")).charFormat().isAnchor());

    // Even a link that somehow names a local file is refused.
    Q_EMIT rtb->anchorClicked(QUrl(QStringLiteral("file:///etc/passwd")));
    Q_EMIT rtb->anchorClicked(QUrl(QStringLiteral("javascript:alert(1)")));
    QVERIFY(r.session.recorder.urls.isEmpty());

    // A very long address is handled whole.
    const QString longAddress = QStringLiteral("http://example.com/") + QString(5000, QLatin1Char('a'));
    Q_EMIT rtb->anchorClicked(QUrl(longAddress));
    QCOMPARE(r.session.recorder.urls, QStringList{longAddress});
}

void FrmSaveTest::linkHandlingFollowsEachOpening()
{
    Couple r(QStringLiteral("John"), QStringLiteral("http://example.org"));
    for (int i = 0; i < 3; ++i) {
        frmSave report(r.results->reading(), r.results);
        QVERIFY(report.links().enabled());
        r.session.recorder.urls.clear();
        Q_EMIT report.RTB->anchorClicked(QUrl(QStringLiteral("http://example.org")));
        QCOMPARE(r.session.recorder.urls.size(), 1);
        report.reject();
        QVERIFY(!report.links().enabled());
        Q_EMIT report.RTB->anchorClicked(QUrl(QStringLiteral("http://example.org")));
        QCOMPARE(r.session.recorder.urls.size(), 1);
    }
}

void FrmSaveTest::suggestedFileName_data()
{
    QTest::addColumn<QString>("man");
    QTest::addColumn<QString>("partner");
    QTest::addColumn<QString>("expected");
    const QString x80(80, QLatin1Char('x'));
    QTest::newRow("plain") << "Ravi" << "Meera" << "Moon compatibility - Ravi and Meera.rtf";
    QTest::newRow("slashes") << "AC/DC" << "back\\slash" << "Moon compatibility - AC_DC and back_slash.rtf";
    QTest::newRow("colons and the rest Windows refuses") << "12:30" << "<a>\"|?*"
                                                         << "Moon compatibility - 12_30 and _a_____.rtf";
    QTest::newRow("control characters") << "Ra\tvi\n" << QStringLiteral("Me\u0001era\u007f\u0085")
                                        << "Moon compatibility - Ra vi and Me_era_.rtf";
    QTest::newRow("trailing dots and blanks") << " Ravi. . " << "Meera..." << "Moon compatibility - Ravi and Meera.rtf";
    QTest::newRow("false extension") << QStringLiteral("Ravi\u202Efdp.exe") << "Meera"
                                     << "Moon compatibility - Ravi_fdp.exe and Meera.rtf";
    QTest::newRow("300 characters") << QString(300, QLatin1Char('x')) << "Meera"
                                    << "Moon compatibility - " + x80 + " and Meera.rtf";
    // Cut between characters, never inside one: 4-byte emoji, accents as
    // separate marks (3 bytes a letter).
    QString moons, accents;
    for (int i = 0; i < 150; ++i) {
        moons += QStringLiteral("\U0001F319");
        accents += QStringLiteral("e\u0301");
    }
    QString accents26;
    for (int i = 0; i < 26; ++i)
        accents26 += QStringLiteral("e\u0301");
    QTest::newRow("long emoji") << moons << "" << "Moon compatibility - " + moons.left(40) + ".rtf";
    QTest::newRow("long accents") << "" << accents << "Moon compatibility - " + accents26 + ".rtf";
    QTest::newRow("both empty") << "" << "" << "Moon compatibility.rtf";
    QTest::newRow("nothing left of one") << " ... " << "Meera" << "Moon compatibility - Meera.rtf";
}

void FrmSaveTest::suggestedFileName()
{
    QFETCH(QString, man);
    QFETCH(QString, partner);
    QFETCH(QString, expected);
    const QString name = SuggestedReportFileName(man, partner);
    QCOMPARE(name, expected);
    QVERIFY(name.toUtf8().size() <= 200);
    for (QChar c : name)
        QVERIFY2(!QStringLiteral("<>:\"/\\|?*").contains(c) && c.category() != QChar::Other_Control, qPrintable(name));
}

void FrmSaveTest::titleAndStartFolderFollowTheCouple()
{
    Couple r(QStringLiteral("Ravi"));
    frmSave report(r.results->reading(), r.results);
    const QString title = QStringLiteral("Moon compatibility - Ravi and Mary");
    QCOMPARE(report.title(), title);
    QCOMPARE(report.RTB->document()->metaInformation(QTextDocument::DocumentTitle), title);

    QString suggested;
    frmSave::setSaveFileChooser([&](QWidget *parent) {
        suggested = qobject_cast<frmSave *>(parent)->suggestedSavePath();
        return QString();
    });
    report.cmdSave->click();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString folder = QDir(documents).exists() ? documents : QDir::homePath();
    QCOMPARE(suggested, QDir(folder).filePath(title + QStringLiteral(".rtf")));

    // Once a report is saved, the next save starts in its folder, in this
    // run and, kept with the people, in the next.
    QTemporaryDir elsewhere;
    const QString store = elsewhere.filePath(QStringLiteral("people.json"));
    r.session.context.people = std::make_shared<PeopleStore>(store);
    frmSave first(r.results->reading(), r.results, &r.session.context);
    frmSave::setSaveFileChooser([&](QWidget *) { return elsewhere.filePath(QStringLiteral("a.rtf")); });
    first.cmdSave->click();
    AppContext nextRun;
    nextRun.people = std::make_shared<PeopleStore>(store);
    PersonDetails man, partner;
    nextRun.people->load(man, partner);
    nextRun.reportFolder = nextRun.people->reportFolder();
    frmSave next(r.results->reading(), r.results, &nextRun);
    QCOMPARE(next.suggestedSavePath(), QDir(elsewhere.path()).filePath(title + QStringLiteral(".rtf")));

    QString printed;
    frmSave::setPrintDialogHandler([&](QPrinter &printer, bool, QWidget *) {
        printed = printer.docName();
        return false;
    });
    report.cmdPrint->click();
    QCOMPARE(printed, title);

    // The preview paints the whole report under the same title.
    int pages = 0;
    frmSave::setPrintPreviewShower([&](QPrintPreviewDialog &preview) {
        printed = preview.printer()->docName();
        auto *pane = preview.findChild<QPrintPreviewWidget *>();
        pane->updatePreview();
        pages = pane->pageCount();
    });
    printed.clear();
    report.cmdPreview->click();
    QCOMPARE(printed, title);
    QVERIFY(pages >= 1);
}

void FrmSaveTest::keyboardFromResultsToReport()
{
    Couple r;
    QApplication::setActiveWindow(r.results);
    int saves = 0, prints = 0;
    frmSave::setSaveFileChooser([&](QWidget *) { ++saves; return QString(); });
    frmSave::setPrintDialogHandler([&](QPrinter &, bool, QWidget *) { ++prints; return false; });
    bool sawReport = false;
    QTimer::singleShot(0, [&] {
        auto *report = qobject_cast<frmSave *>(QApplication::activeModalWidget());
        if (!report)
            return;
        sawReport = true;
        QApplication::setActiveWindow(report);
        QTest::keyClick(report, Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(report, Qt::Key_P, Qt::ControlModifier);
        r.session.recorder.urls.clear();
        QTest::keyClick(report, Qt::Key_F1);
        QCOMPARE(r.session.recorder.urls.size(), 1);
        QTest::keyClick(report->RTB, Qt::Key_Escape);
    });
    QTest::keyClick(r.results, Qt::Key_P, Qt::ControlModifier);
    QVERIFY(sawReport);
    QCOMPARE(saves, 1);
    QCOMPARE(prints, 1);
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(FrmSaveTest)
#include "frm_save_test.moc"
