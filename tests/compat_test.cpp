#include "compat/compatibility_table.h"
#include "compat/rating_conversions.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct Opening {
    const char *key;
    const char *words;
};

// Each built-in text begins with these words.
const Opening kOpenings[78] = {
    {"Aries-Aries", "Aries and Aries have a quick and"},
    {"Aries-Taurus", "Aries and Taurus do not make a"},
    {"Aries-Gemini", "An Aries and Gemini is usually a"},
    {"Aries-Cancer", "Adjustment and compromise is the key word"},
    {"Aries-Leo", "Personal egos are high flying in both"},
    {"Aries-Virgo", "Your way of leading life, your personal"},
    {"Aries-Libra", "Though both of you are very much"},
    {"Aries-Scorpio", "In spite of some personal as well"},
    {"Aries-Sagittarius", "In matters related to emotions and dependency"},
    {"Aries-Capricorn", "Both of you are self-sufficient, independent and"},
    {"Aries-Aquarius", "Compromise lacks within both of you. Both"},
    {"Aries-Pisces", "Pisces is an intrinsically submissive character, and"},
    {"Taurus-Taurus", "Your emotional needs and natural responses to"},
    {"Taurus-Gemini", "It is basically found that at times"},
    {"Taurus-Cancer", "The best part about a Taurus and"},
    {"Taurus-Leo", "Taurus is initially attracted by the Leo’s"},
    {"Taurus-Virgo", "Both Taurus and Virgo are practically oriented"},
    {"Taurus-Libra", "Simple are tastes of Taurus; while Librans"},
    {"Taurus-Scorpio", "Both the Taurus and the Scorpio zodiac"},
    {"Taurus-Sagittarius", "Each one of you feels the strong"},
    {"Taurus-Capricorn", "The Taurus and Capricorn individuals seem to"},
    {"Taurus-Aquarius", "The Aquarius individual works to fulfill his/her"},
    {"Taurus-Pisces", "Though you both are very much different"},
    {"Gemini-Gemini", "Wit, zestful nature and intelligence of both"},
    {"Gemini-Cancer", "Cancer is very domestic loves the familiar"},
    {"Gemini-Leo", "You both always try and complement and"},
    {"Gemini-Virgo", "Activeness and inclination to try to do"},
    {"Gemini-Libra", "Both the Gemini and the Libra are"},
    {"Gemini-Scorpio", "Scorpio is very demanding and has a"},
    {"Gemini-Sagittarius", "The two of you are completely different"},
    {"Gemini-Capricorn", "In spite of the fact that you"},
    {"Gemini-Aquarius", "As far as emotions are concerned, both"},
    {"Gemini-Pisces", "The two of you can go on"},
    {"Cancer-Cancer", "A Cancer’s pairing with another Cancer is"},
    {"Cancer-Leo", "Leo is always arrogant and self-centered and"},
    {"Cancer-Virgo", "For the Virgo who is guided by"},
    {"Cancer-Libra", "Both of you try your level best"},
    {"Cancer-Scorpio", "Cancer and Scorpio, in the moon sign"},
    {"Cancer-Sagittarius", "The relationship between a Cancer and a"},
    {"Cancer-Capricorn", "The typical Capricorn devotes the major part"},
    {"Cancer-Aquarius", "Strong concern for the people around you"},
    {"Cancer-Pisces", "The two of you are very much"},
    {"Leo-Leo", "Both the Leo partners have strong dominating"},
    {"Leo-Virgo", "Virgo’s good qualities are often not noticeable"},
    {"Leo-Libra", "Both Libra and Leo partners have exceptional"},
    {"Leo-Scorpio", "The primary problem with a Scorpio and"},
    {"Leo-Sagittarius", "Both of you are basically of friendly"},
    {"Leo-Capricorn", "Leo and Capricorn are personalities that are"},
    {"Leo-Aquarius", "Leo always wants to be the Best"},
    {"Leo-Pisces", "Leo’s basic nature is very much vibrant"},
    {"Virgo-Virgo", "Both the Virgo partners share a common"},
    {"Virgo-Libra", "What attracts Virgo to Libra is probably"},
    {"Virgo-Scorpio", "Both these signs have a probing and"},
    {"Virgo-Sagittarius", "Challenge is the keyword in your relationship"},
    {"Virgo-Capricorn", "Understanding between the two of you is"},
    {"Virgo-Aquarius", "A major point of difference between the"},
    {"Virgo-Pisces", "The only one, who has a strong"},
    {"Libra-Libra", "A partnership between two Libra individuals means"},
    {"Libra-Scorpio", "Libra is basically a very friendly, sociable"},
    {"Libra-Sagittarius", "The Sagittarius is a happy-go-lucky person, and"},
    {"Libra-Capricorn", "Libra is a warm and affectionate person"},
    {"Libra-Aquarius", "The bond between Libra and Aquarius initially"},
    {"Libra-Pisces", "You both are peace loving and crave"},
    {"Scorpio-Scorpio", "Scorpios boast of some extremely violent likes"},
    {"Scorpio-Sagittarius", "The primary clash between the two of"},
    {"Scorpio-Capricorn", "Both are very quiet and introvert sort"},
    {"Scorpio-Aquarius", "The problem with a Scorpio and Aquarius"},
    {"Scorpio-Pisces", "Both of you have an excellent sixth"},
    {"Sagittarius-Sagittarius", "Both the Sagittarius partners are very comfortable"},
    {"Sagittarius-Capricorn", "Your two moon signs are compatible in"},
    {"Sagittarius-Aquarius", "When it comes to family and friends"},
    {"Sagittarius-Pisces", "Both the Sagittarius and Pisces zodiac individuals"},
    {"Capricorn-Capricorn", "Capricorns as partners obviously share the same"},
    {"Capricorn-Aquarius", "Your emotional needs and demands and your"},
    {"Capricorn-Pisces", "Both of your temperament, moods and emotional"},
    {"Aquarius-Aquarius", "Aquarians as partners are mentally very compatible"},
    {"Aquarius-Pisces", "Your emotional rhythms and temperaments are a"},
    {"Pisces-Pisces", "Pisces partners should ideally know each other"},
};

