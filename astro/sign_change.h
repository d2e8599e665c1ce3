#pragma once

#include <vector>

// The stretches of a birth's local civil day in which a birth gives one
// Moon sign: for the minutes a birth can be typed at, 00:00 to 23:59, on
// one clock (the reading's rule: UT = local clock time + the zone's
// correction, one hour less with daylight saving). The Moon needs about two
// and a half days per sign, so a day has one stretch or two.
struct SignSpan {
    int signIndex = 0;   // 0 Aries .. 11 Pisces
    int firstMinute = 0; // of the day: 0 is 00:00
    int lastMinute = 0;  // the last minute of the stretch, 1439 at the most
    bool operator==(const SignSpan &) const = default;
};

std::vector<SignSpan> SignSpansOnDay(int year, int month, int day, double zoneCorrectionHours, bool daylightSaving);

// A moment on the civil calendar, to the second.
struct CivilMoment {
    int year = 0, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    bool operator==(const CivilMoment &) const = default;
};

// The Universal Time the engine works with, given as hours on the local
// calendar date (below 0 or from 24 for the day before or after), as a
// moment of its own calendar day, rounded to the second.
CivilMoment UniversalMoment(int year, int month, int day, double universalTimeHours);
