#include "astro/western_planet_position.h"

#include <cstring>
#include <utility>

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

// Position of the first two-byte degree sign, or npos.
std::size_t FindDegreeSign(std::string_view s)
{
    for (std::size_t k = 0; k + 1 < s.size(); ++k) {
        if (s[k] == '\xC2' && s[k + 1] == '\xB0')
            return k;
    }
    return std::string_view::npos;
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

void WriteShortPosition(std::string_view longText, std::string &out)
{
    const std::string_view t = TrimBlanks(longText);
    const std::size_t p = FindDegreeSign(t);

    // A text without both separators yields empty pieces rather than reading
    // outside it.
    std::string_view degrees;
    std::string_view minutes;
    if (p != std::string_view::npos) {
        degrees = TrimBlanks(t.substr(0, p));
        const std::size_t minutesStart = p + 2;
        // The first apostrophe anywhere; one before the minutes means none.
        std::size_t q = 0;
        while (q < t.size() && t[q] != '\'')
            ++q;
        if (q < t.size() && q > minutesStart)
            minutes = TrimBlanks(t.substr(minutesStart, q - minutesStart));
    }
    const std::string_view abbreviation = TrimBlanks(LastThreeCharacters(longText));

    const bool padDegrees = NeedsPadding(degrees);
    const bool padMinutes = NeedsPadding(minutes);
    const std::size_t size = padDegrees + degrees.size() + abbreviation.size() + padMinutes + minutes.size() + 2;

    // The pieces may view the output itself, so they are copied out first.
    char small[64];
    std::string large;
    char *begin = small;
    if (size > sizeof small) {
        large.resize(size);
        begin = large.data();
    }
    char *cursor = begin;
    const auto put = [&cursor](std::string_view piece) {
        if (!piece.empty())
            std::memcpy(cursor, piece.data(), piece.size());
        cursor += piece.size();
    };
    if (padDegrees)
        *cursor++ = '0';
    put(degrees);
    *cursor++ = ' ';
    put(abbreviation);
    *cursor++ = ' ';
    if (padMinutes)
        *cursor++ = '0';
    put(minutes);

    if (size > sizeof small)
        out = std::move(large);
    else
        out.assign(small, size);
}

} // namespace

std::string ShortPosition(std::string_view longText)
{
    std::string result;
    WriteShortPosition(longText, result);
    return result;
}

void WesternPlanetPosition::BuildPositionList(std::string_view moonPositionText)
{
    // Writing in place keeps the entry's buffer from one person to the next.
    WriteShortPosition(moonPositionText, m_positionList[MoonEntry]);
}
