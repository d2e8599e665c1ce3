#include "entry/number_field.h"

#include <charconv>
#include <cmath>
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

    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
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
    const double r = value - std::floor(value) == 0.5 ? 2.0 * std::round(value / 2.0) : std::round(value);
    return static_cast<int>(r);
}
