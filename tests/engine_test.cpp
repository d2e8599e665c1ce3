#include "astro/sign_change.h"
#include "astro/western_ephemeris.h"
#include "astro/western_planet_position.h"
#include "astro/zone_table.h"
#include "entry/sign_name_table.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>

namespace {

const std::string kDeg = "\u00B0";

std::string LongText(int d, int m, int s, const std::string &abbreviation)
{
    return std::to_string(d) + kDeg + " " + std::to_string(m) + "' " + std::to_string(s) + "\" " + abbreviation;
}

// The whole-turn loop the normalisation must agree with.
double NormalizeByTurns(double a)
{
    while (a < 0)
        a += 360;
    while (a > 360)
        a -= 360;
    return a;
}

BirthInput Birth(int year, int month, int day, int hour, int minute, int zonePosition = GreenwichZonePosition,
                 bool east = true, bool dst = false)
{
    ZoneCorrection correction;
    ZoneCorrectionFromPosition(zonePosition, correction);
    BirthInput in;
    in.Year = static_cast<std::int16_t>(year);
    in.Month = static_cast<std::int16_t>(month);
    in.Day = static_cast<std::int16_t>(day);
    in.Hour = static_cast<std::int16_t>(hour);
    in.Minute = static_cast<std::int16_t>(minute);
    in.ZoneHours = correction.Hours;
    in.ZoneMinutes = correction.Minutes;
    in.IsEast = east;
    in.IsDaylightSaving = dst;
    return in;
}

} // namespace

TEST(Constants, DegToRadHasTheTunedBitPattern)
{
    EXPECT_EQ(std::bit_cast<std::uint64_t>(DegToRad), 0x3F91DF46A2529D3AULL);
}

TEST(JulianDay, CivilDates)
{
    struct Row { int m, d, y; double expected; };
    const Row rows[] = {
        {1, 1, 2000, 2451545}, {12, 31, 1999, 2451544}, {2, 29, 2000, 2451604},
        {1, 1, 1900, 2415021}, {3, 1, 1900, 2415080},
        // Around the calendar switch the Julian count is compared with 2299171.
        {10, 15, 1582, 2299171}, {10, 25, 1582, 2299171}, {10, 4, 1582, 2299160},
    };
    for (const Row &r : rows)
        EXPECT_EQ(JulianDayNumber(r.m, r.d, r.y), r.expected) << r.y << '-' << r.m << '-' << r.d;
}

TEST(JulianDay, TimeArgumentIsZeroAtTheEpoch)
{
    EXPECT_EQ(JulianCenturies(JulianDayNumber(1, 1, 2000), 12.0), 0.0);
}

// UT from the zone list: the zone's own signed correction decides the
// direction, daylight saving always takes an hour off, East/West plays no part.
TEST(UniversalTime, FollowsTheZoneCorrection)
{
    struct Row { const char *what; int zone; bool east; bool dst; double local; double expectedUt; };
    const Row rows[] = {
        {"India, IST", 34, true, false, 2.0, -3.5},
        {"West, EST with daylight saving", 27, false, true, 10.0, 14.0},
        {"East, CET with daylight saving", 20, true, true, 10.0, 8.0},
        {"West, China Coast Time", 23, false, false, 10.0, 2.0},
        {"Madrid, CET, West longitude", 20, false, false, 10.0, 9.0},
        {"London summer, BST, West", 16, false, false, 10.0, 9.0},
        {"Greenwich, East ticked, CET", 20, true, false, 10.0, 9.0},
        {"Newfoundland", 50, false, false, 0.0, 3.5},
        {"EDT with daylight saving ticked too", 24, false, true, 0.0, 3.0},
        {"Japan just after midnight", 38, true, false, 0.5, -8.5},
    };
    for (const Row &r : rows) {
        ZoneCorrection c;
        ZoneCorrectionFromPosition(r.zone, c);
        EXPECT_DOUBLE_EQ(UniversalTimeHours(r.local, c.Hours + c.Minutes / 60.0, r.dst), r.expectedUt) << r.what;
    }
}

TEST(UniversalTime, HemisphereDoesNotChangeTheReading)
{
    for (int zone : {16, 20, 23, 34, 50}) {
        WesternEphemeris east, west;
        east.ComputeMoonPosition(Birth(1987, 6, 14, 23, 40, zone, true, true));
        west.ComputeMoonPosition(Birth(1987, 6, 14, 23, 40, zone, false, true));
        EXPECT_EQ(east.MoonPositionText(), west.MoonPositionText()) << zone;
    }
}

TEST(Normalize, AgreesWithWholeTurnsAndNeverGives360)
{
    for (double a : {-146325.00833, -36945.70981, 211.72826, 0.0, 359.999, 720.5, 1234567.891, -0.25})
        EXPECT_EQ(NormalizeDegrees(a), NormalizeByTurns(a)) << a;
    EXPECT_EQ(NormalizeDegrees(360.0), 0.0);
    EXPECT_EQ(NormalizeDegrees(-360.0), 0.0);
    EXPECT_EQ(NormalizeDegrees(720.0), 0.0);
    // A remainder just below zero rounds to 360 when a turn is added.
    const double justBelow = -1e-14;
    EXPECT_LT(NormalizeDegrees(justBelow), 360.0);
    EXPECT_GE(NormalizeDegrees(justBelow), 0.0);
}

