#include "app/atlas.h"
#include "astro/sign_change.h"
#include "astro/western_ephemeris.h"
#include "astro/zone_table.h"
#include "entry/place_index.h"
#include "entry/zone_choice.h"
#include "entry/zone_history.h"
#include "tests/support/system_zones.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimeZone>

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cstdio>
#include <set>

namespace {

// "18° 31' N", as the birth form shows a place.
std::string Angle(double value, const char *positive, const char *negative)
{
    const DegreesMinutes dm = NearestMinute(value);
    return std::to_string(dm.degrees) + "\u00B0 " + std::to_string(dm.minutes) + "' "
        + (dm.negative ? negative : positive);
}

int ZonePosition(std::string_view listText)
{
    const auto it = std::find_if(ZoneCorrectionTable.begin(), ZoneCorrectionTable.end(),
                                 [&](const ZoneRow &row) { return row.ListText == listText; });
    return it == ZoneCorrectionTable.end() ? -1 : static_cast<int>(it - ZoneCorrectionTable.begin());
}

class AtlasTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!atlas)
            GTEST_SKIP() << "built without a place database";
    }
    static inline const std::unique_ptr<Atlas> atlas = MakeSystemAtlas();
};

// The sign a birth at this minute of the day reads, straight from the engine.
int SignAt(QDate date, int minuteOfDay, double correction = 0.0, bool dst = false)
{
    const double ut = UniversalTimeHours(minuteOfDay / 60.0, correction, dst);
    const double dayNumber = JulianDayNumber(date.month(), date.day(), date.year());
    return static_cast<int>(MoonLongitude(JulianCenturies(dayNumber, ut)) / 30.0);
}

// Every minute a birth can be typed at tried in turn: the stretches of one
// sign must be those the finder gives.
void ExpectMinuteByMinute(QDate date, double correction = 0.0, bool dst = false)
{
    std::vector<SignSpan> want{{SignAt(date, 0, correction, dst), 0, 0}};
    for (int at = 1; at < 24 * 60; ++at) {
        if (const int s = SignAt(date, at, correction, dst); s != want.back().signIndex)
            want.push_back({s, at, at});
        want.back().lastMinute = at;
    }
    EXPECT_EQ(SignSpansOnDay(date.year(), date.month(), date.day(), correction, dst), want)
        << date.toString(Qt::ISODate).toStdString();
}

} // namespace

TEST(NearestMinute, RoundsAndCarriesIntoDegrees)
{
    EXPECT_EQ(Angle(10.9999, "N", "S"), "11° 0' N");
    EXPECT_EQ(Angle(-33.99999, "N", "S"), "34° 0' S");
    EXPECT_EQ(Angle(-0.004, "E", "W"), "0° 0' E");
}

TEST_F(AtlasTest, MostPopulousPlaceComesFirstWhateverTheCase)
{
    struct Row { const char *prefix, *city, *state, *country, *zone, *lat, *lon; };
    const Row rows[] = {
        {"Pune", "Pune", "Maharashtra", "India", "Asia/Kolkata", "18° 31' N", "73° 51' E"},
        {"LONDON", "London", "England", "United Kingdom", "Europe/London", "51° 31' N", "0° 8' W"},
        {"new york", "New York", "New York", "United States of America", "America/New_York", "40° 43' N",
         "74° 0' W"},
        {"Adelaide", "Adelaide", "South Australia", "Australia", "Australia/Adelaide", "34° 56' S", "138° 36' E"},
        {"kATHMANDU", "Kathmandu", "Bagmati Province", "Nepal", "Asia/Kathmandu", "27° 42' N", "85° 19' E"},
        {"Madrid", "Madrid", "Madrid", "Spain", "Europe/Madrid", "40° 25' N", "3° 42' W"},
        {"Sydney", "Sydney", "New South Wales", "Australia", "Australia/Sydney", "33° 52' S", "151° 12' E"},
        // Non-ASCII folding, with the tilde typed as a separate combining mark.
        {"SA\u0303O PAU", "São Paulo", "São Paulo", "Brazil", "America/Sao_Paulo", "23° 33' S", "46° 38' W"},
    };
    for (const Row &r : rows) {
        const std::vector<AtlasPlace> found = atlas->findByPrefix(r.prefix, 10);
        ASSERT_FALSE(found.empty()) << r.prefix;
        const AtlasPlace &p = found.front();
        EXPECT_EQ(p.city + "|" + p.state + "|" + p.country + "|" + p.timeZone,
                  std::string(r.city) + "|" + r.state + "|" + r.country + "|" + r.zone);
        EXPECT_EQ(Angle(p.latitude, "N", "S") + " " + Angle(p.longitude, "E", "W"),
                  std::string(r.lat) + " " + r.lon);
    }
}

