#pragma once

#include <optional>
#include <string>
#include <string_view>

// A coordinate box's value: the text without surrounding blanks must be an
// optional minus sign, digits, and an optional point followed by digits.
std::optional<double> ParseNumberField(std::string_view text);

// True when the text is a number within [low, high], both ends included.
bool NumberFieldInRange(std::string_view text, double low, double high);

// The whole number the computation reads: halves go to the even neighbour.
int RoundHalfToEven(double value);

// True for the years the leap-year test treats as leap years (every fourth;
// exact for the years the form offers).
constexpr bool IsLeapYear(int year) { return year % 4 == 0; }

// True when a day (1-based) cannot occur in a month (1-based) of the year.
constexpr bool IsImpossibleFebruaryDay(int month, int day, int year)
{
    return month == 2 && day > (IsLeapYear(year) ? 29 : 28);
}
constexpr bool IsImpossibleThirtyDayMonthDay(int month, int day)
{
    return (month == 4 || month == 6 || month == 9 || month == 11) && day == 31;
}

// A coordinate as people write it in a degrees box: a decimal ("73.8567",
// "-0.1276"), or degrees with minutes and seconds ("18°31'", "18° 31′ 12″",
// "18 31"), with a hemisphere letter before or after ("73.8567E", "N 18°31'").
// A decimal comma is taken as a point.
// Given as whole degrees and minutes, rounded to the nearest minute (never
// 60), and the hemisphere when a sign or letter gave one: true for West or
// South.
struct CoordinateText {
    int degrees = 0;
    int minutes = 0;
    std::optional<bool> westOrSouth;
};

// A text that says more than a whole number of degrees (a fraction, a sign,
// a mark or a letter) and lies within the box's range: 179° 59' for a
// longitude, 89° 59' for a latitude. Nothing for any other text: a plain
// whole number, garbage, a letter of the other axis, a value out of range.
std::optional<CoordinateText> ParseCoordinateText(std::string_view utf8, bool latitude);

// Digits typed into a closed number list pick the entry they spell: "1"
// then "5" within the keyboard interval gives 15, "1990" the year 1990, and
// an entry that begins with the digits stands in while they are typed ("19"
// shows 1901). Digits that spell no entry start afresh from the last one.
class NumberTypeAhead {
public:
    // The position in first..last to select, or nothing to leave the list
    // as it is; afresh when the interval since the last digit has passed.
    std::optional<int> type(char digit, int first, int last, bool afresh);

private:
    std::string m_typed;
};
