#pragma once

#include <array>
#include <string>
#include <string_view>

// Short position text: two-character degrees, a blank, the abbreviation, a
// blank, two-character minutes ("13 Sco 18"). Characters 4 to 6 name the sign.
std::string ShortPosition(std::string_view longText);

// Fourteen slots, one per body; entry 1 belongs to the Moon and is the only
// one the program fills.
class WesternPlanetPosition {
public:
    static constexpr std::size_t MoonEntry = 1;

    void BuildPositionList(std::string_view moonPositionText);
    const std::array<std::string, 14> &PositionList() const { return m_positionList; }

private:
    std::array<std::string, 14> m_positionList;
};
