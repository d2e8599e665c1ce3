#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

struct ZoneRow {
    std::string_view ListText;
    std::int16_t Hours;
    std::int16_t Minutes;
};

inline constexpr std::size_t ZoneCount = 71;
inline constexpr int GreenwichZonePosition = 29;

extern const std::array<ZoneRow, ZoneCount> ZoneCorrectionTable;

// The signed correction from local time towards Universal Time; minutes and
// seconds always carry the sign of the hours. Reads as 0 before the first
// reading. Only an exact offset from the atlas has seconds.
struct ZoneCorrection {
    std::int16_t Hours = 0;
    std::int16_t Minutes = 0;
    std::int16_t Seconds = 0;
};

// Sets the correction from the row at a 0-based list position; any other
// position leaves it unchanged.
void ZoneCorrectionFromPosition(int position, ZoneCorrection &correction);

// The correction for a clock that runs offsetSeconds ahead of Universal Time
// (negative west of Greenwich), to the second.
ZoneCorrection ZoneCorrectionFromOffset(int offsetSeconds);
