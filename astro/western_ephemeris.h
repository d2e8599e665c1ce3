#pragma once

#include "astro/birth_input.h"
#include "astro/signs.h"

#include <string>
#include <string_view>

// The Moon's tropical longitude from a birth record, and its position text
// ("13° 18' 57\" Sco"). All arithmetic is in double precision.

// One unit in the last place above the nearest double to pi/180. The series
// was tuned with this constant, so it must not be replaced by std::numbers.
inline constexpr double DegToRad = 0.0174532925199433;

// Twelve three-letter abbreviations, Aries to Pisces, one after the other:
// "AriTauGem...Pis".
inline constexpr std::string_view SignAbbreviations{detail::kJoinedAbbreviations.data(),
                                                    detail::kJoinedAbbreviations.size()};

// Julian day number of a civil date (1 January 2000 gives 2451545).
double JulianDayNumber(int month, int day, int year);

// UT in hours: local clock time plus the signed zone correction, one hour
// less when daylight saving was in force. Not reduced to 0..24: the day
// overflow is absorbed by the time argument.
double UniversalTimeHours(double localClockHours, double zoneCorrectionHours, bool isDaylightSaving);

// Julian centuries from J2000.0 (1 January 2000, 12:00 UT).
double JulianCenturies(double julianDayNumber, double universalTimeHours);

// Whole turns removed, the result in [0, 360).
double NormalizeDegrees(double angle);

// Geocentric ecliptic longitude of the Moon, degrees in [0, 360), from a
// truncated 25-term periodic series.
double MoonLongitude(double T);

// Degrees within the sign, minutes and truncated seconds, then the sign's
// abbreviation. A longitude of 360 or more names no sign.
std::string FormatPosition(double longitude);

// A longitude's place within its sign: the sign (12 for a longitude of 360,
// which names none), whole degrees and whole minutes, truncated as in the
// position text.
struct PositionInSign {
    int signIndex = 0;
    int degrees = 0;
    int minutes = 0;
};
PositionInSign SignPositionOf(double longitude);

// Runs one person's computation and keeps the resulting position text,
// and what it was worked out from: Universal Time in hours on the local
// calendar date (below 0 or from 24 when the instant falls on a day beside
// it), and the Moon's longitude.
class WesternEphemeris {
public:
    void ComputeMoonPosition(const BirthInput &input);
    const std::string &MoonPositionText() const { return m_moonPositionText; }

    double UniversalTime() const { return m_universalTime; }
    double Longitude() const { return m_longitude; }

private:
    std::string m_moonPositionText;
    double m_universalTime = 0.0;
    double m_longitude = 0.0;
};
