#include "astro/western_planet_position.h"

namespace {

constexpr std::string_view kDegreeSign = "\u00B0";

std::string_view TrimBlanks(std::string_view s)
{
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}

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

std::size_t CharacterCount(std::string_view s)
{
    std::size_t count = 0;
    for (const char c : s)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

std::string PadToTwo(std::string_view piece)
{
    std::string out(piece);
    if (CharacterCount(out) <= 1)
        out.insert(out.begin(), '0');
    return out;
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

    std::string result = PadToTwo(degrees);
    result += ' ';
    result += abbreviation;
    result += ' ';
    result += PadToTwo(minutes);
    return result;
}

void WesternPlanetPosition::BuildPositionList(std::string_view moonPositionText)
{
    m_positionList[MoonEntry] = ShortPosition(moonPositionText);
}
