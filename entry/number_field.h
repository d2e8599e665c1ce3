#pragma once

#include <optional>
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