// Accents, case and the Turkish dotted and dotless i make no difference; a
// place named exactly as typed comes before longer names.
TEST_F(AtlasTest, MatchesIgnoreAccentsAndCaseExactNamesFirst)
{
    struct Row { const char *typed, *city, *zone; };
    const Row rows[] = {
        {"Sao", "São Paulo", "America/Sao_Paulo"},    {"zurich", "Zurich", "Europe/Zurich"},
        {"ISTANBUL", "Istanbul", "Europe/Istanbul"},  {"İstanbul", "Istanbul", "Europe/Istanbul"},
        {"ıstanbul", "Istanbul", "Europe/Istanbul"},  {"Porto", "Porto", "Europe/Lisbon"},
        {"kara", "Kara", "Africa/Lome"},
    };
    for (const Row &r : rows) {
        const std::vector<AtlasPlace> found = atlas->findByPrefix(r.typed, 5);
        ASSERT_FALSE(found.empty()) << r.typed;
        EXPECT_EQ(found.front().englishCity + "|" + found.front().timeZone, std::string(r.city) + "|" + r.zone)
            << r.typed;
    }
}

// The same typed name finds the same place whatever the machine's language:
// each locale is tried in a process of its own, since the atlas reads its
// names once per process.
TEST_F(AtlasTest, SameLookUpsInEveryLanguage)
{
    const char *const typed[] = {"London", "Pune", "Istanbul", "São Paulo", "Adelaide"};
    if (qEnvironmentVariableIsSet("ZUVA_ATLAS_LOOKUPS")) {
        std::setlocale(LC_ALL, "");
        std::setlocale(LC_NUMERIC, "C"); // the figures below, not the names, must read the same
        for (const char *name : typed) {
            const std::vector<AtlasPlace> found = atlas->findByPrefix(name, 1);
            std::printf("@%s|%s|%.4f|%.4f\n", name, found.empty() ? "-" : found[0].timeZone.c_str(),
                        found.empty() ? 0.0 : found[0].latitude, found.empty() ? 0.0 : found[0].longitude);
        }
        return;
    }
    if (!QFile::exists(QStringLiteral("/proc/self/exe")) || QStandardPaths::findExecutable(QStringLiteral("localedef")).isEmpty())
        GTEST_SKIP() << "the machine's language comes from POSIX locales only here";
    // The locales are compiled into a scratch folder, so the machine needs
    // none of them installed.
    QTemporaryDir locales;
    ASSERT_TRUE(locales.isValid());
    const auto lookUps = [&](const QString &locale) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZUVA_ATLAS_LOOKUPS"), QStringLiteral("1"));
        env.insert(QStringLiteral("LOCPATH"), locales.path());
        env.insert(QStringLiteral("LC_ALL"), locale);
        env.remove(QStringLiteral("LANGUAGE"));
        child.setProcessEnvironment(env);
        child.start(QStringLiteral("/proc/self/exe"), {QStringLiteral("--gtest_filter=AtlasTest.SameLookUpsInEveryLanguage")});
        child.waitForFinished(120000);
        std::string lines;
        for (const QString &line : QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1Char('@')))
                lines += line.toStdString() + "\n";
        }
        return lines;
    };
    const std::string reference = lookUps(QStringLiteral("C.UTF-8"));
    ASSERT_EQ(std::count(reference.begin(), reference.end(), '@'), 5) << reference;
    ASSERT_EQ(reference.find("|-|"), std::string::npos) << reference;
    for (const char *locale : {"fr_FR", "tr_TR", "ar_EG", "hi_IN"}) {
        QProcess localedef;
        localedef.start(QStringLiteral("localedef"), {QStringLiteral("-i"), QString::fromLatin1(locale),
                                                      QStringLiteral("-f"), QStringLiteral("UTF-8"),
                                                      locales.filePath(QString::fromLatin1(locale) + ".UTF-8")});
        ASSERT_TRUE(localedef.waitForFinished(60000) && localedef.exitCode() == 0) << "localedef " << locale;
        EXPECT_EQ(lookUps(QString::fromLatin1(locale) + ".UTF-8"), reference) << locale;
    }
}

