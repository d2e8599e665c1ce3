#include "gui_support.h"

#include "astro/sign_change.h"
#include "astro/western_ephemeris.h"
#include "entry/place_finder.h"
#include "results/frm_save.h"
#include "entry/sign_name_table.h"
#include "tests/support/system_zones.h"

#include <QAbstractItemView>
#include <QListView>
#include <QMouseEvent>
#include <QLabel>
#include <QRandomGenerator>
#include <QTest>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimeZone>

namespace {

// Opens the offers for the typed text and picks the first, as a user does
// with Return once the list shows.
bool pickFirst(frmMain &w, bool male, const QString &typed)
{
    PlaceFinder *finder = w.placeFinder(male);
    finder->offerPlaces(typed);
    QAbstractItemView *list = finder->offers();
    if (!list || !list->isVisible() || list->model()->rowCount() == 0)
        return false;
    QTest::keyClick(male ? w.txtMCity : w.txtFCity, Qt::Key_Return);
    return !list->isVisible();
}

void setBirth(frmMain &w, int year, int month, int day, int hour, int minute)
{
    w.cboMYear->setCurrentIndex(YearRange.position(year));
    w.cboMMonth->setCurrentIndex(month - 1);
    w.cboMDate->setCurrentIndex(day - 1);
    w.cboMHH->setCurrentIndex(hour);
    w.cboMMM->setCurrentIndex(minute);
}

} // namespace

class PlaceFinderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void pickingAPlaceFillsItsDetails_data();
    void pickingAPlaceFillsItsDetails();
    void typingAloneChangesNothingElse();
    void zoneFollowsTheBirthMomentUntilSetByHand();
    void exactOffsetsThroughTheForm_data();
    void exactOffsetsThroughTheForm();
    void noStaleZoneOrPlace();
    void clickOutsideTheOpenListStillCounts();
    void everyPlaceAndMomentGetsTheTrueOffset();
    void readingsThroughTheAtlasAgreeWithTheZoneDatabase_data();
    void readingsThroughTheAtlasAgreeWithTheZoneDatabase();
    void theWorkingShownIsTheEngines_data();
    void theWorkingShownIsTheEngines();
    void enterPicksTheCurrentOfferAndLeavingUnpickedSaysSo();
    void clearAsksAndForgetsThePlace();

private:
    // A fresh birth form with the atlas, shown.
    frmMain &openForm(Session &s)
    {
        s.context.atlas = m_atlas;
        s.open();
        s.main->show();
        return *s.main;
    }

    std::shared_ptr<const Atlas> m_atlas;
};

void PlaceFinderTest::initTestCase()
{
    m_atlas = MakeSystemAtlas();
    if (!m_atlas)
        QSKIP("built without the birth-place atlas");
}

void PlaceFinderTest::pickingAPlaceFillsItsDetails_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QStringList>("place");     // city, state, country
    QTest::addColumn<QStringList>("coordinates"); // lonD lonM latD latM
    QTest::addColumn<bool>("west");
    QTest::addColumn<bool>("south");
    QTest::addColumn<QString>("zone");
    QTest::addColumn<bool>("dst");
    QTest::newRow("Pune") << "Pune" << QDate(1985, 3, 1) << QStringList{"Pune", "Maharashtra", "India"}
                          << QStringList{"73", "51", "18", "31"} << false << false << "Indian Time, IST, +5.3" << false;
    QTest::newRow("London summer") << "London" << QDate(1990, 7, 1) << QStringList{"London", "England", "United Kingdom"}
                                   << QStringList{"0", "8", "51", "31"} << true << false
                                   << "Greenwich Mean Time,GMT,0.0" << true;
    QTest::newRow("New York winter") << "New York" << QDate(1990, 1, 1)
                                     << QStringList{"New York", "New York", "United States of America"}
                                     << QStringList{"74", "0", "40", "43"} << true << false
                                     << "Eastern Standard Time,EST,-5.0" << false;
    QTest::newRow("Adelaide January") << "Adelaide" << QDate(1991, 1, 15)
                                      << QStringList{"Adelaide", "South Australia", "Australia"}
                                      << QStringList{"138", "36", "34", "56"} << false << true
                                      << "Australian Central Standard Time,ACST,+9.5" << true;
}

