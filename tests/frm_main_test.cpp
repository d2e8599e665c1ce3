#include "gui_support.h"

#include "app/window_icon.h"
#include "entry/people_store.h"
#include "links/frm_about.h"
#include "links/link_label.h"
#include "results/frm_moon_sign.h"
#include "results/sign_images.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

namespace {

const QString kMain = QStringLiteral("http://www.zuvazize.example");
const QString kHelp = QStringLiteral("http://help.zuvazize.example");

using Edit = std::function<void(frmMain &)>;

void click(QWidget *w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

} // namespace

Q_DECLARE_METATYPE(Edit)

class FrmMainTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initialState();
    void listsShareEntriesNotChoices();
    void typedDigitsPickTheNumber_data();
    void typedDigitsPickTheNumber();
    void coordinatesAsPeopleHaveThem_data();
    void coordinatesAsPeopleHaveThem();
    void validation_data();
    void validation();
    void readingShowsBothPersons();
    void timeUnknownReadsNoonAndShowsEveryPair();
    void readingKnownSigns_data();
    void readingKnownSigns();
    void menuAndButtonAgree();
    void backThenSecondReading();
    void closingEndsTheRunButBackDoesNot();
    void linksOpenTheirPages();
    void aboutBoxOpensAndCloses();
    void coordinateSearch_data();
    void coordinateSearch();
    void signPictures();
    void windowIconMatchesItsDrawings();
    void enterComputesFromAnyBox_data();
    void enterComputesFromAnyBox();
    void shortcutsAndAccessKeys();
};

void FrmMainTest::initialState()
{
    Session s;
    frmMain &w = *s.main;
    for (QComboBox *zone : {w.cmbMTimeZone, w.cmbFTimeZone}) {
        QCOMPARE(zone->count(), 71);
        QCOMPARE(zone->currentText(), QStringLiteral("Greenwich Mean Time,GMT,0.0"));
        QCOMPARE(zone->itemText(34), QStringLiteral("Indian Time, IST, +5.3"));
    }
    for (QComboBox *year : {w.cboMYear, w.cboFYear}) {
        QCOMPARE(year->count(), 150);
        QCOMPARE(year->currentText(), QStringLiteral("1901"));
        QCOMPARE(year->itemText(149), QStringLiteral("2050"));
    }
    QCOMPARE(w.cboMMonth->currentText(), QStringLiteral("January"));
    QCOMPARE(w.cboFDate->count(), 31);
    QCOMPARE(w.cboMHH->count(), 24);
    QCOMPARE(w.cboFSS->count(), 60);
    QCOMPARE(w.cboMSS->currentText(), QStringLiteral("0"));
    QVERIFY(!w.cboMMonth->isEditable());
    QCOMPARE(w.optMLong->checkedId(), 0);
    QCOMPARE(w.optFLat->checkedId(), 0);
    QVERIFY(!w.chkMDST->isChecked() && !w.chkFDST->isChecked());
    // Typed digits stop at the box's length: three, then two.
    for (QLineEdit *box : {w.txtMLonD, w.txtFLatD, w.txtMLonM, w.txtFLatM}) {
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("12345"));
        QCOMPARE(box->text(), box == w.txtMLonD ? QStringLiteral("123") : QStringLiteral("12"));
        box->clear();
    }
    QVERIFY(w.txtMName->text().isEmpty() && w.txtFCountry->text().isEmpty());
}

void FrmMainTest::listsShareEntriesNotChoices()
{
    Session s;
    frmMain &w = *s.main;
    w.cboMYear->setCurrentIndex(83);
    w.cmbMTimeZone->setCurrentIndex(34);
    QCOMPARE(w.cboMYear->currentText(), QStringLiteral("1984"));
    QCOMPARE(w.cboFYear->currentText(), QStringLiteral("1901"));
    QCOMPARE(w.cmbFTimeZone->currentText(), QStringLiteral("Greenwich Mean Time,GMT,0.0"));

    // Typing into a closed list picks the entry, as in any drop-down list.
    w.cboFMonth->setFocus();
    QTest::keyClicks(w.cboFMonth, QStringLiteral("Sep"));
    QCOMPARE(w.cboFMonth->currentText(), QStringLiteral("September"));
    QCOMPARE(w.cboMMonth->currentText(), QStringLiteral("January"));

    // The open list shows every entry.
    w.cboFDate->showPopup();
    QCOMPARE(w.cboFDate->view()->model()->rowCount(), 31);
    QCOMPARE(w.cboFDate->view()->model()->index(30, 0).data().toString(), QStringLiteral("31"));
    w.cboFDate->hidePopup();

    // Lists are as wide as their character counts, so the month list, sized
    // for nine, holds its longest name.
    const QFontMetrics metrics = w.cboMMonth->fontMetrics();
    QVERIFY(w.cboMMonth->sizeHint().width() > metrics.horizontalAdvance(QStringLiteral("September")));
    QVERIFY(w.cboMYear->sizeHint().width() < w.cboMMonth->sizeHint().width());
}

