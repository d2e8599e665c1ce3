#pragma once

#include "astro/signs.h"

#include <array>
#include <string>
#include <string_view>

// Rows are the man's Moon sign, columns the woman's.
struct CompatibilityTable {
    using Grid = std::array<std::array<std::string, 12>, 12>;
    Grid PairKey;
    Grid PairRating;
    Grid PairText;
    std::array<std::string, 11> VerdictText; // indexed by rating 1..10
};

// The outcome of the latest successful look-up; empty until then.
struct CompatibilityResult {
    std::string CompatText;
    std::string CompatRating;
    std::string CompatPercent;
    std::string CompatVerdict;
};

// Fills all four tables from the built-in data; filling again changes nothing.
void LoadCompatibilityTable(CompatibilityTable &table);

// Looks up "man-woman" by exact, case-sensitive names. An unknown key leaves
// the result as it was.
void LookUpPair(const CompatibilityTable &table, std::string_view maleMoonSign,
                std::string_view femaleMoonSign, CompatibilityResult &result);

// The 78 interpretation texts as built into the program, keyed by the two
// sign names in table order ("Aries-Taurus"); exposed for checks of the data.
struct InterpretationEntry {
    std::string_view Key;
    std::string_view Text;
};
std::array<InterpretationEntry, 78> BuiltInInterpretations();
