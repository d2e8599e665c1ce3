#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// The twelve signs in the shared order, Aries (index 0) to Pisces (11): the
// three-letter abbreviation the engine writes, the name every window and
// table uses, and the name of the sign's built-in picture. Every other list
// of signs in the program is read from this one.
struct Sign {
    std::string_view Abbreviation;
    std::string_view Name;
    std::string_view Picture;
};

inline constexpr std::array<Sign, 12> Signs{{
    {"Ari", "Aries", "aries"},
    {"Tau", "Taurus", "taurus"},
    {"Gem", "Gemini", "gemini"},
    {"Can", "Cancer", "cancer"},
    {"Leo", "Leo", "leo"},
    {"Vir", "Virgo", "virgo"},
    {"Lib", "Libra", "libra"},
    {"Sco", "Scorpio", "scorpio"},
    {"Sag", "Sagittarius", "sagittarius"},
    {"Cap", "Capricorn", "capricorn"},
    {"Aqu", "Aquarius", "aquarius"},
    {"Pis", "Pisces", "pisces"},
}};

// The index of a sign by its exact, case-sensitive name; -1 for none.
constexpr int SignIndexOfName(std::string_view name)
{
    for (std::size_t i = 0; i < Signs.size(); ++i) {
        if (Signs[i].Name == name)
            return static_cast<int>(i);
    }
    return -1;
}

namespace detail {
constexpr std::array<char, 36> JoinedAbbreviations()
{
    std::array<char, 36> joined{};
    std::size_t at = 0;
    for (const Sign &sign : Signs) {
        for (char c : sign.Abbreviation)
            joined[at++] = c;
    }
    return joined;
}
inline constexpr std::array<char, 36> kJoinedAbbreviations = JoinedAbbreviations();
} // namespace detail