void FrmMainTest::typedDigitsPickTheNumber_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("start");   // the position selected before typing
    QTest::addColumn<QString>("keys"); // digits; "|" is a pause past the keyboard interval
    QTest::addColumn<bool>("open");    // typed into the open list, then Enter
    QTest::addColumn<QString>("shown");
    QTest::newRow("day 1, typed 1") << "cboMDate" << 0 << "1" << false << "1";
    QTest::newRow("day 15") << "cboFDate" << 0 << "15" << false << "15";
    QTest::newRow("day 1 again after a pause") << "cboMDate" << 0 << "1|1" << false << "1";
    QTest::newRow("from day 5, typed 1") << "cboMDate" << 4 << "1" << false << "1";
    QTest::newRow("hour 12, typed 1") << "cboMHH" << 12 << "1" << false << "1";
    QTest::newRow("hour 07") << "cboFHH" << 0 << "07" << false << "7";
    QTest::newRow("year 1990") << "cboMYear" << 0 << "1990" << false << "1990";
    QTest::newRow("year 1990, then 2 after a pause") << "cboFYear" << 0 << "1990|2" << false << "2000";
    QTest::newRow("minute 59") << "cboMMM" << 0 << "59" << false << "59";
    QTest::newRow("second 0 from 30") << "cboFSS" << 30 << "0" << false << "0";
    QTest::newRow("open day list, 27") << "cboFDate" << 0 << "27" << true << "27";
    QTest::newRow("open year list, 1944") << "cboMYear" << 100 << "1944" << true << "1944";
}

void FrmMainTest::typedDigitsPickTheNumber()
{
    QFETCH(QString, list);
    QFETCH(int, start);
    QFETCH(QString, keys);
    QFETCH(bool, open);
    QFETCH(QString, shown);
    Session s;
    auto *box = s.main->findChild<QComboBox *>(list);
    QVERIFY(box);
    box->setCurrentIndex(start);
    QApplication::setActiveWindow(s.main);
    box->setFocus();
    if (open)
        box->showPopup();
    QWidget *target = open ? static_cast<QWidget *>(box->view()) : box;
    const int interval = QApplication::keyboardInputInterval();
    bool pause = false;
    for (const QChar key : keys) {
        if (key == QLatin1Char('|')) {
            pause = true;
            continue;
        }
        // No interval at all makes this digit come after a pause.
        QApplication::setKeyboardInputInterval(pause ? 0 : interval);
        QTest::keyClick(target, key.toLatin1());
        QApplication::setKeyboardInputInterval(interval);
        pause = false;
    }
    if (open)
        QTest::keyClick(target, Qt::Key_Return);
    QCOMPARE(box->currentText(), shown);
}

void FrmMainTest::coordinatesAsPeopleHaveThem_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("paste"); // pasted, or typed and the box left
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("result"); // degrees, minutes, hemisphere button ticked
    QTest::newRow("pasted decimal") << "txtMLonD" << true << "73.8567" << QStringList{"73", "51", "0"};
    QTest::newRow("pasted negative") << "txtFLonD" << true << "-0.1276" << QStringList{"0", "8", "1"};
    QTest::newRow("typed with marks") << "txtMLatD" << false << "18\u00B031'S" << QStringList{"18", "31", "1"};
    QTest::newRow("typed out of range") << "txtFLatD" << false << "95.5" << QStringList{"95.5", "", "0"};
    QTest::newRow("pasted garbage") << "txtMLonD" << true << "seventy-three" << QStringList{"", "", "0"};
    QTest::newRow("pasted long number") << "txtMLonD" << true << "12345" << QStringList{"", "", "0"};
}