TEST(MoonLongitude, TruncatedSeriesValues)
{
    struct Row { int y, m, d, h, min; double lon; };
    const Row rows[] = {
        {2000, 1, 1, 12, 0, 223.31610},
        {2000, 1, 1, 0, 0, 217.28418},
        // The truncated series, not the full one.
        {1992, 4, 12, 0, 0, 133.15808},
        {1969, 7, 20, 20, 18, 187.86906},
    };
    for (const Row &r : rows) {
        const double T = JulianCenturies(JulianDayNumber(r.m, r.d, r.y), r.h + r.min / 60.0);
        EXPECT_NEAR(MoonLongitude(T), r.lon, 5e-6) << r.y;
    }
}

TEST(FormatPosition, DegreesMinutesSecondsAndSign)
{
    struct Row { double lon; std::string text; };
    const Row rows[] = {
        {0.0, LongText(0, 0, 0, "Ari")},
        {30.0, LongText(0, 0, 0, "Tau")},
        {29.9999999, LongText(29, 59, 59, "Ari")},
        {359.9999, LongText(29, 59, 59, "Pis")},
        {223.31610, LongText(13, 18, 57, "Sco")},
        {133.15808, LongText(13, 9, 29, "Leo")},
        {187.86906, LongText(7, 52, 8, "Lib")},
        {-45.5, LongText(15, 30, 0, "Tau")},
        // 360 itself names no sign; the engine never hands it over.
        {360.0, LongText(0, 0, 0, "")},
    };
    for (const Row &r : rows)
        EXPECT_EQ(FormatPosition(r.lon), r.text) << r.lon;
}

