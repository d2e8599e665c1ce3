// Cost of one person's reading (Moon position text plus the short position
// list) against a floor of 25 bare std::sin calls, which is the least any
// evaluation of the 25-term series can cost.

#include "astro/birth_input.h"
#include "astro/western_ephemeris.h"
#include "astro/western_planet_position.h"
#include "entry/birth_ranges.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

constexpr std::size_t kBirthCount = 64;

// Small deterministic generator so that the births are the same on every run.
class Lcg {
public:
    explicit Lcg(std::uint32_t seed) : m_state(seed) {}
    int Below(int bound)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<int>((m_state >> 8) % static_cast<std::uint32_t>(bound));
    }

private:
    std::uint32_t m_state;
};

// Realistic births spread over the form's years, with zone corrections, daylight
// saving and places in all four quarters of the globe.
std::array<BirthInput, kBirthCount> MakeBirths()
{
    static constexpr int kZoneQuarterHours[] = {-40, -36, -32, -24, -20, -16, -4, 0, 4, 8,
                                                12,  16,  20,  22,  28,  36,  40, 48};
    Lcg random(19750614u);
    std::array<BirthInput, kBirthCount> births{};
    for (std::size_t k = 0; k < kBirthCount; ++k) {
        BirthInput &b = births[k];
        // Even spread over the years, jittered a little.
        b.Year = static_cast<std::int16_t>(YearRange.first
                                           + ((YearRange.count() - 1) * static_cast<int>(k)) / (kBirthCount - 1));
        b.Month = static_cast<std::int16_t>(1 + random.Below(12));
        b.Day = static_cast<std::int16_t>(1 + random.Below(28));
        b.Hour = static_cast<std::int16_t>(random.Below(24));
        b.Minute = static_cast<std::int16_t>(random.Below(60));
        const int quarters = kZoneQuarterHours[random.Below(static_cast<int>(std::size(kZoneQuarterHours)))];
        b.ZoneHours = static_cast<std::int16_t>(quarters / 4);
        b.ZoneMinutes = static_cast<std::int16_t>((quarters % 4) * 15);
        b.LonDegrees = static_cast<std::int16_t>(random.Below(180));
        b.LonMinutes = static_cast<std::int16_t>(random.Below(60));
        b.LatDegrees = static_cast<std::int16_t>(random.Below(70));
        b.LatMinutes = static_cast<std::int16_t>(random.Below(60));
        b.IsEast = random.Below(2) == 0;
        b.IsSouth = random.Below(4) == 0;
        b.IsDaylightSaving = b.Year >= 1950 && random.Below(3) == 0;
    }
    return births;
}

const std::array<BirthInput, kBirthCount> &Births()
{
    static const std::array<BirthInput, kBirthCount> births = MakeBirths();
    return births;
}

// Julian centuries of the same births, roughly -0.99 to +0.5.
const std::array<double, kBirthCount> &Centuries()
{
    static const std::array<double, kBirthCount> centuries = [] {
        std::array<double, kBirthCount> t{};
        for (std::size_t k = 0; k < kBirthCount; ++k) {
            const BirthInput &b = Births()[k];
            const double ut = UniversalTimeHours(b.Hour + b.Minute / 60.0, b.ZoneHours + b.ZoneMinutes / 60.0,
                                                 b.IsDaylightSaving);
            t[k] = JulianCenturies(JulianDayNumber(b.Month, b.Day, b.Year), ut);
        }
        return t;
    }();
    return centuries;
}

// Constant and rate (degrees, degrees per century) of each of the 25 sine
// arguments of the lunar series: the same integer combinations of D, M, M'
// and F, so the arguments have the same size as in the real evaluation.
struct SineArgument {
    double base;
    double rate;
};

constexpr double kD0 = 297.8502042, kD1 = 445267.1115168;
constexpr double kM0 = 357.5291092, kM1 = 35999.0502909;
constexpr double kMp0 = 134.9634114, kMp1 = 477198.8676313;
constexpr double kF0 = 93.2720993, kF1 = 483202.0175273;

constexpr SineArgument Combine(int d, int m, int mp, int f)
{
    return {d * kD0 + m * kM0 + mp * kMp0 + f * kF0, d * kD1 + m * kM1 + mp * kMp1 + f * kF1};
}

constexpr std::array<SineArgument, 25> kArguments{{
    Combine(0, 0, 1, 0),  Combine(2, 0, -1, 0), Combine(2, 0, 0, 0),   Combine(0, 0, 2, 0),
    Combine(0, 1, 0, 0),  Combine(0, 0, 0, 2),  Combine(2, 0, -2, 0),  Combine(2, -1, -1, 0),
    Combine(2, 0, 1, 0),  Combine(2, -1, 0, 0), Combine(0, 1, -1, 0),  Combine(1, 0, 0, 0),
    Combine(0, 1, 1, 0),  Combine(2, 0, 0, -2), Combine(0, 0, 1, 2),   Combine(0, 0, 1, -2),
    Combine(4, 0, -1, 0), Combine(0, 0, 3, 0),  Combine(4, 0, -2, 0),  Combine(2, 1, -1, 0),
    Combine(2, 1, 0, 0),  Combine(1, 0, -1, 0), Combine(1, 1, 0, 0),   Combine(2, -1, 1, 0),
    Combine(2, 0, 2, 0),
}};

void BM_OnePersonReading(benchmark::State &state)
{
    const std::array<BirthInput, kBirthCount> &births = Births();
    WesternEphemeris engine;
    WesternPlanetPosition planets;
    std::size_t k = 0;
    for (auto _ : state) {
        const BirthInput &input = births[k];
        k = (k + 1) % kBirthCount;
        benchmark::DoNotOptimize(&input);
        engine.ComputeMoonPosition(input);
        planets.BuildPositionList(engine.MoonPositionText());
        benchmark::DoNotOptimize(planets.PositionList()[WesternPlanetPosition::MoonEntry].data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_OnePersonReading);

void BM_TwentyFiveSines(benchmark::State &state)
{
    const std::array<double, kBirthCount> &centuries = Centuries();
    std::size_t k = 0;
    for (auto _ : state) {
        double T = centuries[k];
        k = (k + 1) % kBirthCount;
        benchmark::DoNotOptimize(T);
        double sum = 0.0;
        for (const SineArgument &a : kArguments)
            sum += std::sin((a.base + a.rate * T) * DegToRad);
        benchmark::DoNotOptimize(sum);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TwentyFiveSines);

} // namespace
