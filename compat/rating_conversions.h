#pragma once

#include "compat/compatibility_table.h"

#include <string>
#include <string_view>

// The rating read as a number (its leading numeric text), times ten, in the
// shortest plain decimal form; no percent sign.
std::string PercentFromRating(std::string_view rating);

// Stores the verdict for the rating (rounded half to even) in
// result.CompatVerdict when it lies in 1..10, and returns the verdict held
// afterwards; any other rating leaves it unchanged.
std::string VerdictFromRating(std::string_view rating, const CompatibilityTable &table,
                              CompatibilityResult &result);

// Leading numeric value of a text: blanks, an optional sign, digits and an
// optional fraction; 0 when there is none.
double LeadingNumber(std::string_view text);