std::size_t CharacterCount(std::string_view s)
{
    std::size_t count = 0;
    for (const char c : s)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

class Compatibility : public ::testing::Test {
protected:
    void SetUp() override { LoadCompatibilityTable(table); }

    CompatibilityResult LookUp(std::string_view man, std::string_view woman)
    {
        CompatibilityResult r;
        LookUpPair(table, man, woman, r);
        return r;
    }

    CompatibilityTable table;
};

} // namespace

TEST_F(Compatibility, KnownPairs)
{
    struct Row { const char *man, *woman, *rating, *percent, *verdict; };
    const Row rows[] = {
        {"Aries", "Taurus", "6", "60", "An Easy Match"},
        {"Taurus", "Aries", "7", "70", "A Great Match"},
        {"Aries", "Pisces", "4", "40", "A Difficult Match"},
        {"Pisces", "Aries", "7", "70", "A Great Match"},
        {"Leo", "Leo", "1", "10", "A Poor Match"},
        {"Taurus", "Virgo", "10", "100", "An Excellent Match"},
        {"Gemini", "Aries", "8", "80", "A Great Match"},
        {"Aries", "Sagittarius", "9", "90", "An Excellent Match"},
        {"Aries", "Leo", "7", "70", "A Great Match"},
        {"Leo", "Aries", "9", "90", "An Excellent Match"},
    };
    for (const Row &r : rows) {
        const CompatibilityResult result = LookUp(r.man, r.woman);
        EXPECT_EQ(result.CompatRating, r.rating) << r.man << '-' << r.woman;
        EXPECT_EQ(result.CompatPercent, r.percent) << r.man << '-' << r.woman;
        EXPECT_EQ(result.CompatVerdict, r.verdict) << r.man << '-' << r.woman;
        EXPECT_FALSE(result.CompatText.empty()) << r.man << '-' << r.woman;
    }
}

TEST_F(Compatibility, OnlySixPairsRateDifferentlyByOrder)
{
    const std::set<std::pair<std::string, std::string>> asymmetric{
        {"Aries", "Taurus"}, {"Aries", "Gemini"}, {"Aries", "Cancer"},
        {"Aries", "Leo"}, {"Aries", "Pisces"}, {"Taurus", "Pisces"}};
    for (std::size_t a = 0; a < 12; ++a) {
        for (std::size_t b = a + 1; b < 12; ++b) {
            const bool differs = table.PairRating[a][b] != table.PairRating[b][a];
            const bool listed = asymmetric.count({std::string(Signs[a].Name), std::string(Signs[b].Name)}) > 0;
            EXPECT_EQ(differs, listed) << Signs[a].Name << '-' << Signs[b].Name;
            // Both orders always share the text, Aries with Pisces included.
            EXPECT_EQ(table.PairText[a][b], table.PairText[b][a]) << Signs[a].Name << '-' << Signs[b].Name;
        }
    }
}