void PlaceFinderTest::pickingAPlaceFillsItsDetails()
{
    QFETCH(QString, typed);
    QFETCH(QDate, date);
    QFETCH(QStringList, place);
    QFETCH(QStringList, coordinates);
    QFETCH(bool, west);
    QFETCH(bool, south);
    QFETCH(QString, zone);
    QFETCH(bool, dst);
    Session s;
    frmMain &w = openForm(s);
    setBirth(w, date.year(), date.month(), date.day(), 12, 0);
    w.txtMCity->setFocus();
    QVERIFY(pickFirst(w, true, typed));
    QCOMPARE((QStringList{w.txtMCity->text(), w.txtMState->text(), w.txtMCountry->text()}), place);
    QCOMPARE((QStringList{w.txtMLonD->text(), w.txtMLonM->text(), w.txtMLatD->text(), w.txtMLatM->text()}), coordinates);
    QCOMPARE(w.optMLong->checkedId(), west ? 1 : 0);
    QCOMPARE(w.optMLat->checkedId(), south ? 1 : 0);
    QCOMPARE(w.cmbMTimeZone->currentText(), zone);
    QCOMPARE(w.chkMDST->isChecked(), dst);
    // The partner's fields play no part.
    QVERIFY(w.txtFCity->text().isEmpty());
    QCOMPARE(w.cmbFTimeZone->currentIndex(), 29);
}

void PlaceFinderTest::typingAloneChangesNothingElse()
{
    Session s;
    frmMain &w = openForm(s);
    w.txtMLonD->setText(QStringLiteral("12"));
    w.txtMLatM->setText(QStringLiteral("34"));
    w.cmbMTimeZone->setCurrentIndex(20);
    w.txtMCity->setFocus();
    QTest::keyClicks(w.txtMCity, QStringLiteral("Pun"));
    w.placeFinder(true)->offerPlaces(w.txtMCity->text());
    QAbstractItemView *list = w.placeFinder(true)->offers();
    QVERIFY(list->isVisible());
    QVERIFY(list->model()->index(0, 0).data().toString().startsWith(QStringLiteral("Pune, Maharashtra, India")));
    // Moving through the offers leaves the typed text and every other box alone.
    QTest::keyClick(w.txtMCity, Qt::Key_Down);
    QCOMPARE(list->currentIndex().row(), 1);
    QTest::keyClick(w.txtMCity, Qt::Key_Escape);
    QVERIFY(!list->isVisible());
    QCOMPARE(w.txtMCity->text(), QStringLiteral("Pun"));
    QCOMPARE(w.txtMLonD->text(), QStringLiteral("12"));
    QCOMPARE(w.txtMLatM->text(), QStringLiteral("34"));
    QVERIFY(w.txtMState->text().isEmpty());
    QCOMPARE(w.cmbMTimeZone->currentIndex(), 20);
    // One character offers nothing.
    w.placeFinder(true)->offerPlaces(QStringLiteral("P"));
    QVERIFY(!list->isVisible());
}

void PlaceFinderTest::zoneFollowsTheBirthMomentUntilSetByHand()
{
    Session s;
    frmMain &w = openForm(s);
    setBirth(w, 1990, 7, 1, 12, 0);
    w.txtMCity->setFocus();
    QVERIFY(pickFirst(w, true, QStringLiteral("London")));
    QVERIFY(w.chkMDST->isChecked());
    w.cboMMonth->setCurrentIndex(0); // January: no summer time
    QVERIFY(!w.chkMDST->isChecked());
    w.cboMMonth->setCurrentIndex(6);
    QVERIFY(w.chkMDST->isChecked());

    // Once the user sets the zone, it stays as set.
    w.chkMDST->click();
    QVERIFY(!w.chkMDST->isChecked());
    QVERIFY(!w.placeFinder(true)->zoneFromAtlas());
    w.cboMMonth->setCurrentIndex(7);
    QVERIFY(!w.chkMDST->isChecked());
}

