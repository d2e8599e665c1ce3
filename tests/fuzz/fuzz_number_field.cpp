// Number boxes: the parser accepts exactly  -?[0-9]+(\.[0-9]+)?  between
// blanks and agrees with strtod; rounding keeps within a half, ties to even.
#include "entry/number_field.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace {

void Fail(const char *what, std::string_view text)
{
    std::fprintf(stderr, "fuzz_number_field: %s: \"%.*s\"\n", what, static_cast<int>(text.size()), text.data());
    std::abort();
}

bool Blank(char c) { return c == ' ' || c == '\t'; }
bool Digit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && Blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && Blank(s.back()))
        s.remove_suffix(1);
    return s;
}

// -?[0-9]+(\.[0-9]+)? as a small state machine.
bool MatchesGrammar(std::string_view s)
{
    enum { Start, Sign, Whole, Point, Fraction } state = Start;
    for (const char c : s) {
        switch (state) {
        case Start:
            state = c == '-' ? Sign : Digit(c) ? Whole : Point;
            if (state == Point)
                return false;
            break;
        case Sign:
            if (!Digit(c))
                return false;
            state = Whole;
            break;
        case Whole:
            if (c == '.')
                state = Point;
            else if (!Digit(c))
                return false;
            break;
        case Point:
        case Fraction:
            if (!Digit(c))
                return false;
            state = Fraction;
            break;
        }
    }
    return state == Whole || state == Fraction;
}

void CheckRounding(double value)
{
    if (!(value >= -1000.0 && value <= 1000.0))
        return;
    const int rounded = RoundHalfToEven(value);
    const double distance = std::fabs(static_cast<double>(rounded) - value);
    if (distance > 0.5 || (distance == 0.5 && rounded % 2 != 0)) {
        std::fprintf(stderr, "fuzz_number_field: RoundHalfToEven(%.17g) gave %d\n", value, rounded);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::optional<double> value = ParseNumberField(text);
    const std::string_view core = Trimmed(text);
    const bool matches = MatchesGrammar(core);

    if (value) {
        if (!matches)
            Fail("accepted text outside the grammar", text);
        const std::string copy(core); // strtod wants a terminated string
        const double expected = std::strtod(copy.c_str(), nullptr);
        // Below the normal doubles the parser reads zero.
        const bool tiny = std::fabs(expected) < std::numeric_limits<double>::min() && *value == 0.0;
        if (!tiny && (!(expected == *value) || std::signbit(expected) != std::signbit(*value)))
            Fail("value differs from strtod", text);
        CheckRounding(*value);
    } else if (matches) {
        Fail("refused text that fits the grammar", text);
    }

    const bool inRange = NumberFieldInRange(text, 0, 179);
    if (inRange != (value && *value >= 0.0 && *value <= 179.0))
        Fail("range check disagrees with the parsed value", text);

    // The raw bytes as a double, and as a fraction with a small denominator so
    // that halves come up often.
    if (size >= sizeof(double)) {
        double raw;
        std::memcpy(&raw, data, sizeof raw);
        CheckRounding(raw);
    }
    if (size >= 3) {
        const int numerator = static_cast<std::int16_t>(data[0] | data[1] << 8) % 2001;
        CheckRounding(std::ldexp(static_cast<double>(numerator), -(data[2] % 8)));
    }
    return 0;
}
