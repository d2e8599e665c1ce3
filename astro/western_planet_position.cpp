#include "astro/western_planet_position.h"

namespace {

std::string_view TrimBlanks(std::string_view s)
{
    std::size_t first = 0;
    std::size_t last = s.size();
    while (first < last && s[first] == ' ')
        ++first;
    while (last > first && s[last - 1] == ' ')
        --last;
    return s.substr(first, last - first);
}

constexpr std::string_view kDegreeSign = "\u00B0";

// The last three characters of a UTF-8 text, never splitting a character.
std::string_view LastThreeCharacters(std::string_view s)
{
    std::size_t start = s.size();
    for (int count = 0; count < 3 && start > 0;) {
        --start;
        if ((static_cast<unsigned char>(s[start]) & 0xC0) != 0x80)
            ++count;
    }
    return s.substr(start);
}

// True when the piece has at most one character and so needs a leading zero.
bool NeedsPadding(std::string_view s)
{
    std::size_t count = 0;
    for (const char c : s) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (count > 1)
            return false;
    }
    return true;
}

} // namespace

std::string ShortPosition(std::string_view longText)
{
    const std::string_view t = TrimBlanks(longText);
    const std::size_t p = t.find(kDegreeSign);
    const std::size_t q = t.find('\'');

    // A text without both separators yields empty pieces rather than reading
    // outside it.
    std::string_view degrees;
    std::string_view minutes;
    if (p != std::string_view::npos) {
        degrees = TrimBlanks(t.substr(0, p));
        const std::size_t minutesStart = p + kDegreeSign.size();
        if (q != std::string_view::npos && q > minutesStart)
            minutes = TrimBlanks(t.substr(minutesStart, q - minutesStart));
    }
    const std::string_view abbreviation = TrimBlanks(LastThreeCharacters(longText));

    // Nine characters for every engine text: short enough to need no heap.
    std::string result;
    if (NeedsPadding(degrees))
        result += '0';
    result += degrees;
    result += ' ';
    result += abbreviation;
    result += ' ';
    if (NeedsPadding(minutes))
        result += '0';
    result += minutes;
    return result;
}

void WesternPlanetPosition::BuildPositionList(std::string_view moonPositionText)
{
    m_positionList[MoonEntry] = ShortPosition(moonPositionText);
}