void PlaceFinderTest::exactOffsetsThroughTheForm_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDateTime>("birth");
    QTest::addColumn<int>("offset");    // the clock's lead on UT; 0 for a time that never happened
    QTest::addColumn<QString>("zone");  // the entry the form shows
    QTest::addColumn<QString>("note");
    const auto at = [](int y, int m, int d, int h, int min) { return QDateTime(QDate(y, m, d), QTime(h, min)); };
    QTest::newRow("Kathmandu 1990") << "Kathmandu" << at(1990, 5, 5, 10, 0) << 20700
                                    << "Nepal Time, UTC+05:45 (Kathmandu)" << "";
    QTest::newRow("Kabul 1990") << "Kabul" << at(1990, 5, 5, 10, 0) << 16200 << "Afghanistan Time, UTC+04:30 (Kabul)" << "";
    QTest::newRow("Tehran 1905") << "Tehran" << at(1905, 3, 1, 6, 40) << 12344
                                 << "Local mean time, UTC+03:25:44 (Tehran)" << "";
    QTest::newRow("Kolkata 1905") << "Kolkata" << at(1905, 11, 9, 23, 55) << 19270
                                  << "MMT, UTC+05:21:10 (Kolkata)" << "";
    QTest::newRow("Caracas 2010") << "Caracas" << at(2010, 2, 14, 0, 10) << -16200 << "Venezuela Time, UTC-04:30 (Caracas)" << "";
    QTest::newRow("London 1944") << "London" << at(1944, 7, 1, 12, 0) << 7200
                                 << "British Double Summer Time,BDST,+2.0" << "";
    QTest::newRow("New York repeated hour") << "New York" << at(1970, 10, 25, 1, 30) << -14400
                                            << "Eastern Standard Time,EST,-5.0" << "01:30 twice";
    QTest::newRow("Berlin skipped hour") << "Berlin" << at(2006, 3, 26, 2, 30) << 0
                                         << "Greenwich Mean Time,GMT,0.0" << "skipped 02:30";
}

// Both people are born at the same place and moment, so the engine's last
// position is theirs; it must be the one the zone database's offset gives.
void PlaceFinderTest::exactOffsetsThroughTheForm()
{
    QFETCH(QString, typed);
    QFETCH(QDateTime, birth);
    QFETCH(int, offset);
    QFETCH(QString, zone);
    QFETCH(QString, note);
    Session s;
    frmMain &w = openForm(s);
    Person person;
    person.year = birth.date().year();
    person.month = birth.date().month();
    person.day = birth.date().day();
    person.hour = birth.time().hour();
    person.minute = birth.time().minute();
    fillPerson(w, person, true);
    fillPerson(w, person, false);
    for (bool male : {true, false}) {
        (male ? w.txtMCity : w.txtFCity)->setFocus();
        QVERIFY(pickFirst(w, male, typed));
    }
    QCOMPARE(w.cmbMTimeZone->currentText(), zone);
    // The exact offset already holds any summer shift.
    if (zone.contains(QStringLiteral("UTC"))) {
        QCOMPARE(w.cmbMTimeZone->currentIndex(), 71);
        QVERIFY(!w.chkMDST->isChecked());
    }
    auto *shown = w.findChild<QLabel *>(QStringLiteral("lblMZoneNote"));
    QCOMPARE(shown->isVisibleTo(&w), !note.isEmpty());
    QVERIFY2(shown->text().contains(note), qPrintable(shown->text()));
    if (offset == 0)
        return;

    w.cmdRashi->click();
    QVERIFY(s.results());
    const double ut = birth.time().msecsSinceStartOfDay() / 3.6e6 - offset / 3600.0;
    const QDate d = birth.date();
    const double want = MoonLongitude(JulianCenturies(JulianDayNumber(d.month(), d.day(), d.year()), ut));
    QCOMPARE(QString::fromStdString(s.context.ephemeris.MoonPositionText()), QString::fromStdString(FormatPosition(want)));
}

