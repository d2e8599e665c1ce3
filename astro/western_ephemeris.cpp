#include "astro/western_ephemeris.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// Multipliers are stored as doubles so that no conversion happens per call;
// small integers convert to the same values.
struct LongitudeTerm {
    double amplitude;
    bool timesE;
    double d, m, mp, f;
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

// Digits of a whole number; "%.0f" prints the same for these values.
char *PutWhole(char *out, std::uint32_t value)
{
    if (value < 10) {
        *out = static_cast<char>('0' + value);
        return out + 1;
    }
    if (value < 100) {
        out[0] = static_cast<char>('0' + value / 10);
        out[1] = static_cast<char>('0' + value % 10);
        return out + 2;
    }
    return std::to_chars(out, out + 10, value).ptr;
}

// Plain decimal form of a whole-valued double of any size.
std::string WholeNumber(double value)
{
    // snprintf prints -0 with its sign and handles NaN and infinities.
    if (!std::signbit(value) && value < 1e9) {
        const auto whole = static_cast<std::uint32_t>(value);
        if (static_cast<double>(whole) == value) {
            char digits[10];
            return std::string(digits, PutWhole(digits, whole));
        }
    }
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", value);
    return buffer;
}

constexpr std::string_view kDegreeBlank = "\u00B0 ";

char *Put(char *out, std::string_view s)
{
    std::memcpy(out, s.data(), s.size());
    return out + s.size();
}

// Longest text the integer path can produce.
constexpr std::size_t kPositionBufferSize = 64;

// Integer form of FormatPosition for |longitude| below 2^31, where every
// floor is a truncation of a non-negative value and g / 30 cannot round up
// to the next whole number. Returns nullptr when the value is out of range.
char *WritePosition(double longitude, char *out)
{
    const double a = std::fabs(longitude);
    if (!(a < 2147483648.0))
        return nullptr;
    const auto whole = static_cast<std::uint32_t>(a);
    const double f = a - static_cast<double>(whole);
    const double v = 60.0 * f;
    const auto n = static_cast<std::uint32_t>(v);
    const double r = v - static_cast<double>(n);
    const auto s = static_cast<std::uint32_t>(60.0 * r);
    const std::uint32_t i = whole / 30;

    out = PutWhole(out, whole % 30);
    out = Put(out, kDegreeBlank);
    out = PutWhole(out, n);
    out = Put(out, "' ");
    out = PutWhole(out, s);
    out = Put(out, "\" ");
    if (i < 12)
        out = Put(out, SignAbbreviations.substr(static_cast<std::size_t>(i) * 3, 3));
    return out;
}

std::string FormatPositionSlow(double longitude)
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
    text += kDegreeBlank;
    text += WholeNumber(n);
    text += "' ";
    text += WholeNumber(s);
    text += "\" ";
    text += abbreviation;
    return text;
}

} // namespace

double JulianDayNumber(int month, int day, int year)
{
    const std::int64_t mi = (static_cast<std::int64_t>(year) + 4800) * 12 + month - 3;
    if (mi >= 0) {
        // For a non-negative month count, integer division is the floor and
        // every value is a whole number far below 2^53: the same result as
        // the double form below, without its divisions.
        std::int64_t j = day + (365 * mi + 2 * (mi % 12) + 7) / 12 + mi / 48 - 32083;
        if (j > 2299171)
            j = j + mi / 4800 - mi / 1200 + 38;
        return static_cast<double>(j);
    }
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

namespace {

// Reuses the text's storage, so a reading allocates nothing.
void AssignPosition(std::string &text, double longitude)
{
    char buffer[kPositionBufferSize];
    if (char *end = WritePosition(longitude, buffer))
        text.assign(buffer, end);
    else
        text = FormatPositionSlow(longitude);
}

} // namespace

std::string FormatPosition(double longitude)
{
    std::string text;
    AssignPosition(text, longitude);
    return text;
}

void WesternEphemeris::ComputeMoonPosition(const BirthInput &input)
{
    const double localClockHours = input.Hour + input.Minute / 60.0;
    m_universalTime = UniversalTimeHours(localClockHours, ZoneCorrectionInHours(input), input.IsDaylightSaving);
    const double dayNumber = JulianDayNumber(input.Month, input.Day, input.Year);
    m_longitude = MoonLongitude(JulianCenturies(dayNumber, m_universalTime));
    AssignPosition(m_moonPositionText, m_longitude);
}

PositionInSign SignPositionOf(double longitude)
{
    // The same steps as the position text: whole degrees, then minutes.
    const double a = std::fabs(longitude);
    const double whole = std::floor(a);
    const double minutes = std::floor(60.0 * (a - whole));
    const double sign = std::floor(whole / 30.0);
    return {static_cast<int>(sign), static_cast<int>(whole - 30.0 * sign), static_cast<int>(minutes)};
}