void FrmMainTest::coordinatesAsPeopleHaveThem()
{
    QFETCH(QString, box);
    QFETCH(bool, paste);
    QFETCH(QString, text);
    QFETCH(QStringList, result);
    Session s;
    QApplication::setActiveWindow(s.main);
    auto *degrees = s.main->findChild<QLineEdit *>(box);
    const bool male = box.at(3) == QLatin1Char('M');
    const bool latitude = box.contains(QLatin1String("Lat"));
    QLineEdit *minutes = s.main->findChild<QLineEdit *>(QString(box).replace(QLatin1Char('D'), QLatin1Char('M')));
    QButtonGroup *hemisphere = latitude ? (male ? s.main->optMLat : s.main->optFLat) : (male ? s.main->optMLong : s.main->optFLong);
    degrees->setFocus();
    if (paste) {
        QApplication::clipboard()->setText(text);
        QTest::keySequence(degrees, QKeySequence::Paste);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    } else {
        QTest::keyClicks(degrees, text);
        s.main->cmdRashi->setFocus(); // the box is left
    }
    QCOMPARE((QStringList{degrees->text(), minutes->text(), QString::number(hemisphere->checkedId())}), result);
}

void FrmMainTest::validation_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("focus");

    const int error = QMessageBox::Critical;
    const int info = QMessageBox::Information;
    QTest::newRow("1 blank name") << Edit([](frmMain &w) { w.txtMName->setText(QStringLiteral("   ")); })
                                  << "Please Enter Your Name" << error << "txtMName";
    QTest::newRow("2 longitude 180") << Edit([](frmMain &w) { w.txtMLonD->setText(QStringLiteral("180")); })
                                     << "Please Enter Your Value Between 0 And 179 in the Degree of Longitude" << error
                                     << "txtMLonD";
    QTest::newRow("3 empty minutes") << Edit([](frmMain &w) { w.txtMLonM->clear(); })
                                     << "Please Enter Your Value Between 0 And 59 in the  Minute of Longitude" << error
                                     << "txtMLonM";
    QTest::newRow("4 latitude 90") << Edit([](frmMain &w) { w.txtMLatD->setText(QStringLiteral("90")); })
                                   << "Please Enter Your Value Between 0 And 89 in the Degree of Latitude" << error
                                   << "txtMLatD";
    QTest::newRow("5 negative") << Edit([](frmMain &w) { w.txtMLatM->setText(QStringLiteral("-1")); })
                                << "Please Enter Your Value Between 0 And 59 in the  Minute of Latitude" << error
                                << "txtMLatM";
    QTest::newRow("6 29 Feb 1999") << Edit([](frmMain &w) {
        w.cboMMonth->setCurrentIndex(1);
        w.cboMDate->setCurrentIndex(28);
        w.cboMYear->setCurrentIndex(YearRange.position(1999));
    }) << "Please Enter Your Correct Date Or Month!" << info << "";
    QTest::newRow("7 31 April") << Edit([](frmMain &w) {
        w.cboMMonth->setCurrentIndex(3);
        w.cboMDate->setCurrentIndex(30);
    }) << "Please Enter Your Correct Date Or Month !" << info << "";
    QTest::newRow("8 empty partner name") << Edit([](frmMain &w) { w.txtFName->clear(); })
                                          << "Please Enter Your Partner's Name" << error << "txtFName";
    QTest::newRow("9 letters") << Edit([](frmMain &w) { w.txtFLonD->setText(QStringLiteral("abc")); })
                               << "Please Enter Your Partner's Value Between 0 And 179 in the Degree of Longitude"
                               << error << "txtFLonD";
    QTest::newRow("10 minutes 60") << Edit([](frmMain &w) { w.txtFLonM->setText(QStringLiteral("60")); })
                                   << "Please Enter Your Partner's Value Between 0 And 59 in the  Minute of Longitude"
                                   << error << "txtFLonM";
    QTest::newRow("11 point only") << Edit([](frmMain &w) { w.txtFLatD->setText(QStringLiteral("1.")); })
                                   << "Please Enter Your Partner's Value Between 0 And 89 in the Degree of Latitude"
                                   << error << "txtFLatD";
    QTest::newRow("12 minutes 99") << Edit([](frmMain &w) { w.txtFLatM->setText(QStringLiteral("99")); })
                                      << "Please Enter Your Partner's Value Between 0 And 59 in the  Minute of Latitude"
                                      << error << "txtFLatM";
    QTest::newRow("13 30 Feb 2000") << Edit([](frmMain &w) {
        w.cboFMonth->setCurrentIndex(1);
        w.cboFDate->setCurrentIndex(29);
    }) << "Please Enter Your Partner's Correct Date Or Month!" << info << "";
    QTest::newRow("14 31 November") << Edit([](frmMain &w) {
        w.cboFMonth->setCurrentIndex(10);
        w.cboFDate->setCurrentIndex(30);
    }) << "Please Enter Your Partner's Correct Date Or Month !" << info << "";
    QTest::newRow("man reported before partner") << Edit([](frmMain &w) {
        w.txtFName->clear();
        w.txtMLatD->setText(QStringLiteral("x"));
    }) << "Please Enter Your Value Between 0 And 89 in the Degree of Latitude" << error << "txtMLatD";
}