void PlaceFinderTest::noStaleZoneOrPlace()
{
    Session s;
    frmMain &w = openForm(s);
    auto *note = w.findChild<QLabel *>(QStringLiteral("lblMZoneNote"));
    w.txtMCity->setFocus();

    // New York in July, then Kathmandu: no summer tick, the exact offset.
    setBirth(w, 1990, 7, 1, 12, 0);
    QVERIFY(pickFirst(w, true, QStringLiteral("New York")));
    QVERIFY(w.chkMDST->isChecked());
    QVERIFY(pickFirst(w, true, QStringLiteral("Kathmandu")));
    QCOMPARE(w.cmbMTimeZone->currentIndex(), 71);
    QVERIFY(!w.chkMDST->isChecked());
    // Another place takes the extra entry away; only one ever exists.
    QVERIFY(pickFirst(w, true, QStringLiteral("London")));
    QCOMPARE(w.cmbMTimeZone->count(), 71);
    QCOMPARE(w.cmbFTimeZone->count(), 71);

    // London, then the year 1944: the clocks were two hours ahead.
    w.cboMYear->setCurrentIndex(YearRange.position(1944));
    QCOMPARE(w.cmbMTimeZone->currentText(), QStringLiteral("British Double Summer Time,BDST,+2.0"));
    QVERIFY(!w.chkMDST->isChecked());

    // The City edited by hand: nothing is overwritten, a note says whose the
    // fields still are, and the zone no longer follows the date.
    w.cboMYear->setCurrentIndex(YearRange.position(1990));
    QVERIFY(pickFirst(w, true, QStringLiteral("Kathmandu")));
    QTest::keyClicks(w.txtMCity, QStringLiteral("x"));
    QVERIFY(!w.placeFinder(true)->zoneFromAtlas());
    QVERIFY(note->isVisibleTo(&w));
    QVERIFY2(note->text().contains(QStringLiteral("still those of Kathmandu")), qPrintable(note->text()));
    QCOMPARE(w.txtMCity->text(), QStringLiteral("Kathmandux"));
    w.cboMYear->setCurrentIndex(YearRange.position(1905));
    QCOMPARE(w.cmbMTimeZone->currentIndex(), 71);
    QCOMPARE(w.txtMLatD->text(), QStringLiteral("27"));
    // A row chosen by hand ends the note and the extra entry.
    w.cmbMTimeZone->setCurrentIndex(34);
    Q_EMIT w.cmbMTimeZone->activated(34);
    QVERIFY(!note->isVisibleTo(&w));
    QCOMPARE(w.cmbMTimeZone->count(), 71);
    QCOMPARE(w.cmbMTimeZone->currentIndex(), 34);
}

