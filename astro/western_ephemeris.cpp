#include "astro/western_ephemeris.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace {

struct LongitudeTerm {
    double amplitude;
    bool timesE;
    int d, m, mp, f;
};

// The first 25 rows of the lunar longitude series, amplitudes in degrees.
// Near a sign boundary every term matters: none may be dropped or rounded.
constexpr std::array<LongitudeTerm, 25> kTerms{{
    {+6.288774, false, 0, 0, 1, 0},
    {+1.274027, false, 2, 0, -1, 0},
    {+0.658314, false, 2, 0, 0, 0},
    {+0.213618, false, 0, 0, 2, 0},
    {-0.185116, true, 0, 1, 0, 0},
    {-0.114332, false, 0, 0, 0, 2},
    {+0.058793, false, 2, 0, -2, 0},
    {+0.057066, true, 2, -1, -1, 0},
    {+0.053322, false, 2, 0, 1, 0},
    {+0.045758, true, 2, -1, 0, 0},
    {-0.040923, true, 0, 1, -1, 0},
    {-0.034720, false, 1, 0, 0, 0},
    {-0.030383, true, 0, 1, 1, 0},
    {+0.015327, false, 2, 0, 0, -2},
    {-0.012528, false, 0, 0, 1, 2},
    {+0.010980, false, 0, 0, 1, -2},
    {+0.010675, false, 4, 0, -1, 0},
    {+0.010034, false, 0, 0, 3, 0},
    {+0.008548, false, 4, 0, -2, 0},
    {-0.007888, true, 2, 1, -1, 0},
    {-0.006766, true, 2, 1, 0, 0},
    {-0.005163, false, 1, 0, -1, 0},
    {+0.004987, true, 1, 1, 0, 0},
    {+0.004036, true, 2, -1, 1, 0},
    {+0.003994, false, 2, 0, 2, 0},
}};

// Plain decimal form of a whole-valued double of any size.
std::string WholeNumber(double value)
{
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", value);
    return buffer;
}

} // namespace

double JulianDayNumber(int month, int day, int year)
{
    const double m = (static_cast<double>(year) + 4800.0) * 12.0 + month - 3.0;
    double j = day + std::floor((365.0 * m + 2.0 * (m - 12.0 * std::floor(m / 12.0)) + 7.0) / 12.0)
        + std::floor(m / 48.0) - 32083.0;
    // The Gregorian correction starts after this count of the Julian calendar.
    if (j > 2299171.0)
        j = j + std::floor(m / 4800.0) - std::floor(m / 1200.0) + 38.0;
    return j;
}

double UniversalTimeHours(double localClockHours, double zoneCorrectionHours, bool isDaylightSaving)
{
    // Daylight saving always sets the clocks ahead, so UT is an hour earlier.
    const double correction = isDaylightSaving ? zoneCorrectionHours - 1.0 : zoneCorrectionHours;
    return localClockHours + correction;
}

double JulianCenturies(double julianDayNumber, double universalTimeHours)
{
    return ((universalTimeHours / 24.0 + (julianDayNumber - 2451545.0)) - 0.5) / 36525.0;
}

double NormalizeDegrees(double angle)
{
    // fmod is exact, so this equals adding or subtracting whole turns one at
    // a time. A tiny negative remainder can round up to 360 itself, which is
    // the same point as 0 and must read as Aries.
    double a = std::fmod(angle, 360.0);
    if (a < 0.0)
        a += 360.0;
    if (a >= 360.0)
        a = 0.0;
    return a;
}

double MoonLongitude(double T)
{
    const double Lp = 218.3164591 + 481267.88134236 * T;
    const double D = (297.8502042 + 445267.1115168 * T) * DegToRad;
    const double M = (357.5291092 + 35999.0502909 * T) * DegToRad;
    const double Mp = (134.9634114 + 477198.8676313 * T) * DegToRad;
    const double F = (93.2720993 + 483202.0175273 * T) * DegToRad;
    const double E = (1.0 - 0.002516 * T) - 0.0000074 * T * T;

    double periodic = 0.0;
    for (const LongitudeTerm &term : kTerms) {
        const double argument = term.d * D + term.m * M + term.mp * Mp + term.f * F;
        double value = term.amplitude * std::sin(argument);
        if (term.timesE)
            value *= E;
        periodic += value;
    }
    return NormalizeDegrees(Lp + periodic);
}

std::string FormatPosition(double longitude)
{
    const double a = std::fabs(longitude);
    double g = std::floor(a);
    const double f = a - g;
    const double v = 60.0 * f;
    const double n = std::floor(v);
    const double r = v - n;
    const double i = std::floor(g / 30.0);
    g = std::fmod(g, 30.0);
    const double s = std::floor(60.0 * r);

    std::string abbreviation;
    if (i >= 0.0 && i < 12.0)
        abbreviation = SignAbbreviations.substr(static_cast<std::size_t>(i) * 3, 3);

    std::string text = WholeNumber(g);
    text += "\u00B0 ";
    text += WholeNumber(n);
    text += "' ";
    text += WholeNumber(s);
    text += "\" ";
    text += abbreviation;
    return text;
}

void WesternEphemeris::ComputeMoonPosition(const BirthInput &input)
{
    const double localClockHours = input.Hour + input.Minute / 60.0;
    const double zoneCorrection = input.ZoneHours + input.ZoneMinutes / 60.0;
    const double ut = UniversalTimeHours(localClockHours, zoneCorrection, input.IsDaylightSaving);
    const double dayNumber = JulianDayNumber(input.Month, input.Day, input.Year);
    const double T = JulianCenturies(dayNumber, ut);
    m_moonPositionText = FormatPosition(MoonLongitude(T));
}