void FrmMainTest::validation()
{
    QFETCH(Edit, edit);
    QFETCH(QString, message);
    QFETCH(int, icon);
    QFETCH(QString, focus);

    Session s;
    fillPerson(*s.main, Person{}, true);
    fillPerson(*s.main, Person{}, false);
    s.main->cboFSS->setFocus();
    QApplication::setActiveWindow(s.main);
    edit(*s.main);
    s.main->cmdRashi->click();

    QCOMPARE(s.recorder.boxes.size(), size_t(1));
    QCOMPARE(s.recorder.boxes[0].text, message);
    QCOMPARE(int(s.recorder.boxes[0].icon), icon);
    const QString focused = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    QCOMPARE(focused, focus.isEmpty() ? QStringLiteral("cboFSS") : focus);
    QVERIFY(!s.results());
    QVERIFY(s.main->isVisible());
}

void FrmMainTest::readingShowsBothPersons()
{
    Session s;
    Person man;
    man.name = QStringLiteral("  John Smith  ");
    man.city = QStringLiteral(" London ");
    man.state = QStringLiteral("England");
    man.country = QStringLiteral("UK");
    man.month = 3;
    man.day = 7;
    man.year = 1975;
    man.hour = 9;
    man.minute = 5;
    Person woman = man;
    woman.name = QStringLiteral("Mary");
    woman.second = 59;
    frmMoonSign *r = s.read(man, woman);
    QVERIFY(r);
    QVERIFY(r->isVisible());
    QVERIFY(!s.main->isVisible());
    QCOMPARE(r->txtUserM->text(), QStringLiteral("John Smith"));
    QCOMPARE(r->txtCityM->text(), QStringLiteral(" London "));
    QCOMPARE(r->txtDOBM->text(), QStringLiteral("March 7, 1975"));
    QCOMPARE(r->txtTOBM->text(), QStringLiteral("9:5:0"));
    QCOMPARE(r->txtTOBF->text(), QStringLiteral("9:5:59"));
    // However long, a name shows its beginning.
    QCOMPARE(r->txtUserM->cursorPosition(), 0);
    // Identical births give identical signs; seconds never reach the computation.
    QCOMPARE(r->txtMoonM->text(), r->txtMoonF->text());
    QVERIFY(!r->txtMoonM->text().isEmpty());
    QCOMPARE(r->panels->currentWidget(), r->Frame2);
    QVERIFY(!r->cmdSave->isEnabled());
}