void PlaceFinderTest::clickOutsideTheOpenListStillCounts()
{
    Session s;
    frmMain &w = openForm(s);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    PlaceFinder *finder = w.placeFinder(true);
    w.txtMCity->setFocus();
    QCOMPARE(w.txtMCity->placeholderText(), QStringLiteral("Type a city, then pick it from the list"));

    // The mouse moves the current offer, and a click picks it.
    QTest::keyClicks(w.txtMCity, QStringLiteral("London"));
    finder->offerPlaces(w.txtMCity->text());
    QAbstractItemView *list = finder->offers();
    QVERIFY(list->isVisible());
    const QPoint second = list->visualRect(list->model()->index(1, 0)).center();
    QMouseEvent move(QEvent::MouseMove, second, list->viewport()->mapToGlobal(second), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
    QCOMPARE(list->currentIndex().row(), 1);
    const QString offered = list->model()->index(1, 0).data().toString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
    QVERIFY(!list->isVisible());
    QStringList filled{w.txtMCity->text(), w.txtMState->text(), w.txtMCountry->text()};
    filled.removeAll(QString());
    QCOMPARE(filled.join(QStringLiteral(", ")), offered);
    QCOMPARE(QApplication::focusWidget(), w.txtMCity);

    // A click on the command while the list is open still runs it.
    QTest::keyClicks(w.txtMCity, QStringLiteral("x"));
    finder->offerPlaces(QStringLiteral("Pune"));
    QVERIFY(list->isVisible());
    QTest::mouseClick(w.cmdRashi, Qt::LeftButton);
    QVERIFY(!list->isVisible());
    QTRY_COMPARE(s.recorder.boxes.size(), std::size_t(1));
    QCOMPARE(s.recorder.boxes.front().text, QStringLiteral("Please Enter Your Name"));
}

// Random places of the atlas at random moments: the Universal Time the form
// hands the engine shows, on the place's clock, exactly the birth time, and
// is the earlier of two when the clocks went back.
void PlaceFinderTest::everyPlaceAndMomentGetsTheTrueOffset()
{
    if (!SystemKnowsZoneHistory())
        QSKIP("no zone history on this system to check against");
    Session s;
    frmMain &w = openForm(s);
    const std::vector<AtlasPlace> &places = m_atlas->allPlaces();
    QVERIFY(places.size() > 1000);
    QRandomGenerator random(20261209);
    const int samples = qEnvironmentVariableIsSet("ZUVA_SANITIZED") ? 1000 : 5000;
    int tried = 0, exact = 0, skipped = 0;
    for (int i = 0; i < samples; ++i) {
        const AtlasPlace &place = places[random.bounded(quint32(places.size()))];
        const QDate date(int(random.bounded(1901, 2051)), int(random.bounded(1, 13)), int(random.bounded(1, 29)));
        const QTime time(int(random.bounded(24)), int(random.bounded(60)));
        setBirth(w, date.year(), date.month(), date.day(), time.hour(), time.minute());
        const int before = w.cmbMTimeZone->currentIndex();
        w.placeFinder(true)->usePlace(place);
        const QTimeZone zone(QByteArray::fromStdString(place.timeZone));
        if (!QDateTime(date, time, zone).isValid() || QDateTime(date, time, zone).time() != time) {
            ++skipped; // the clocks skipped this time: the zone is left to the user
            QCOMPARE(w.cmbMTimeZone->currentIndex(), std::min(before, w.cmbMTimeZone->count() - 1));
            continue;
        }
        ++tried;
        w.Zone_Calculation();
        const ZoneCorrection &c = s.context.zoneCorrection;
        const double ut = UniversalTimeHours(time.msecsSinceStartOfDay() / 3.6e6,
                                             c.Hours + c.Minutes / 60.0 + c.Seconds / 3600.0, w.chkMDST->isChecked());
        const QDateTime instant = QDateTime(date, QTime(0, 0), QTimeZone::utc()).addSecs(qRound64(ut * 3600.0));
        const QDateTime local = instant.toTimeZone(zone);
        bool earliest = true;
        for (int back : {1800, 3600, 7200})
            earliest = earliest && instant.addSecs(-back).toTimeZone(zone).time() != time;
        if (local.date() == date && local.time() == time && earliest)
            ++exact;
        else
            qWarning("%s %s: UT %s", place.timeZone.c_str(), qPrintable(QDateTime(date, time).toString(Qt::ISODate)),
                     qPrintable(instant.toString(Qt::ISODate)));
    }
    qInfo("%d of %d moments exact (%.2f %%); %d clock times never happened", exact, tried, 100.0 * exact / tried,
          skipped);
    QCOMPARE(exact, tried);
}

void PlaceFinderTest::readingsThroughTheAtlasAgreeWithTheZoneDatabase_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDateTime>("birth");
    const QDate dates[] = {QDate(1987, 8, 14), QDate(1995, 12, 2), QDate(2003, 3, 30)};
    for (const QString &city : {QStringLiteral("London"), QStringLiteral("Madrid"), QStringLiteral("Sydney")}) {
        for (const QDate &d : dates) {
            for (int hour : {0, 9, 23})
                QTest::addRow("%s %s %02d:20", qPrintable(city), qPrintable(d.toString(Qt::ISODate)), hour)
                    << city << QDateTime(d, QTime(hour, 20));
        }
    }
}

void PlaceFinderTest::readingsThroughTheAtlasAgreeWithTheZoneDatabase()
{
    if (!SystemKnowsZoneHistory())
        QSKIP("no zone history on this system to check against");
    QFETCH(QString, typed);
    QFETCH(QDateTime, birth);
    Session s;
    frmMain &w = openForm(s);
    fillPerson(w, Person{}, true);
    fillPerson(w, Person{}, false);
    setBirth(w, birth.date().year(), birth.date().month(), birth.date().day(), birth.time().hour(), birth.time().minute());
    w.txtMCity->setFocus();
    QVERIFY(pickFirst(w, true, typed));
    w.cmdRashi->click();
    frmMoonSign *r = s.results();
    QVERIFY(r);

    // The same instant through the zone database.
    const std::vector<AtlasPlace> places = m_atlas->findByPrefix(typed.toStdString(), 1);
    const QDateTime utc = QDateTime(birth.date(), birth.time(), QTimeZone(QByteArray::fromStdString(places[0].timeZone))).toUTC();
    const double ut = utc.time().hour() + utc.time().minute() / 60.0;
    const double lon = MoonLongitude(JulianCenturies(JulianDayNumber(utc.date().month(), utc.date().day(), utc.date().year()), ut));
    QCOMPARE(r->txtMoonM->text(), QString::fromUtf8(SignNameTable[std::size_t(lon / 30.0)].Name.data()));
}

