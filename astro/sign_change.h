#pragma once

#include <string>

// Whether the Moon changes sign during the local civil day of a birth. The
// Moon needs about two and a half days per sign, so a day holds at most one
// change.
struct SignChange {
    bool changes = false;
    // The sign entered (0 Aries .. 11 Pisces); the day's only sign when
    // nothing changes.
    int signIndexAfter = 0;
    // The local clock minute during which the Moon crosses into the new sign:
    // a birth typed at this minute still reads the old one, the next minute
    // the new one. 00:00 when nothing changes.
    int hour = 0, minute = 0;
};

// Uses the same UT rule as the reading: UT = local clock time + the zone's
// correction (hours, minutes as a fraction), one hour less with daylight
// saving. Each crossing belongs to the day on whose clock it happens, up to
// 24:00.
SignChange FindSignChangeOnDay(int year, int month, int day, double zoneCorrectionHours, bool daylightSaving);

// "The Moon entered Leo at 14:32 on this day; check the time of birth.", or
// empty when the sign does not change.
std::string SignChangeNote(const SignChange &c);