void FrmMainTest::timeUnknownReadsNoonAndShowsEveryPair()
{
    QTemporaryDir dir;
    Session s;
    s.context.people = std::make_shared<PeopleStore>(dir.filePath(QStringLiteral("people.json")));
    s.open();
    frmMain &w = *s.main;
    fillPerson(w, Person{.hour = 7, .minute = 45}, true);
    fillPerson(w, Person{}, false);
    // Reached by Tab from the seconds, named for screen readers.
    w.cboMSS->setFocus();
    QApplication::setActiveWindow(&w);
    QTest::keyClick(&w, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), w.findChild<QCheckBox *>(QStringLiteral("chkMTimeUnknown")));
    QCOMPARE(QApplication::focusWidget()->accessibleName(), QStringLiteral("Man's time of birth unknown"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE((QStringList{w.cboMHH->currentText(), w.cboMMM->currentText(), w.cboMSS->currentText()}),
             (QStringList{"12", "0", "0"}));
    QVERIFY(!w.cboMHH->isEnabled() && !w.cboMMM->isEnabled() && !w.cboMSS->isEnabled());

    w.cmdRashi->click();
    frmMoonSign *r = s.results();
    QVERIFY(r);
    QCOMPARE(r->reading().man.birthInput.Hour, 12);
    QCOMPARE(r->reading().man.birthInput.Minute, 0);
    QVERIFY(r->findChild<QLabel *>(QStringLiteral("lblBornM"))->text().contains(QStringLiteral("time unknown")));
    // Every pair the day allows, the reading's own among them.
    QVERIFY(!r->lblOtherPairs->isHidden());
    QCOMPARE(int(r->lblOtherPairs->text().count(QLatin1Char('\n'))) + 1,
             int(r->reading().man.daySpans.size() * r->reading().woman.daySpans.size()));

    // Remembered with the people; known again, the time is as it was.
    Session t;
    t.context.people = std::make_shared<PeopleStore>(dir.filePath(QStringLiteral("people.json")));
    t.open();
    auto *unknown = t.main->findChild<QCheckBox *>(QStringLiteral("chkMTimeUnknown"));
    QVERIFY(unknown->isChecked() && !t.main->cboMHH->isEnabled());
    QTest::keyClick(w.findChild<QCheckBox *>(QStringLiteral("chkMTimeUnknown")), Qt::Key_Space);
    QCOMPARE(w.cboMHH->currentText(), QStringLiteral("7"));
    QCOMPARE(w.cboMMM->currentText(), QStringLiteral("45"));
    QVERIFY(w.cboMHH->isEnabled());
}

void FrmMainTest::readingKnownSigns_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("hour");
    QTest::addColumn<int>("minute");
    QTest::addColumn<int>("zone");
    QTest::addColumn<bool>("west");
    QTest::addColumn<bool>("dst");
    QTest::addColumn<QString>("sign");
    QTest::newRow("2000-01-01 12:00 GMT") << 2000 << 1 << 1 << 12 << 0 << 29 << false << false << "Scorpio";
    QTest::newRow("1992-04-12 05:30 IST") << 1992 << 4 << 12 << 5 << 30 << 34 << false << false << "Leo";
    QTest::newRow("1969-07-20 16:18 EDT") << 1969 << 7 << 20 << 16 << 18 << 24 << true << false << "Libra";
    // The same instant typed as EST with daylight saving ticked.
    QTest::newRow("1969-07-20 16:18 EST+DST") << 1969 << 7 << 20 << 16 << 18 << 27 << true << true << "Libra";
    // Madrid is west of Greenwich but keeps Central European Time.
    QTest::newRow("2000-01-01 13:00 CET west") << 2000 << 1 << 1 << 13 << 0 << 20 << true << false << "Scorpio";
}

void FrmMainTest::readingKnownSigns()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(int, hour);
    QFETCH(int, minute);
    QFETCH(int, zone);
    QFETCH(bool, west);
    QFETCH(bool, dst);
    QFETCH(QString, sign);
    Session s;
    Person p;
    p.year = year;
    p.month = month;
    p.day = day;
    p.hour = hour;
    p.minute = minute;
    p.zone = zone;
    p.west = west;
    p.dst = dst;
    Person other;
    other.month = 4;
    other.day = 12;
    other.year = 1992;
    other.hour = 0;
    frmMoonSign *r = s.read(p, other);
    QVERIFY(r);
    QCOMPARE(r->txtMoonM->text(), sign);
    QCOMPARE(r->txtMoonF->text(), QStringLiteral("Leo"));
    QCOMPARE(r->Label2->text(), QStringLiteral("Compatibility of  ") + sign + QStringLiteral(" With Leo"));
    QVERIFY(!r->lblDescription->text().isEmpty());
}

void FrmMainTest::menuAndButtonAgree()
{
    Session s;
    Person man;
    man.year = 1980;
    man.month = 1;
    man.day = 5;
    Person woman;
    woman.year = 1983;
    woman.month = 11;
    woman.day = 23;
    frmMoonSign *byButton = s.read(man, woman);
    QVERIFY(byButton);
    const QStringList first = {byButton->txtMoonM->text(), byButton->txtMoonF->text(), byButton->lblPercentage->text(),
                               byButton->lblComment->text(), byButton->lblDescription->text()};
    byButton->cmdBack->click();
    QTRY_VERIFY(!s.results());
    s.main->mnuNext->trigger();
    frmMoonSign *byMenu = s.results();
    QVERIFY(byMenu);
    const QStringList second = {byMenu->txtMoonM->text(), byMenu->txtMoonF->text(), byMenu->lblPercentage->text(),
                                byMenu->lblComment->text(), byMenu->lblDescription->text()};
    QCOMPARE(second, first);
}