TEST(ShortPosition, FixedColumnsForTheSign)
{
    struct Row { std::string longText; std::string shortText; };
    const Row rows[] = {
        {LongText(0, 0, 0, "Ari"), "00 Ari 00"},
        {LongText(29, 59, 59, "Pis"), "29 Pis 59"},
        {LongText(13, 9, 29, "Leo"), "13 Leo 09"},
        {LongText(13, 18, 57, "Sco"), "13 Sco 18"},
        {LongText(7, 5, 0, "Tau"), "07 Tau 05"},
        {LongText(7, 5, 59, "Tau"), "07 Tau 05"},
        {"  " + LongText(7, 5, 12, "Tau"), "07 Tau 05"},
        {LongText(0, 0, 0, ""), "00 0\" 00"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(ShortPosition(r.longText), r.shortText) << r.longText;
}

// Texts the engine never writes: missing pieces come out empty and padded,
// the abbreviation is the last three whole characters, nothing is read past
// the text and no character is split.
TEST(ShortPosition, TextsWithoutSeparatorsGiveEmptyPieces)
{
    struct Row { std::string longText; std::string shortText; };
    const Row rows[] = {
        {"", "0  0"},
        {" ", "0  0"},
        {"'", "0 ' 0"},
        {kDeg, "0 " + kDeg + " 0"},
        {"'12" + kDeg, "'12 12" + kDeg + " 0"},
        {kDeg + kDeg + "''", "0 " + kDeg + "'' 0" + kDeg},
        {"\xC2", "0 \xC2 0"},
        {"abc\xE2\x82", "0 bc\xE2\x82 0"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(ShortPosition(r.longText), r.shortText) << r.longText;
}

TEST(PositionList, OnlyTheLatestPersonIsKept)
{
    WesternEphemeris engine;
    WesternPlanetPosition planets;
    engine.ComputeMoonPosition(Birth(2000, 1, 1, 12, 0));
    planets.BuildPositionList(engine.MoonPositionText());
    EXPECT_EQ(planets.PositionList()[1], "13 Sco 18");
    engine.ComputeMoonPosition(Birth(1992, 4, 12, 0, 0));
    planets.BuildPositionList(engine.MoonPositionText());
    EXPECT_EQ(planets.PositionList()[1], "13 Leo 09");
    for (std::size_t i = 0; i < planets.PositionList().size(); ++i) {
        if (i != 1) {
            EXPECT_TRUE(planets.PositionList()[i].empty());
        }
    }
}

// Across the whole range of the form, the sign read from the fixed columns
// is the sign that holds the longitude.
TEST(PositionList, SignAgreesWithLongitudeFrom1901To2050)
{
    std::mt19937 random(1975);
    WesternEphemeris engine;
    WesternPlanetPosition planets;
    for (int k = 0; k < 5000; ++k) {
        const BirthInput in = Birth(1901 + static_cast<int>(random() % 150), 1 + static_cast<int>(random() % 12),
                                    1 + static_cast<int>(random() % 28), static_cast<int>(random() % 24),
                                    static_cast<int>(random() % 60), static_cast<int>(random() % ZoneCount),
                                    random() % 2 == 0, random() % 2 == 0);
        engine.ComputeMoonPosition(in);
        planets.BuildPositionList(engine.MoonPositionText());
        const auto name = SignNameFromShortPosition(planets.PositionList()[1]);
        ASSERT_TRUE(name.has_value()) << engine.MoonPositionText();

        const double ut = UniversalTimeHours(in.Hour + in.Minute / 60.0, in.ZoneHours + in.ZoneMinutes / 60.0,
                                             in.IsDaylightSaving);
        const double lon = MoonLongitude(JulianCenturies(JulianDayNumber(in.Month, in.Day, in.Year), ut));
        ASSERT_GE(lon, 0.0);
        ASSERT_LT(lon, 360.0);
        EXPECT_EQ(*name, SignNameTable[static_cast<std::size_t>(lon / 30.0)].Name) << lon;
    }
}

TEST(ZoneTable, LookUpByListPosition)
{
    EXPECT_EQ(ZoneCorrectionTable[GreenwichZonePosition].ListText, "Greenwich Mean Time,GMT,0.0");
    struct Row { int position; int hours; int minutes; };
    const Row rows[] = {{34, -5, -30}, {50, 3, 30}, {52, -6, -30}, {29, 0, 0}, {61, 0, 0}, {27, 5, 0}, {46, -13, 0}};
    for (const Row &r : rows) {
        ZoneCorrection c{7, 7};
        ZoneCorrectionFromPosition(r.position, c);
        EXPECT_EQ(c.Hours, r.hours) << r.position;
        EXPECT_EQ(c.Minutes, r.minutes) << r.position;
    }
    // No selection keeps what the previous person left.
    for (int position : {-1, 71, 1000}) {
        ZoneCorrection c{-5, -30};
        ZoneCorrectionFromPosition(position, c);
        EXPECT_EQ(c.Hours, -5);
        EXPECT_EQ(c.Minutes, -30);
    }
}

TEST(ZoneTable, MinutesShareTheSignOfTheHoursAndMatchTheListText)
{
    for (const ZoneRow &row : ZoneCorrectionTable) {
        EXPECT_TRUE(row.Minutes == 0 || row.Minutes == 30 || row.Minutes == -30) << row.ListText;
        EXPECT_TRUE(row.Minutes == 0 || (row.Minutes > 0) == (row.Hours > 0)) << row.ListText;
        // The list shows the offset east of Greenwich: the negative of the correction.
        const auto comma = row.ListText.rfind(',');
        const double shown = std::stod(std::string(row.ListText.substr(comma + 1)));
        EXPECT_EQ(std::trunc(shown), -row.Hours) << row.ListText;
    }
}

TEST(SignNames, ExactAndCaseSensitive)
{
    EXPECT_EQ(SignNameFromAbbreviation("Sag"), "Sagittarius");
    EXPECT_EQ(SignNameFromAbbreviation("Pis"), "Pisces");
    EXPECT_FALSE(SignNameFromAbbreviation("sag"));
    EXPECT_FALSE(SignNameFromAbbreviation("SAG"));
    EXPECT_FALSE(SignNameFromAbbreviation("0\" "));
    EXPECT_FALSE(SignNameFromShortPosition("00 0\" 00"));
    EXPECT_FALSE(SignNameFromShortPosition("00"));
    EXPECT_EQ(SignNameFromShortPosition("13 Leo 09"), "Leo");
}

TEST(UniversalMoment, OnItsOwnCalendarDay)
{
    struct Row { int y, m, d; double ut; CivilMoment want; };
    const Row rows[] = {
        {1990, 5, 1, 9.0, {1990, 5, 1, 9, 0, 0}},
        {2000, 1, 1, -3.5, {1999, 12, 31, 20, 30, 0}},        // east of Greenwich, just after midnight
        {1944, 12, 31, 24.5, {1945, 1, 1, 0, 30, 0}},         // west, late in the evening
        {2000, 3, 1, -0.25, {2000, 2, 29, 23, 45, 0}},        // into a leap day
        {1901, 1, 1, 12.0 - 20476 / 3600.0, {1901, 1, 1, 6, 18, 44}}, // a mean time to the second
    };
    for (const Row &r : rows)
        EXPECT_EQ(UniversalMoment(r.y, r.m, r.d, r.ut), r.want) << r.y << '-' << r.m << '-' << r.d << ' ' << r.ut;
}

TEST(SignPosition, AsThePositionTextHasIt)
{
    for (const double lon : {0.0, 29.9999999, 30.0, 133.15808, 223.31610, 359.9999}) {
        const PositionInSign p = SignPositionOf(lon);
        const std::string text = FormatPosition(lon);
        const std::string abbreviation = p.signIndex < 12 ? std::string(Signs[std::size_t(p.signIndex)].Abbreviation) : "";
        EXPECT_EQ(text.substr(0, text.find("\u00B0")), std::to_string(p.degrees)) << lon;
        char shortText[32];
        std::snprintf(shortText, sizeof shortText, "%02d %s %02d", p.degrees, abbreviation.c_str(), p.minutes);
        EXPECT_EQ(ShortPosition(text), shortText) << lon;
    }
}