TEST_F(AtlasTest, LimitKeepsTheMostPopulous)
{
    const std::vector<AtlasPlace> all = atlas->findByPrefix("Sa", 100000);
    ASSERT_GT(all.size(), 100u);
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_TRUE(FoldPlaceName(all[i].city).starts_with("sa") || FoldPlaceName(all[i].englishCity).starts_with("sa"))
            << all[i].city;
        EXPECT_TRUE(i == 0 || all[i - 1].population >= all[i].population) << all[i].city;
    }
    for (std::size_t limit : {0u, 1u, 7u, 25u}) {
        const std::vector<AtlasPlace> top = atlas->findByPrefix("sA", limit);
        ASSERT_EQ(top.size(), limit);
        for (std::size_t i = 0; i < limit; ++i)
            EXPECT_EQ(top[i].city + top[i].state, all[i].city + all[i].state) << limit << ' ' << i;
    }
}

TEST_F(AtlasTest, OddPrefixesAreHarmless)
{
    // Whatever is typed, only places whose name starts with it come back.
    const std::string odd[] = {"Мос", "東京", "\xC3", " ", std::string("Lon\0don", 7), "Lon"};
    for (const std::string &prefix : odd) {
        const std::string key = FoldPlaceName(prefix);
        const std::vector<AtlasPlace> found = atlas->findByPrefix(prefix, 50);
        EXPECT_LE(found.size(), 50u) << prefix;
        for (const AtlasPlace &place : found) {
            EXPECT_TRUE(FoldPlaceName(place.city).starts_with(key) || FoldPlaceName(place.englishCity).starts_with(key))
                << prefix << " found " << place.city;
        }
    }
    for (const char *nothing : {"", "\xff\xfe", "zzqx"})
        EXPECT_TRUE(atlas->findByPrefix(nothing, 50).empty()) << nothing;
}

TEST(ChooseZone, PicksTheStandardRowAndTheDaylightTick)
{
    struct Row { const char *zone; int y, m, d, h, min; const char *row; bool dst; const char *note; };
    const char *gmt = "Greenwich Mean Time,GMT,0.0", *est = "Eastern Standard Time,EST,-5.0";
    const char *acst = "Australian Central Standard Time,ACST,+9.5", *cet = "Central European Time,CET,+1.0";
    const char *nzt = "New Zealand Std Time,NZT,+12.0";
    const Row rows[] = {
        {"Asia/Kolkata", 1990, 7, 1, 12, 0, "Indian Time, IST, +5.3", false, nullptr},
        {"Europe/London", 1990, 7, 1, 12, 0, gmt, true, nullptr},
        {"Europe/London", 1990, 1, 1, 12, 0, gmt, false, nullptr},
        {"America/New_York", 1990, 7, 1, 12, 0, est, true, nullptr},
        {"America/New_York", 1990, 1, 1, 12, 0, est, false, nullptr},
        {"Australia/Adelaide", 1990, 7, 1, 12, 0, acst, false, nullptr},
        {"Australia/Adelaide", 1991, 1, 15, 12, 0, acst, true, nullptr},
        {"Europe/Madrid", 1990, 7, 1, 12, 0, cet, true, nullptr},
        {"Australia/Sydney", 1990, 1, 1, 12, 0, "Australian Eastern Standard Time,AEST,+10.0", true, nullptr},
        {"Pacific/Auckland", 1990, 7, 1, 12, 0, nzt, false, nullptr},
        {"Pacific/Auckland", 1991, 1, 15, 12, 0, nzt, true, nullptr},
        // Equally good rows: the first in the list wins.
        {"Africa/Lagos", 1990, 7, 1, 12, 0, cet, false, nullptr},
        // Irish winter time is negative daylight saving in the zone data.
        {"Europe/Dublin", 1990, 1, 1, 12, 0, gmt, false, nullptr},
        {"Europe/Dublin", 1990, 7, 1, 12, 0, gmt, true, nullptr},
        // Cuba's summer abbreviation is the list's name for another offset.
        {"America/Havana", 1990, 7, 1, 12, 0, est, true, nullptr},
        // Named after the country rather than the first row at +8.
        {"Asia/Shanghai", 1995, 3, 1, 12, 0, "China Coast Time,CCT,+8.0", false, nullptr},
        {"Mars/Olympus_Mons", 1990, 1, 1, 12, 0, nullptr, false, "Mars/Olympus_Mons"},
    };
    for (const Row &r : rows) {
        const ZoneChoice c = ChooseZone(r.zone, QDate(r.y, r.m, r.d), r.h, r.min);
        const std::string where = std::string(r.zone) + " " + std::to_string(r.y) + ": " + c.note.toStdString();
        EXPECT_EQ(c.found, r.row != nullptr) << where;
        EXPECT_EQ(c.zonePosition, r.row ? ZonePosition(r.row) : -1) << where;
        EXPECT_EQ(c.daylightSaving, r.dst) << where;
        EXPECT_TRUE(!r.note || c.note.contains(QLatin1StringView(r.note))) << where;
    }
}

