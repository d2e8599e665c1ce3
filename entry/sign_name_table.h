#pragma once

#include "astro/signs.h"

#include <optional>
#include <string_view>

// Abbreviation to sign name, in the shared order, Aries to Pisces.
using SignName = Sign;
inline constexpr const std::array<Sign, 12> &SignNameTable = Signs;

// Exact, case-sensitive look-up; nothing for an unknown abbreviation.
constexpr std::optional<std::string_view> SignNameFromAbbreviation(std::string_view abbreviation)
{
    for (const SignName &row : SignNameTable) {
        if (row.Abbreviation == abbreviation)
            return row.Name;
    }
    return std::nullopt;
}

// The sign named by characters 4 to 6 of a short position text.
constexpr std::optional<std::string_view> SignNameFromShortPosition(std::string_view shortText)
{
    if (shortText.size() < 6)
        return std::nullopt;
    return SignNameFromAbbreviation(shortText.substr(3, 3));
}