void FrmMainTest::backThenSecondReading()
{
    Session s;
    Person man;
    Person woman;
    woman.year = 1992;
    woman.month = 4;
    woman.day = 12;
    woman.hour = 0;
    frmMoonSign *r = s.read(man, woman);
    QVERIFY(r);
    QCOMPARE(r->Label2->text(), QStringLiteral("Compatibility of  Scorpio With Leo"));
    QCOMPARE(r->lblPercentage->text(), QStringLiteral("40"));
    QCOMPARE(r->lblComment->text(), QStringLiteral("A Difficult Match"));

    r->cmdBirthDetails_Click();
    QCOMPARE(r->panels->currentWidget(), r->Frame1);
    r->cmdMoonCompatibilityAnalysis_Click();
    QCOMPARE(r->panels->currentWidget(), r->Frame2);

    QPointer<frmMoonSign> old = r;
    r->mnuBack->trigger();
    QTRY_VERIFY(!old);
    QVERIFY(s.main->isVisible());
    QCOMPARE(s.main->txtFName->text(), QStringLiteral("Person"));
    QCOMPARE(s.main->cboFYear->currentText(), QStringLiteral("1992"));
    QCOMPARE(s.recorder.quits, 0);

    // Swap the two births: the new window shows only the new pair.
    fillPerson(*s.main, woman, true);
    fillPerson(*s.main, man, false);
    s.main->cmdRashi->click();
    frmMoonSign *again = s.results();
    QVERIFY(again);
    QCOMPARE(again->Label2->text(), QStringLiteral("Compatibility of  Leo With Scorpio"));
    QCOMPARE(again->txtMoonM->text(), QStringLiteral("Leo"));
    QCOMPARE(again->txtMoonF->text(), QStringLiteral("Scorpio"));
}

void FrmMainTest::closingEndsTheRunButBackDoesNot()
{
    Session s;
    frmMoonSign *r = s.read(Person{}, Person{});
    QVERIFY(r);
    r->close();
    QCOMPARE(s.recorder.quits, 1);

    Session t;
    frmMoonSign *r2 = t.read(Person{}, Person{});
    r2->mnuExit->trigger();
    QCOMPARE(t.recorder.quits, 1);

    Session u;
    u.main->mnuExit->trigger();
    QCOMPARE(u.recorder.quits, 1);
}

void FrmMainTest::linksOpenTheirPages()
{
    Session s;
    frmMain &w = *s.main;
    const QString help = kMain + QStringLiteral("/cv-free-moonsign-compatibility/cv-free-moonsign-compatibility-help.html");
    const QString download =
        kMain + QStringLiteral("/cv-free-moonsign-compatibility/download-cv-free-moonsign-compatibility.html");
    const QString donate = kHelp + QStringLiteral("/donate.html");
    const QString cobrand = kHelp + QStringLiteral("/co-brand.html");
    const QString fullbrand = kHelp + QStringLiteral("/fully-branded.html");

    auto opens = [&](const std::function<void()> &use, const QString &expected) {
        s.recorder.urls.clear();
        use();
        return s.recorder.urls == QStringList{expected};
    };
    QVERIFY(opens([&] { w.mnuOnline->trigger(); }, help));
    QVERIFY(opens([&] { w.mnuVisit->trigger(); }, kMain));
    QVERIFY(opens([&] { w.mnuUpdate->trigger(); }, download));
    QVERIFY(opens([&] { w.mnuDonate->trigger(); }, donate));
    QVERIFY(opens([&] { w.mkmoney->trigger(); }, fullbrand));
    QVERIFY(opens([&] { click(w.Label61); }, kMain));
    QVERIFY(opens([&] { click(w.lblCobrand); }, cobrand));
    w.BringAdvertToFront(false);
    QVERIFY(opens([&] { click(w.lblFullBrand); }, fullbrand));
    QVERIFY(opens([&] { click(w.Label19); }, cobrand));

    frmAbout about(&w);
    about.show();
    QVERIFY(opens([&] { click(about.lblCobrand); }, fullbrand));
    QVERIFY(opens([&] { click(about.lblHomePage); }, kMain));
    QCOMPARE(about.lblHomePage->text(), QStringLiteral("Click here to visit ") + kMain);

    frmMoonSign *r = s.read(Person{}, Person{});
    QVERIFY(r);
    QVERIFY(opens([&] { r->mnuOnline->trigger(); }, help));
    QVERIFY(opens([&] { r->mnuVisit->trigger(); }, kMain));
    QVERIFY(opens([&] { r->mnuUpdate->trigger(); }, download));
    QVERIFY(opens([&] { r->mnuDonate->trigger(); }, donate));
    QVERIFY(opens([&] { r->mkmoney->trigger(); }, fullbrand));
    QVERIFY(opens([&] { click(r->Label5); }, kMain));
    QVERIFY(opens([&] { click(r->Label61); }, kMain));
}