// Where no row has the offset the clocks kept, the exact offset comes as an
// extra entry; where summer time was more than an hour, the row holding the
// whole offset; and the clock time that came twice is the earlier one.
TEST(ChooseZone, ExactOffsetsAndTheHoursTheClocksChanged)
{
    struct Row { const char *zone; int y, m, d, h, min; const char *place; int offset; const char *row; const char *text; };
    const Row rows[] = {
        {"Asia/Kathmandu", 1990, 7, 1, 12, 0, "Kathmandu", 20700, nullptr, "Nepal Time, UTC+05:45 (Kathmandu)"},
        {"Asia/Kabul", 1990, 7, 1, 12, 0, "Kabul", 16200, nullptr, "UTC+04:30 (Kabul)"},
        {"America/Caracas", 2010, 7, 1, 12, 0, "Caracas", -16200, nullptr, "UTC-04:30 (Caracas)"},
        {"Asia/Tehran", 1905, 7, 1, 12, 0, "Tehran", 12344, nullptr, "Local mean time, UTC+03:25:44 (Tehran)"},
        {"Asia/Kolkata", 1905, 7, 1, 12, 0, "Kolkata", 19270, nullptr, "MMT, UTC+05:21:10 (Kolkata)"}, // Madras time, not Kolkata's own
        {"Europe/London", 1944, 7, 1, 12, 0, "London", 7200, "British Double Summer Time,BDST,+2.0", nullptr},
        {"Pacific/Auckland", 1943, 7, 1, 12, 0, "Auckland", 43200, "New Zealand Std Time,NZT,+12.0", nullptr},
        {"America/New_York", 1970, 10, 25, 1, 30, "New York", -14400, "Eastern Standard Time,EST,-5.0",
         "01:30 twice on this date; the first time, at UTC-04:00, is used."},
        {"Europe/Berlin", 2006, 3, 26, 2, 30, "Berlin", 0, nullptr, "The clocks skipped 02:30 on this date"},
    };
    for (const Row &r : rows) {
        const ZoneChoice c = ChooseZone(r.zone, QDate(r.y, r.m, r.d), r.h, r.min, QString::fromUtf8(r.place));
        const std::string where = std::string(r.zone) + " " + std::to_string(r.y) + ": " + c.note.toStdString()
            + " / " + c.extraEntryText.toStdString();
        const bool skipped = r.offset == 0;
        EXPECT_EQ(c.found, !skipped) << where;
        if (skipped) {
            EXPECT_TRUE(c.note.contains(QLatin1StringView(r.text))) << where;
            continue;
        }
        EXPECT_EQ(c.offsetSeconds, r.offset) << where;
        EXPECT_FALSE(c.daylightSaving && !r.row) << where;
        if (r.row) {
            EXPECT_EQ(c.zonePosition, ZonePosition(r.row)) << where;
            EXPECT_TRUE(!r.text || c.note.contains(QLatin1StringView(r.text))) << where;
        } else {
            EXPECT_EQ(c.zonePosition, static_cast<int>(ZoneCount)) << where;
            EXPECT_TRUE(c.extraEntryText.endsWith(QLatin1StringView(r.text))) << where;
        }
    }
}

// Whatever zone data the build reads, the offset chosen for a random place
// and moment is the one the system's zone database gives, to the second.
TEST_F(AtlasTest, ChosenOffsetIsTheZoneDatabasesForRandomPlacesAndMoments)
{
    if (!SystemKnowsZoneHistory())
        GTEST_SKIP() << "no zone history on this system to check against";
    const std::vector<AtlasPlace> &places = atlas->allPlaces();
    QRandomGenerator random(1901);
    for (int i = 0; i < 3000; ++i) {
        const AtlasPlace &place = places[random.bounded(quint32(places.size()))];
        const QDate date(int(random.bounded(1901, 2051)), int(random.bounded(1, 13)), int(random.bounded(1, 29)));
        const QTime time(int(random.bounded(24)), int(random.bounded(60)));
        const QByteArray id = QByteArray::fromStdString(place.timeZone);
        const ZoneChoice c = ChooseZone(id, date, time.hour(), time.minute());
        const QTimeZone zone(id);
        const QDateTime local(date, time, zone);
        const std::string where = place.timeZone + " " + local.toString(Qt::ISODate).toStdString();
        ASSERT_EQ(c.found, local.isValid() && local.time() == time) << where;
        if (!c.found)
            continue;
        const QDateTime instant = QDateTime(date, time, QTimeZone::utc()).addSecs(-c.offsetSeconds);
        EXPECT_EQ(instant.toTimeZone(zone).time(), time) << where;
        EXPECT_NE(instant.addSecs(-3600).toTimeZone(zone).time(), time) << where; // the earlier of two
    }
}