TEST_F(Compatibility, TextsOpenAsListedAndStayWithinLength)
{
    const auto entries = BuiltInInterpretations();
    std::set<std::string_view> distinct;
    for (std::size_t i = 0; i < 78; ++i) {
        const InterpretationEntry &e = entries[i];
        SCOPED_TRACE(kOpenings[i].key);
        EXPECT_EQ(e.Key, kOpenings[i].key);
        EXPECT_EQ(e.Text.substr(0, std::string_view(kOpenings[i].words).size()), kOpenings[i].words);
        EXPECT_GE(CharacterCount(e.Text), 542u);
        EXPECT_LE(CharacterCount(e.Text), 1075u);
        EXPECT_EQ(e.Text.find_first_of("\r\n\t"), std::string_view::npos);
        distinct.insert(e.Text);

        const std::string key(e.Key);
        const std::size_t dash = key.find('-');
        const CompatibilityResult r = LookUp(key.substr(0, dash), key.substr(dash + 1));
        EXPECT_EQ(r.CompatText, e.Text);
    }
    EXPECT_EQ(distinct.size(), 78u);
}

TEST_F(Compatibility, UnknownNamesLeaveThePreviousResult)
{
    CompatibilityResult r;
    LookUpPair(table, "Cancer", "Pisces", r);
    const CompatibilityResult before = r;
    for (const auto &[man, woman] : std::initializer_list<std::pair<const char *, const char *>>{
             {"aries", "Leo"}, {"Aries", "leo"}, {"Aires", "Leo"}, {"", ""}, {"Aries-Leo", ""}, {"Aries ", "Leo"}}) {
        LookUpPair(table, man, woman, r);
        EXPECT_EQ(r.CompatText, before.CompatText) << man << '/' << woman;
        EXPECT_EQ(r.CompatRating, "10");
        EXPECT_EQ(r.CompatPercent, "100");
        EXPECT_EQ(r.CompatVerdict, "An Excellent Match");
    }
    // In a fresh run nothing has been found yet.
    CompatibilityResult fresh;
    LookUpPair(table, "aries", "leo", fresh);
    EXPECT_TRUE(fresh.CompatText.empty() && fresh.CompatRating.empty() && fresh.CompatVerdict.empty());
}

TEST_F(Compatibility, RefillingGivesTheSameTable)
{
    const CompatibilityResult first = LookUp("Virgo", "Capricorn");
    const CompatibilityTable copy = table;
    LoadCompatibilityTable(table);
    EXPECT_EQ(table.PairKey, copy.PairKey);
    EXPECT_EQ(table.PairRating, copy.PairRating);
    EXPECT_EQ(table.PairText, copy.PairText);
    const CompatibilityResult second = LookUp("Virgo", "Capricorn");
    EXPECT_EQ(first.CompatText, second.CompatText);
    EXPECT_EQ(first.CompatVerdict, second.CompatVerdict);
}

TEST_F(Compatibility, RatingConversionsOnOddRatings)
{
    struct Row { const char *rating; const char *percent; const char *verdict; };
    const Row rows[] = {
        {"1", "10", "A Poor Match"},
        {"10", "100", "An Excellent Match"},
        {"4.5", "45", "A Difficult Match"}, // half to even: 4
        {"5.5", "55", "An Easy Match"},     // half to even: 6
        {"0", "0", nullptr},
        {"11", "110", nullptr},
        {"", "0", nullptr},
        {"abc", "0", nullptr},
        {"-3", "-30", nullptr},
        {"7 stars", "70", "A Great Match"},
    };
    for (const Row &r : rows) {
        EXPECT_EQ(PercentFromRating(r.rating), r.percent) << r.rating;
        CompatibilityResult result;
        result.CompatVerdict = "previous";
        const std::string returned = VerdictFromRating(r.rating, table, result);
        const std::string expected = r.verdict ? r.verdict : "previous";
        EXPECT_EQ(result.CompatVerdict, expected) << r.rating;
        EXPECT_EQ(returned, expected) << r.rating;
    }
}
