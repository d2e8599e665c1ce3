#pragma once

#include <cstdint>

// One person's birth record as the engine reads it. ZoneHours, ZoneMinutes and
// ZoneSeconds carry the signed correction from local clock time towards
// Universal Time (the amount to add to the local time), all with one sign.
// The zone list's rows have no seconds; an exact offset from the atlas may.
struct BirthInput {
    std::int16_t Month = 1;
    std::int16_t Day = 1;
    std::int16_t Year = 2000;
    std::int16_t Hour = 0;
    std::int16_t Minute = 0;
    std::int16_t ZoneHours = 0;
    std::int16_t ZoneMinutes = 0;
    std::int16_t LonDegrees = 0;
    std::int16_t LonMinutes = 0;
    std::int16_t LatDegrees = 0;
    std::int16_t LatMinutes = 0;
    bool IsEast = true;
    bool IsSouth = false;
    bool IsDaylightSaving = false;
    std::int16_t ZoneSeconds = 0;
};

// The record's zone correction in decimal hours.
inline double ZoneCorrectionInHours(const BirthInput &input)
{
    return input.ZoneHours + input.ZoneMinutes / 60.0 + input.ZoneSeconds / 3600.0;
}
