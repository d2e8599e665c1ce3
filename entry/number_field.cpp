#include "entry/number_field.h"

#include <charconv>
#include <cmath>
#include <initializer_list>
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

namespace {

// Reads a decimal number (digits, an optional point or comma and more
// digits) at the start of the text; the text moves past it.
std::optional<double> readDecimal(std::string_view &text, bool &hasFraction)
{
    std::size_t i = 0;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    std::size_t end = i;
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        std::size_t j = i + 1;
        while (j < text.size() && IsDigit(text[j]))
            ++j;
        if (j > i + 1)
            end = j;
    }
    hasFraction = end > i;
    if (end == 0 || end > 24)
        return std::nullopt;
    std::string number(text.substr(0, end));
    if (const std::size_t comma = number.find(','); comma != std::string::npos)
        number[comma] = '.';
    double value = 0.0;
    const auto [stop, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || stop != number.data() + number.size())
        return std::nullopt;
    text.remove_prefix(end);
    return value;
}

void skipBlanks(std::string_view &text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
}

// Takes one of the marks at the start of the text, if there.
bool takeMark(std::string_view &text, std::initializer_list<std::string_view> marks)
{
    for (const std::string_view mark : marks) {
        if (text.starts_with(mark)) {
            text.remove_prefix(mark.size());
            return true;
        }
    }
    return false;
}

// A hemisphere letter of the axis at the start of the text: true for West
// or South, false for East or North; nothing when there is none.
std::optional<bool> takeHemisphere(std::string_view &text, bool latitude, bool &wrongAxis)
{
    if (text.empty())
        return std::nullopt;
    const char c = static_cast<char>(text.front() & ~0x20); // upper case
    const char *axis = latitude ? "NS" : "EW";
    const char *other = latitude ? "EW" : "NS";
    if (c == axis[0] || c == axis[1]) {
        text.remove_prefix(1);
        return c == axis[1];
    }
    if (c == other[0] || c == other[1])
        wrongAxis = true;
    return std::nullopt;
}

} // namespace

std::optional<CoordinateText> ParseCoordinateText(std::string_view text, bool latitude)
{
    skipBlanks(text);
    bool wrongAxis = false;
    std::optional<bool> hemisphere = takeHemisphere(text, latitude, wrongAxis);
    skipBlanks(text);
    bool negative = false;
    bool hasSign = false;
    bool said = hemisphere.has_value(); // more than a plain whole number
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        hasSign = true;
        said = true;
        text.remove_prefix(1);
    }

    // Degrees, then minutes and seconds, each ended by its mark or a blank.
    double parts[3] = {0, 0, 0};
    int count = 0;
    bool fraction = false;
    while (count < 3) {
        skipBlanks(text);
        bool hasFraction = false;
        const std::optional<double> value = readDecimal(text, hasFraction);
        if (!value)
            break;
        // Only the last part may have a fraction: "18.5° 30'" is no angle.
        if (fraction)
            return std::nullopt;
        fraction = hasFraction;
        parts[count++] = *value;
        skipBlanks(text);
        const bool marked = count == 1 ? takeMark(text, {"\u00B0", "\u00BA"})
            : count == 2 ? takeMark(text, {"''", "'", "\u2032", "\u2019"})
                         : takeMark(text, {"\"", "\u2033", "''"});
        said = said || marked || count > 1;
    }
    if (count == 0)
        return std::nullopt;
    skipBlanks(text);
    if (!hemisphere)
        hemisphere = takeHemisphere(text, latitude, wrongAxis);
    skipBlanks(text);
    said = said || fraction;
    // Anything left over, a letter of the other axis, a sign with a letter,
    // or a plain whole number: not a coordinate to convert.
    if (!text.empty() || wrongAxis || !said || (hasSign && hemisphere))
        return std::nullopt;
    // Minutes and seconds within their sixty.
    for (int i = 1; i < count; ++i) {
        if (parts[i] >= 60)
            return std::nullopt;
    }
    const double degrees = parts[0] + parts[1] / 60.0 + parts[2] / 3600.0;
    const long total = std::lround(degrees * 60.0); // 59.6' carries into the degree
    const long limit = latitude ? 89 * 60 + 59 : 179 * 60 + 59;
    if (!(degrees * 60.0 < 1e9) || total > limit)
        return std::nullopt;
    CoordinateText c;
    c.degrees = static_cast<int>(total / 60);
    c.minutes = static_cast<int>(total % 60);
    if (hemisphere)
        c.westOrSouth = hemisphere;
    else if (hasSign && total != 0) // minus nought is no hemisphere
        c.westOrSouth = negative;
    return c;
}

std::optional<int> NumberTypeAhead::type(char digit, int first, int last, bool afresh)
{
    if (!IsDigit(digit))
        return std::nullopt;
    if (afresh || m_typed.size() >= 9)
        m_typed.clear();
    m_typed += digit;
    // The entry the digits spell ("05" spells 5), else the first that
    // begins with them; failing both, the last digit alone.
    const auto find = [first, last](const std::string &typed) -> std::optional<int> {
        const int value = std::stoi(typed);
        if (value >= first && value <= last)
            return value - first;
        for (int v = first; v <= last; ++v) {
            if (std::to_string(v).starts_with(typed))
                return v - first;
        }
        return std::nullopt;
    };
    if (const std::optional<int> found = find(m_typed))
        return found;
    m_typed = std::string(1, digit);
    return find(m_typed);
}