namespace {

// A day of 2001 whose civil day at Greenwich gives two Moon signs, or one.
QDate dayAtGreenwich(bool changing)
{
    for (QDate d(2001, 1, 1); d.year() == 2001; d = d.addDays(1)) {
        if ((SignSpansOnDay(d.year(), d.month(), d.day(), 0.0, false).size() > 1) == changing)
            return d;
    }
    return {};
}

QString moment(const CivilMoment &m)
{
    QString text = QStringLiteral("%1 %2 %3, %4:%5")
                       .arg(m.day)
                       .arg(QLocale(QLocale::English).monthName(m.month))
                       .arg(m.year)
                       .arg(m.hour, 2, 10, QLatin1Char('0'))
                       .arg(m.minute, 2, 10, QLatin1Char('0'));
    return m.second ? text + QStringLiteral(":%1").arg(m.second, 2, 10, QLatin1Char('0')) : text;
}

QString oneLine(QString text)
{
    return text.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" ")).trimmed();
}

} // namespace

void PlaceFinderTest::theWorkingShownIsTheEngines_data()
{
    QTest::addColumn<QString>("place"); // picked from the offers; empty: Greenwich set by hand
    QTest::addColumn<QDateTime>("birth");
    QTest::addColumn<int>("zone");       // set by hand, when no place is picked
    QTest::addColumn<bool>("dst");
    QTest::addColumn<QDate>("partnerDay"); // the partner's day at Greenwich; none: born as the man
    QTest::addColumn<QString>("clock");
    QTest::addColumn<QString>("universalTime");
    const auto at = [](QDate d, int h, int m) { return QDateTime(d, QTime(h, m)); };
    const QDate steady = dayAtGreenwich(false);
    const QDate changing = dayAtGreenwich(true);
    QTest::newRow("Pune 1990") << "Pune" << at({1990, 5, 1}, 14, 30) << 0 << false << steady
                               << "India Standard Time, UTC+05:30" << "1 May 1990, 09:00";
    QTest::newRow("London 1944, double summer time") << "London" << at({1944, 7, 1}, 12, 0) << 0 << false << steady
                                                     << "British Double Summer Time, UTC+02:00" << "1 July 1944, 10:00";
    QTest::newRow("Kathmandu 1901, mean time") << "Kathmandu" << at({1901, 1, 1}, 12, 0) << 0 << false << steady
                                               << "Local mean time, UTC+05:41:16" << "1 January 1901, 06:18:44";
    QTest::newRow("New York, the hour that came twice") << "New York" << at({1970, 10, 25}, 1, 30) << 0 << false
                                                        << steady << "Eastern Daylight Time, UTC-04:00"
                                                        << "25 October 1970, 05:30";
    QTest::newRow("a zone row set by hand") << "" << at({1969, 7, 20}, 23, 56) << 27 << true << steady
                                            << "\u201CEastern Standard Time,EST,-5.0\u201D from the zone list with "
                                               "Daylight Saving Time, UTC-04:00"
                                            << "21 July 1969, 03:56";
    QTest::newRow("a day with a sign change") << "" << at(changing, 12, 0) << 29 << false << steady
                                              << "\u201CGreenwich Mean Time,GMT,0.0\u201D from the zone list, UTC+00:00"
                                              << moment({changing.year(), changing.month(), changing.day(), 12, 0, 0});
    QTest::newRow("both days with a sign change") << "" << at(changing, 12, 0) << 29 << false << QDate()
                                                  << "\u201CGreenwich Mean Time,GMT,0.0\u201D from the zone list, UTC+00:00"
                                                  << moment({changing.year(), changing.month(), changing.day(), 12, 0, 0});
}

