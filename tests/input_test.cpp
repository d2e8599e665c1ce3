#include "app/front_label.h"
#include "entry/birth_ranges.h"
#include "entry/number_field.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(NumberField, RangeAndRounding)
{
    struct Row { std::string text; double high; bool passes; int rounded; };
    const Row rows[] = {
        {"179", 179, true, 179},
        {"  59 ", 59, true, 59},
        {"12.5", 59, true, 12}, // halves go to the even neighbour
        {"13.5", 59, true, 14},
        {"-0", 59, true, 0},
        {"-0.4", 59, false, 0},
        {".5", 59, false, 0},
        {"+5", 59, false, 0},
        {"1 2", 59, false, 0},
        {"1e1", 59, false, 0},
        {"\u0661\u0662", 59, false, 0}, // Arabic-Indic digits
        {"", 59, false, 0},
        {"0." + std::string(400, '0') + "1", 59, true, 0}, // below the smallest double
        {"1" + std::string(309, '0'), 179, false, 0},      // beyond the largest double
    };
    for (const Row &r : rows) {
        EXPECT_EQ(NumberFieldInRange(r.text, 0, r.high), r.passes) << r.text;
        if (r.passes) {
            EXPECT_EQ(RoundHalfToEven(*ParseNumberField(r.text)), r.rounded) << r.text;
        }
    }
}

TEST(AdvertDraw, EachLabelInFrontHalfTheTime)
{
    EXPECT_EQ(FrontLabelFromDraw(0.0), FrontLabel::Cobrand);    // n = 1
    EXPECT_EQ(FrontLabelFromDraw(0.2), FrontLabel::FullBrand);  // n = 2
    EXPECT_EQ(FrontLabelFromDraw(0.34), FrontLabel::Cobrand);   // n = 3
    EXPECT_EQ(FrontLabelFromDraw(0.99), FrontLabel::Unchanged); // n = 7
    // The co-branding label starts in front, so "unchanged" leaves it there.
    int cobrand = 0;
    const int draws = 60000;
    for (int i = 0; i < draws; ++i) {
        const FrontLabel f = FrontLabelFromDraw((i + 0.5) / draws);
        cobrand += f == FrontLabel::Cobrand || f == FrontLabel::Unchanged;
    }
    EXPECT_LT(std::abs(cobrand - draws / 2), draws / 100);
}

TEST(CoordinateText, DecimalsAndMarksBecomeDegreesAndMinutes)
{
    struct Row { const char *text; bool latitude; bool converts; int degrees, minutes; int westOrSouth; }; // -1: not said
    const Row rows[] = {
        {"73.8567", false, true, 73, 51, -1},
        {"-0.1276", false, true, 0, 8, 1},
        {"+151.2093", false, true, 151, 13, 0},
        {"18\u00B031'", true, true, 18, 31, -1},
        {"18\u00B0 31\u2032 12\u2033 S", true, true, 18, 31, 1},
        {"N 18 31", true, true, 18, 31, 0},
        {"73.8567e", false, true, 73, 51, 0},
        {"0.1276 W", false, true, 0, 8, 1},
        {"33,8688", true, true, 33, 52, -1},   // a decimal comma
        {"12.99999", true, true, 13, 0, -1},   // the minute carries, never "60"
        {"179.99", false, true, 179, 59, -1},
        {"-0.0001", false, true, 0, 0, -1},    // minus nought says no hemisphere
        {"179.999", false, false, 0, 0, 0},    // rounds to 180
        {"90.0", true, false, 0, 0, 0},
        {"18\u00B060'", true, false, 0, 0, 0},
        {"73", false, false, 0, 0, 0},         // a plain whole number stays as typed
        {"73.85 N", false, false, 0, 0, 0},    // the other axis's letter
        {"-73.85 W", false, false, 0, 0, 0},   // a sign and a letter
        {"18.5\u00B0 30'", true, false, 0, 0, 0},
        {"12abc", false, false, 0, 0, 0},
        {"1e2", false, false, 0, 0, 0},
        {"", false, false, 0, 0, 0},
        {"--5.5", false, false, 0, 0, 0},
    };
    for (const Row &r : rows) {
        const std::optional<CoordinateText> c = ParseCoordinateText(r.text, r.latitude);
        ASSERT_EQ(c.has_value(), r.converts) << r.text;
        if (!c)
            continue;
        EXPECT_EQ(c->degrees, r.degrees) << r.text;
        EXPECT_EQ(c->minutes, r.minutes) << r.text;
        EXPECT_EQ(c->westOrSouth ? int(*c->westOrSouth) : -1, r.westOrSouth) << r.text;
    }
}

TEST(NumberTypeAhead, DigitsSpellTheEntry)
{
    struct Range { int first, last; };
    const Range day{1, 31}, year{1901, 2050}, hour{0, 23}, minute{0, 59};
    // Keys: a digit, or '|' for a pause longer than the keyboard interval.
    struct Row { const char *keys; Range range; int value; };
    const Row rows[] = {
        {"1", day, 1},        {"15", day, 15},    {"1|1", day, 1},  {"11", day, 11},
        {"5|1", day, 1},      {"45", day, 5},     {"31", day, 31},  {"32", day, 2},
        {"1990", year, 1990}, {"19", year, 1901}, {"2", year, 2000}, {"205", year, 2050},
        {"1990|2", year, 2000}, {"0", hour, 0},   {"05", hour, 5},  {"123", hour, 3},
        {"59", minute, 59},   {"60", minute, 0},  {"0|0", minute, 0},
    };
    for (const Row &r : rows) {
        NumberTypeAhead typeAhead;
        std::optional<int> position;
        bool afresh = true;
        for (const char *k = r.keys; *k; ++k) {
            if (*k == '|') {
                afresh = true;
                continue;
            }
            if (const std::optional<int> p = typeAhead.type(*k, r.range.first, r.range.last, afresh))
                position = p;
            afresh = false;
        }
        ASSERT_TRUE(position.has_value()) << r.keys;
        EXPECT_EQ(r.range.first + *position, r.value) << r.keys;
    }
}
