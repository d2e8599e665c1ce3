#pragma once

#include <cstdint>

// One person's birth record as the engine reads it. ZoneHours and ZoneMinutes
// carry the signed correction from local clock time towards Universal Time
// (the amount to add to the local time), exactly as the zone table stores it.
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
};
