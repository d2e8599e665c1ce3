#include "astro/sign_change.h"

#include "astro/western_ephemeris.h"
#include "entry/sign_name_table.h"

#include <cstdio>

namespace {

// 24:00 is sampled too, so a change in the day's last minute is not lost
// between this day and the next.
constexpr int kEndOfDay = 24 * 60;
// Well under the shortest time the Moon spends in a sign, so no change can
// hide between two samples.
constexpr int kStepMinutes = 10;
static_assert(kEndOfDay % kStepMinutes == 0);

} // namespace

SignChange FindSignChangeOnDay(int year, int month, int day, double zoneCorrectionHours, bool daylightSaving)
{
    const double dayNumber = JulianDayNumber(month, day, year);
    // The sign the reading would give for a birth at this minute of the day.
    const auto signAt = [&](int minuteOfDay) {
        const double ut = UniversalTimeHours(minuteOfDay / 60.0, zoneCorrectionHours, daylightSaving);
        return static_cast<int>(MoonLongitude(JulianCenturies(dayNumber, ut)) / 30.0);
    };

    const int first = signAt(0);
    int before = 0;
    for (int at = kStepMinutes; at <= kEndOfDay; at += kStepMinutes) {
        if (const int next = signAt(at); next != first) {
            // before still reads the old sign, at the new one: narrow to one minute.
            while (at - before > 1) {
                const int mid = before + (at - before) / 2;
                (signAt(mid) == first ? before : at) = mid;
            }
            return {true, next, before / 60, before % 60};
        }
        before = at;
    }
    return {false, first, 0, 0};
}

std::string SignChangeNote(const SignChange &c)
{
    if (!c.changes || c.signIndexAfter < 0 || c.signIndexAfter >= static_cast<int>(SignNameTable.size()))
        return {};
    char clock[32];
    std::snprintf(clock, sizeof clock, "%02d:%02d", c.hour, c.minute);
    return "The Moon entered " + std::string(SignNameTable[static_cast<std::size_t>(c.signIndexAfter)].Name)
        + " at " + clock + " on this day; check the time of birth.";
}
