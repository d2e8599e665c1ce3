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
