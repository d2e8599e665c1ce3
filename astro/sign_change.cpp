#include "astro/sign_change.h"

#include "astro/western_ephemeris.h"

#include <cmath>

namespace {

constexpr int kLastMinute = 24 * 60 - 1;
// Well under the shortest time the Moon spends in a sign, so no change can
// hide between two samples.
constexpr int kStepMinutes = 10;

// Days from 1970-01-01 to a Gregorian date, and back (H. Hinnant's rules).
long long daysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int &year, int &month, int &day)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<long long>(yoe) + era * 400 + (month <= 2));
}

} // namespace

std::vector<SignSpan> SignSpansOnDay(int year, int month, int day, double zoneCorrectionHours, bool daylightSaving)
{
    const double dayNumber = JulianDayNumber(month, day, year);
    // The sign the reading would give for a birth at this minute of the day.
    const auto signAt = [&](int minuteOfDay) {
        const double ut = UniversalTimeHours(minuteOfDay / 60.0, zoneCorrectionHours, daylightSaving);
        return static_cast<int>(MoonLongitude(JulianCenturies(dayNumber, ut)) / 30.0);
    };

    std::vector<SignSpan> spans{{signAt(0), 0, kLastMinute}};
    int before = 0;
    for (int at = kStepMinutes;; at = std::min(at + kStepMinutes, kLastMinute)) {
        if (const int next = signAt(at); next != spans.back().signIndex) {
            // before still reads the old sign, at the new one: narrow to one minute.
            int low = before, high = at;
            while (high - low > 1) {
                const int mid = low + (high - low) / 2;
                (signAt(mid) == spans.back().signIndex ? low : high) = mid;
            }
            spans.back().lastMinute = low;
            spans.push_back({next, high, kLastMinute});
        }
        before = at;
        if (at == kLastMinute)
            break;
    }
    return spans;
}

CivilMoment UniversalMoment(int year, int month, int day, double universalTimeHours)
{
    const long long seconds = std::llround(universalTimeHours * 3600.0);
    const long long dayShift = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    const long long inDay = seconds - dayShift * 86400;
    CivilMoment m;
    civilFromDays(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + dayShift, m.year,
                  m.month, m.day);
    m.hour = static_cast<int>(inDay / 3600);
    m.minute = static_cast<int>(inDay / 60 % 60);
    m.second = static_cast<int>(inDay % 60);
    return m;
}
