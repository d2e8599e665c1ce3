#pragma once

#include <array>
#include <optional>
#include <string_view>

struct SignName {
    std::string_view Abbreviation;
    std::string_view Name;
};

// Sign names in the shared order, Aries to Pisces.
inline constexpr std::array<SignName, 12> SignNameTable{{
    {"Ari", "Aries"},
    {"Tau", "Taurus"},
    {"Gem", "Gemini"},
    {"Can", "Cancer"},
    {"Leo", "Leo"},
    {"Vir", "Virgo"},
    {"Lib", "Libra"},
    {"Sco", "Scorpio"},
    {"Sag", "Sagittarius"},
    {"Cap", "Capricorn"},
    {"Aqu", "Aquarius"},
    {"Pis", "Pisces"},
}};

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
