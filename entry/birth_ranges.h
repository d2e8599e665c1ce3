#pragma once

// The numbers the birth form's lists offer, each list from first to last:
// a list position is the number's distance from first.
struct NumberRange {
    int first;
    int last;

    constexpr int count() const { return last - first + 1; }
    constexpr bool contains(int value) const { return value >= first && value <= last; }
    constexpr int position(int value) const { return value - first; }
    constexpr int value(int position) const { return first + position; }
};

inline constexpr NumberRange MonthRange{1, 12};
inline constexpr NumberRange DayRange{1, 31};
inline constexpr NumberRange YearRange{1901, 2050};
inline constexpr NumberRange HourRange{0, 23};
inline constexpr NumberRange MinuteRange{0, 59};
inline constexpr NumberRange SecondRange{0, 59};
