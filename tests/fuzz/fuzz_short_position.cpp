// Short position texts: any input is safe and only ever contributes its own
// bytes plus padding; a position text like the engine's gives "DD Abc MM".
#include "astro/western_ephemeris.h"
#include "astro/western_planet_position.h"

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Fail(const char *what, std::string_view input, std::string_view output)
{
    std::fprintf(stderr, "fuzz_short_position: %s: \"%.*s\" gave \"%.*s\"\n", what, static_cast<int>(input.size()),
                 input.data(), static_cast<int>(output.size()), output.data());
    std::abort();
}

std::string TwoDigits(int n)
{
    return std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    const std::string out = ShortPosition(input);

    std::bitset<256> allowed;
    for (const std::uint8_t byte : input)
        allowed.set(byte);
    allowed.set('0');
    allowed.set(' ');
    for (const char c : out) {
        if (!allowed.test(static_cast<std::uint8_t>(c)))
            Fail("a byte came from nowhere", input, out);
    }

    // The list writes the Moon's entry in place, even from a view of itself.
    WesternPlanetPosition planets;
    planets.BuildPositionList(input);
    if (planets.PositionList()[WesternPlanetPosition::MoonEntry] != out)
        Fail("the position list disagrees", input, planets.PositionList()[WesternPlanetPosition::MoonEntry]);
    planets.BuildPositionList(planets.PositionList()[WesternPlanetPosition::MoonEntry]);
    if (planets.PositionList()[WesternPlanetPosition::MoonEntry] != ShortPosition(out))
        Fail("writing over its own entry went wrong", out, planets.PositionList()[WesternPlanetPosition::MoonEntry]);

    // A well-formed text from the first bytes: degrees, minutes, seconds, sign
    // and a few leading blanks.
    if (size >= 5) {
        const int degrees = data[0] % 30;
        const int minutes = data[1] % 60;
        const int seconds = data[2] % 60;
        const std::string_view abbreviation = SignAbbreviations.substr(std::size_t{data[3] % 12u} * 3, 3);
        const std::string longText = std::string(data[4] % 3, ' ') + std::to_string(degrees) + "\xC2\xB0 " +
                                     std::to_string(minutes) + "' " + std::to_string(seconds) + "\" " +
                                     std::string(abbreviation);
        const std::string expected = TwoDigits(degrees) + " " + std::string(abbreviation) + " " + TwoDigits(minutes);
        const std::string got = ShortPosition(longText);
        if (got != expected)
            Fail("a well-formed text came out wrong", longText, got);
    }
    return 0;
}