// The instant, the clock and the times of each sign shown for a birth are
// the engine's own, in the results window and in the saved report, read
// back from RTF and PDF by other programs.
void PlaceFinderTest::theWorkingShownIsTheEngines()
{
    QFETCH(QString, place);
    QFETCH(QDateTime, birth);
    QFETCH(int, zone);
    QFETCH(bool, dst);
    QFETCH(QDate, partnerDay);
    QFETCH(QString, clock);
    QFETCH(QString, universalTime);
    Session s;
    frmMain &w = openForm(s);
    const QDate d = birth.date();
    const int hour = birth.time().hour(), minute = birth.time().minute();
    const Person man{.month = d.month(), .day = d.day(), .year = d.year(), .hour = hour, .minute = minute,
                     .west = dst, .dst = dst, .zone = zone};
    const QDate p = partnerDay;
    const Person partner = p.isValid() ? Person{.month = p.month(), .day = p.day(), .year = p.year(), .hour = hour,
                                                .minute = minute, .west = dst}
                                       : man;
    fillPerson(w, man, true);
    fillPerson(w, partner, false);
    if (!place.isEmpty()) {
        w.txtMCity->setFocus();
        QVERIFY(pickFirst(w, true, place));
    }
    w.cmdRashi->click();
    frmMoonSign *r = s.results();
    QVERIFY(r);
    r->cmdBirthDetails_Click();

    const PersonReading &shown = r->reading().man;
    const BirthInput &in = shown.birthInput;
    const double correction = ZoneCorrectionInHours(in);
    const double ut = UniversalTimeHours(in.Hour + in.Minute / 60.0, correction, in.IsDaylightSaving);
    QCOMPARE(moment(UniversalMoment(in.Year, in.Month, in.Day, ut)), universalTime);
    QCOMPARE(r->findChild<QLabel *>(QStringLiteral("lblUniversalTimeM"))->text(), universalTime);
    QCOMPARE(r->findChild<QLabel *>(QStringLiteral("lblClockM"))->text(), clock);

    // The stretches of the day, minute by minute through the engine.
    QStringList parts;
    int from = 0;
    const auto signAt = [&](int minute) {
        const double t = JulianCenturies(JulianDayNumber(in.Month, in.Day, in.Year),
                                         UniversalTimeHours(minute / 60.0, correction, in.IsDaylightSaving));
        return int(MoonLongitude(t) / 30.0);
    };
    const auto hhmm = [](int minute) { return QTime(minute / 60, minute % 60).toString(QStringLiteral("HH:mm")); };
    for (int minute = 1; minute <= 1440; ++minute) {
        if (minute < 1440 && signAt(minute) == signAt(from))
            continue;
        const QString sign = QString::fromUtf8(SignNameTable[std::size_t(signAt(from))].Name.data());
        parts << (from == 0 && minute == 1440 ? sign
                  : from == 0                 ? sign + QStringLiteral(" up to ") + hhmm(minute - 1)
                                              : sign + QStringLiteral(" from ") + hhmm(from));
        from = minute;
    }
    const QString margins = parts.size() == 1
        ? QStringLiteral("The Moon is in %1 for a birth at any time that day.").arg(parts[0])
        : QStringLiteral("The Moon is in %1 and in %2 for a birth that day.").arg(parts[0], parts[1]);
    QCOMPARE(r->lblMoonNoteM->text(), margins);
    const int pairs = int(shown.daySpans.size() * r->reading().woman.daySpans.size());
    QCOMPARE(r->lblOtherPairs->isVisibleTo(r), pairs > 1);
    if (pairs > 1)
        QCOMPARE(int(r->lblOtherPairs->text().count(QLatin1Char('\n'))) + 1, pairs - 1);

    // The saved report says the same, read back by pandoc and pdftotext.
    QStringList wanted{QStringLiteral("Clock :") + clock, QStringLiteral("Universal Time used :") + universalTime,
                       QStringLiteral("That day :") + margins};
    if (pairs > 1)
        wanted += r->lblOtherPairs->text().split(QLatin1Char('\n'));
    QTemporaryDir dir;
    frmSave report(r->reading(), r);
    for (const bool pdf : {false, true}) {
        const QString path = dir.filePath(pdf ? QStringLiteral("r.pdf") : QStringLiteral("r.rtf"));
        frmSave::setSaveFileChooser([&](QWidget *) { return frmSave::SaveTarget(path, pdf); });
        report.cmdSave->click();
        const QString reader = pdf ? QStringLiteral("pdftotext") : QStringLiteral("pandoc");
        if (QStandardPaths::findExecutable(reader).isEmpty())
            QSKIP("pandoc or pdftotext is not installed");
        QProcess read;
        read.start(reader, pdf ? QStringList{path, QStringLiteral("-")}
                               : QStringList{QStringLiteral("-f"), QStringLiteral("rtf"), QStringLiteral("-t"),
                                             QStringLiteral("plain"), QStringLiteral("--wrap=none"), path});
        QVERIFY(read.waitForFinished(60000));
        const QString text = oneLine(QString::fromUtf8(read.readAllStandardOutput()));
        for (const QString &line : wanted)
            QVERIFY2(text.contains(oneLine(line)), qPrintable(reader + QStringLiteral(" lacks ") + line));
    }
    frmSave::setSaveFileChooser({});
}