// Central and Middle European Time share an offset; the zone's own
// abbreviation, winter or summer, picks between them.
TEST(ChooseZone, AbbreviationDecidesBetweenRowsOfOneOffset)
{
    if (!ZoneHistoryFor("MET").valid())
        GTEST_SKIP() << "this build carries only the zones of its atlas";
    const QDateTime winter(QDate(1990, 1, 1), QTime(12, 0), QTimeZone("MET"));
    if (winter.timeZoneAbbreviation() != QLatin1StringView("MET"))
        GTEST_SKIP() << "this zone data folds MET into another zone";
    for (const auto &[month, dst] : {std::pair{1, false}, std::pair{7, true}}) {
        const ZoneChoice c = ChooseZone("MET", QDate(1990, month, 1), 12, 0);
        EXPECT_EQ(c.zonePosition, ZonePosition("Middle European Time,MET,+1.0")) << month;
        EXPECT_EQ(c.daylightSaving, dst) << month;
    }
}

// Whatever row is chosen, the reading's arithmetic must land on the instant
// the zone database gives, through every season of several years.
TEST(ChooseZone, ChosenRowGivesTheSameUniversalTime)
{
    if (!SystemKnowsZoneHistory())
        GTEST_SKIP() << "no zone history on this system to check against";
    for (const char *name :
         {"Europe/London", "Europe/Madrid", "Australia/Sydney", "America/New_York", "Europe/Dublin"}) {
        const QTimeZone tz(name);
        for (QDate date(1975, 1, 3); date.year() <= 2010; date = date.addDays(47)) {
            for (const QTime time : {QTime(0, 20), QTime(12, 0), QTime(23, 50)}) {
                const ZoneChoice c = ChooseZone(name, date, time.hour(), time.minute());
                const QDateTime moment(date, time, tz);
                const std::string where = std::string(name) + " " + moment.toString(Qt::ISODate).toStdString();
                // A time the clocks skipped has no instant to agree with.
                ASSERT_EQ(c.found, moment.isValid()) << where;
                if (!c.found)
                    continue;
                const ZoneRow &row = ZoneCorrectionTable[static_cast<std::size_t>(c.zonePosition)];
                const double ut = UniversalTimeHours(time.msecsSinceStartOfDay() / 3.6e6,
                                                     row.Hours + row.Minutes / 60.0, c.daylightSaving);
                const QDateTime utc = moment.toUTC();
                const double want = date.daysTo(utc.date()) * 24.0 + utc.time().msecsSinceStartOfDay() / 3.6e6;
                EXPECT_NEAR(ut, want, 1e-9) << where;
            }
        }
    }
}

TEST(SignSpans, AgreeWithAMinuteByMinuteScan)
{
    struct Row { int y, m; double correction; bool dst; };
    const Row rows[] = {{1990, 7, 0.0, false}, {1987, 2, -5.5, false}, {2024, 8, 5.0, true}, {1975, 12, -10.5, true}};
    for (const Row &r : rows) {
        std::set<int> entered;
        for (QDate date(r.y, r.m, 1); date.month() == r.m; date = date.addDays(1)) {
            ExpectMinuteByMinute(date, r.correction, r.dst);
            const std::vector<SignSpan> spans = SignSpansOnDay(r.y, r.m, date.day(), r.correction, r.dst);
            for (const SignSpan &span : spans)
                entered.insert(span.signIndex);
        }
        // A month takes the Moon through every sign, Pisces into Aries too.
        EXPECT_EQ(entered.size(), 12u) << r.y;
    }
}

// Changes inside the first or last search step of the day and in its very last minute.
TEST(SignSpans, ChangesAtTheEdgesOfTheDay)
{
    struct Window { int from, to, seen; };
    Window windows[] = {{0, 10, 0}, {1429, 1439, 0}, {1438, 1439, 0}};
    const auto enough = [&] {
        return std::all_of(std::begin(windows), std::end(windows), [](const Window &w) { return w.seen >= 2; });
    };
    for (QDate date(1950, 1, 1); date.year() < 2050 && !enough(); date = date.addDays(1)) {
        for (Window &w : windows) {
            if (SignAt(date, w.from) == SignAt(date, 0) && SignAt(date, w.to) != SignAt(date, 0)) {
                ExpectMinuteByMinute(date);
                ++w.seen;
            }
        }
    }
    EXPECT_TRUE(enough());
}