void FrmMainTest::aboutBoxOpensAndCloses()
{
    Session s;
    for (int i = 0; i < 2; ++i) {
        QString seen;
        QTimer::singleShot(0, [&] {
            if (auto *about = qobject_cast<frmAbout *>(QApplication::activeModalWidget())) {
                seen = about->Label1->text();
                about->cmdOK->click();
            }
        });
        s.main->mnuAbout->trigger();
        QVERIFY(seen.startsWith(QStringLiteral("RU Zuva Zize Vadiveziduzor Software gives you")));
        QVERIFY(seen.contains(QStringLiteral("partner\u2019s moon sign")));
        QVERIFY(!QApplication::activeModalWidget());
    }
}

void FrmMainTest::coordinateSearch_data()
{
    QTest::addColumn<bool>("male");
    QTest::addColumn<QString>("city");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("country");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("searchText");
    QTest::newRow("all empty") << true << "" << "" << "" << "Please Enter City" << "txtMCity" << "";
    QTest::newRow("no state") << false << "Pune" << "" << "India" << "Please Enter State" << "txtFState" << "";
    QTest::newRow("no country") << true << "Pune" << "Maharashtra" << "" << "Please Enter Country" << "txtMCountry" << "";
    QTest::newRow("man") << true << "Pune" << "Maharashtra" << "India" << "" << ""
                         << "Pune Maharashtra India Latitude Longitude";
    QTest::newRow("partner, blanks kept") << false << " Oslo" << " " << "Norway" << "" << ""
                                          << " Oslo   Norway Latitude Longitude";
}

void FrmMainTest::coordinateSearch()
{
    QFETCH(bool, male);
    QFETCH(QString, city);
    QFETCH(QString, state);
    QFETCH(QString, country);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(QString, searchText);
    Session s;
    frmMain &w = *s.main;
    QApplication::setActiveWindow(&w);
    // The other person's place must play no part.
    Person other;
    other.city = QStringLiteral("Elsewhere");
    other.state = QStringLiteral("Nowhere");
    other.country = QStringLiteral("Neverland");
    fillPerson(w, other, !male);
    (male ? w.txtMCity : w.txtFCity)->setText(city);
    (male ? w.txtMState : w.txtFState)->setText(state);
    (male ? w.txtMCountry : w.txtFCountry)->setText(country);
    (male ? w.cmdMBrowser : w.cmdFBrowser)->click();
    if (!message.isEmpty()) {
        QCOMPARE(s.recorder.boxes.size(), size_t(1));
        QCOMPARE(s.recorder.boxes[0].text, message);
        QCOMPARE(int(s.recorder.boxes[0].icon), int(QMessageBox::Critical));
        QCOMPARE(QApplication::focusWidget()->objectName(), focus);
        QVERIFY(s.recorder.urls.isEmpty());
        return;
    }
    QVERIFY(s.recorder.boxes.empty());
    QCOMPARE(s.recorder.urls.size(), 1);
    const QUrl url(s.recorder.urls[0]);
    QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded), searchText);
}