void PlaceFinderTest::enterPicksTheCurrentOfferAndLeavingUnpickedSaysSo()
{
    Session s;
    frmMain &w = openForm(s);
    fillPerson(w, Person{}, true);
    fillPerson(w, Person{}, false);
    QApplication::setActiveWindow(&w);
    auto *cityNote = w.findChild<QLabel *>(QStringLiteral("lblMCityNote"));
    PlaceFinder *finder = w.placeFinder(true);
    w.txtMCity->setFocus();

    // The first offer is current and drawn so; Down moves it, Enter takes it
    // and computes nothing.
    w.txtMCity->setText(QStringLiteral("London"));
    finder->offerPlaces(w.txtMCity->text());
    QAbstractItemView *list = finder->offers();
    QCOMPARE(list->currentIndex().row(), 0);
    QCOMPARE(list->selectionModel()->selectedIndexes(), QModelIndexList{list->currentIndex()});
    QTest::keyClick(w.txtMCity, Qt::Key_Down);
    QTest::keyClick(w.txtMCity, Qt::Key_Up);
    QTest::keyClick(w.txtMCity, Qt::Key_Return);
    QVERIFY(!list->isVisible());
    QCOMPARE(w.txtMState->text(), QStringLiteral("England"));
    QVERIFY(!s.results());

    // Enter typed before the offers show still picks the first of them.
    w.txtMCity->clear();
    QTest::keyClicks(w.txtMCity, QStringLiteral("Pune"));
    QTest::keyClick(w.txtMCity, Qt::Key_Return);
    QCOMPARE(w.txtMState->text(), QStringLiteral("Maharashtra"));
    QVERIFY(!s.results());

    // Typed text left unpicked by Tab: the list closes, the next box has the
    // focus, and a note asks for a pick.
    w.txtMCity->selectAll();
    QTest::keyClicks(w.txtMCity, QStringLiteral("Lond"));
    finder->offerPlaces(w.txtMCity->text());
    QTest::keyClick(w.txtMCity, Qt::Key_Tab);
    QVERIFY(!list->isVisible());
    QCOMPARE(QApplication::focusWidget(), w.txtMState);
    QVERIFY(cityNote->isVisibleTo(&w));
    QVERIFY2(cityNote->text().contains(QStringLiteral("Down, then Enter")), qPrintable(cityNote->text()));
    // Coordinates typed by hand answer it.
    w.txtMLonD->clear();
    QTest::keyClicks(w.txtMLonD, QStringLiteral("73"));
    QVERIFY(!cityNote->isVisibleTo(&w));

    // The list closed, Enter in the same box computes.
    w.txtMCity->setFocus();
    QTest::keyClick(w.txtMCity, Qt::Key_Return);
    QVERIFY2(s.recorder.boxes.empty(), s.recorder.boxes.empty() ? "" : qPrintable(s.recorder.boxes.front().text));
    QVERIFY(s.results());
}

void PlaceFinderTest::clearAsksAndForgetsThePlace()
{
    Session s;
    frmMain &w = openForm(s);
    w.txtMName->setText(QStringLiteral("Ravi"));
    w.txtMCity->setFocus();
    QVERIFY(pickFirst(w, true, QStringLiteral("London")));

    // No, the default, keeps everything.
    w.mnuClear->trigger();
    QCOMPARE(s.recorder.questions.size(), 1);
    QCOMPARE(w.txtMName->text(), QStringLiteral("Ravi"));
    QCOMPARE(w.txtMCity->text(), QStringLiteral("London"));

    s.recorder.answer = true;
    w.mnuClear->trigger();
    QVERIFY(w.txtMName->text().isEmpty() && w.txtMCity->text().isEmpty() && w.txtMLatD->text().isEmpty());
    QVERIFY(!w.placeFinder(true)->currentPick());
    // A city typed afterwards speaks of no place that is gone.
    QTest::keyClicks(w.txtMCity, QStringLiteral("Par"));
    auto *note = w.findChild<QLabel *>(QStringLiteral("lblMZoneNote"));
    QVERIFY2(!note->isVisibleTo(&w), qPrintable(note->text()));
}

QTEST_MAIN(PlaceFinderTest)
#include "place_finder_test.moc"
