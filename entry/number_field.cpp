#include "entry/number_field.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// End of the digits before any decimal point.
std::size_t integerEnd(std::string_view text)
{
    const std::size_t point = text.find('.');
    return point == std::string_view::npos ? text.size() : point;
}

} // namespace

std::optional<double> ParseNumberField(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);

    std::size_t i = 0;
    if (i < text.size() && text[i] == '-')
        ++i;
    const std::size_t integerStart = i;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    if (i == integerStart)
        return std::nullopt;
    if (i < text.size() && text[i] == '.') {
        ++i;
        const std::size_t fractionStart = i;
        while (i < text.size() && IsDigit(text[i]))
            ++i;
        if (i == fractionStart)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;

    // from_chars ignores the user's locale, unlike strtod under Qt.
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Still a number, just beyond a double: huge ones are infinitely out
        // of any range, tiny ones are zero.
        const bool negative = text.front() == '-';
        const std::string_view digits = text.substr(negative ? 1 : 0, integerEnd(text) - (negative ? 1 : 0));
        const bool huge = digits.find_first_not_of('0') != std::string_view::npos;
        const double magnitude = huge ? std::numeric_limits<double>::infinity() : 0.0;
        return negative ? -magnitude : magnitude;
    }
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool NumberFieldInRange(std::string_view text, double low, double high)
{
    const std::optional<double> value = ParseNumberField(text);
    return value && *value >= low && *value <= high;
}

int RoundHalfToEven(double value)
{
    if (!(std::fabs(value) < 1e9))
        return 0;
    const double r = value - std::floor(value) == 0.5 ? 2.0 * std::round(value / 2.0) : std::round(value);
    return static_cast<int>(r);
}
