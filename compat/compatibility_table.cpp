#include "compat/compatibility_table.h"

#include "compat/rating_conversions.h"

#include <cstddef>

extern const char kInterpretationsTsv[];
extern const std::size_t kInterpretationsTsv_size;

namespace {

// Rows: the man's Moon sign; columns: the woman's. Six pairs rate
// differently by order, so the table is not symmetric.
constexpr int kRatings[12][12] = {
    {3, 6, 6, 2, 7, 6, 4, 6, 9, 6, 6, 4},
    {7, 2, 4, 8, 6, 10, 7, 6, 3, 9, 3, 7},
    {8, 4, 2, 4, 8, 6, 10, 4, 7, 4, 9, 6},
    {3, 8, 4, 5, 7, 8, 5, 8, 4, 8, 4, 10},
    {9, 6, 8, 7, 1, 5, 7, 4, 10, 5, 7, 6},
    {6, 10, 6, 8, 5, 1, 6, 7, 5, 9, 7, 4},
    {4, 7, 10, 5, 7, 6, 2, 6, 7, 4, 9, 6},
    {6, 6, 4, 8, 4, 7, 6, 2, 4, 7, 3, 10},
    {9, 3, 7, 4, 10, 5, 7, 4, 3, 5, 8, 4},
    {6, 9, 4, 8, 5, 9, 4, 7, 5, 6, 7, 2},
    {6, 3, 9, 4, 7, 7, 9, 3, 8, 7, 5, 4},
    {7, 4, 6, 10, 6, 4, 6, 10, 4, 2, 4, 3},
};

constexpr std::array<std::string_view, 11> kVerdicts{
    "",
    "A Poor Match", "A Poor Match",
    "A Difficult Match", "A Difficult Match",
    "An Easy Match", "An Easy Match",
    "A Great Match", "A Great Match",
    "An Excellent Match", "An Excellent Match"};

} // namespace

std::array<InterpretationEntry, 78> BuiltInInterpretations()
{
    // One line per unordered pair: KEY, a tab, the text.
    std::array<InterpretationEntry, 78> entries{};
    const std::string_view data(kInterpretationsTsv, kInterpretationsTsv_size);
    std::size_t count = 0;
    std::size_t start = 0;
    while (start < data.size() && count < entries.size()) {
        std::size_t end = data.find('\n', start);
        if (end == std::string_view::npos)
            end = data.size();
        std::string_view line = data.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t tab = line.find('\t');
        if (tab != std::string_view::npos)
            entries[count++] = {line.substr(0, tab), line.substr(tab + 1)};
        start = end + 1;
    }
    return entries;
}

void LoadCompatibilityTable(CompatibilityTable &table)
{
    for (std::size_t a = 0; a < 12; ++a) {
        for (std::size_t b = 0; b < 12; ++b) {
            table.PairKey[a][b] = std::string(Signs[a].Name) + "-" + std::string(Signs[b].Name);
            table.PairRating[a][b] = std::to_string(kRatings[a][b]);
            table.PairText[a][b].clear();
        }
    }
    // Both orders of a pair share its text. Man Aries with woman Pisces reads
    // the same text as the reverse order rather than an empty analysis.
    for (const InterpretationEntry &entry : BuiltInInterpretations()) {
        const std::size_t dash = entry.Key.find('-');
        if (dash == std::string_view::npos)
            continue;
        const int a = SignIndexOfName(entry.Key.substr(0, dash));
        const int b = SignIndexOfName(entry.Key.substr(dash + 1));
        if (a < 0 || b < 0)
            continue;
        table.PairText[static_cast<std::size_t>(a)][static_cast<std::size_t>(b)] = std::string(entry.Text);
        table.PairText[static_cast<std::size_t>(b)][static_cast<std::size_t>(a)] = std::string(entry.Text);
    }
    for (std::size_t r = 0; r < kVerdicts.size(); ++r)
        table.VerdictText[r] = std::string(kVerdicts[r]);
}

void LookUpPair(const CompatibilityTable &table, std::string_view maleMoonSign,
                std::string_view femaleMoonSign, CompatibilityResult &result)
{
    std::string key(maleMoonSign);
    key += '-';
    key += femaleMoonSign;
    for (std::size_t a = 0; a < 12; ++a) {
        for (std::size_t b = 0; b < 12; ++b) {
            if (table.PairKey[a][b] != key)
                continue;
            result.CompatText = table.PairText[a][b];
            result.CompatRating = table.PairRating[a][b];
            result.CompatPercent = PercentFromRating(result.CompatRating);
            result.CompatVerdict = VerdictFromRating(result.CompatRating, table, result);
        }
    }
}