void FrmMainTest::signPictures()
{
    // Pictures are kept alphabetically by lower-case name.
    QCOMPARE(SignImageIndex("Aries"), 2);
    QCOMPARE(SignImageIndex("Leo"), 6);
    QCOMPARE(SignImageIndex("Aquarius"), 1);
    QCOMPARE(SignImageIndex("Virgo"), 12);
    QCOMPARE(SignImageIndex("aries"), 0);
    QCOMPARE(SignImageIndex(""), 0);

    Session s;
    frmMoonSign *r = s.read(Person{}, Person{});
    QVERIFY(r);
    const QImage shown = r->picMaleMoonSign->pixmap().toImage();
    QCOMPARE(shown.size(), QSize(SignPictureWidth, SignPictureHeight) * r->devicePixelRatioF());
    QCOMPARE(shown, SignPicture(SignImageIndex(r->txtMoonM->text().toStdString()), r->devicePixelRatioF()).toImage());
    QVERIFY(shown != DesignTimePicture(r->devicePixelRatioF()).toImage());
}

void FrmMainTest::windowIconMatchesItsDrawings()
{
    const QIcon icon = WindowIcon();
    QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}}));
    for (int size : {16, 24, 32, 48, 64}) {
        const QImage drawn = QImage(QStringLiteral(ZUVA_SOURCE_DIR "/content/icon/app-%1.png").arg(size))
                                 .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QVERIFY(!drawn.isNull());
        const QImage shown = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(shown, drawn);
    }
}

void FrmMainTest::enterComputesFromAnyBox_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<int>("searches");
    QTest::newRow("name") << "txtMName" << int(Qt::Key_Return) << true << 0;
    QTest::newRow("keypad Enter in a minute box") << "txtFLatM" << int(Qt::Key_Enter) << true << 0;
    QTest::newRow("closed year list") << "cboFYear" << int(Qt::Key_Return) << true << 0;
    QTest::newRow("zone list") << "cmbMTimeZone" << int(Qt::Key_Return) << true << 0;
    QTest::newRow("option button") << "optFLat_1" << int(Qt::Key_Return) << true << 0;
    QTest::newRow("check box") << "chkFDST" << int(Qt::Key_Return) << true << 0;
    QTest::newRow("command button") << "cmdRashi" << int(Qt::Key_Return) << true << 0;
    // A focused button does its own work instead.
    QTest::newRow("search button") << "cmdFBrowser" << int(Qt::Key_Return) << false << 1;
}

void FrmMainTest::enterComputesFromAnyBox()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, reads);
    QFETCH(int, searches);
    Session s;
    Person p;
    p.city = QStringLiteral("Pune");
    p.state = QStringLiteral("Maharashtra");
    p.country = QStringLiteral("India");
    fillPerson(*s.main, p, true);
    fillPerson(*s.main, p, false);
    QApplication::setActiveWindow(s.main);
    QWidget *target = s.main->findChild<QWidget *>(focus);
    QVERIFY(target);
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(bool(s.results()), reads);
    QCOMPARE(s.recorder.urls.size(), searches);
}

void FrmMainTest::shortcutsAndAccessKeys()
{
    Session s;
    frmMain &w = *s.main;
    QApplication::setActiveWindow(&w);
    QTest::keyClick(&w, Qt::Key_F1);
    QCOMPARE(s.recorder.urls, QStringList{kMain + QStringLiteral("/cv-free-moonsign-compatibility/cv-free-moonsign-compatibility-help.html")});

    // Each person's group is reached by its access key, at the name.
    w.cmdRashi->setFocus();
    QTest::keyClick(&w, Qt::Key_P, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), w.txtFName);
    QTest::keyClick(&w, Qt::Key_Y, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), w.txtMName);
    // Every caption names its box, for screen readers as for the eye.
    for (QLabel *caption : w.findChildren<QLabel *>()) {
        const QString text = caption->text();
        if (QStringList{QStringLiteral("Name"), QStringLiteral("Date of Birth"), QStringLiteral("Time of Birth"),
                        QStringLiteral("City"), QStringLiteral("State"), QStringLiteral("Country"),
                        QStringLiteral("Deg"), QStringLiteral("Min")}
                .contains(text))
            QVERIFY2(caption->buddy(), qPrintable(text));
    }

    frmMoonSign *r = s.read(Person{}, Person{});
    QVERIFY(r);
    QApplication::setActiveWindow(r);
    QTest::keyClick(r, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(s.recorder.quits, 1);
    Session t;
    QApplication::setActiveWindow(t.main);
    QTest::keyClick(t.main, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(t.recorder.quits, 1);
}

QTEST_MAIN(FrmMainTest)
#include "frm_main_test.moc"
