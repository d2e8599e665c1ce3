#pragma once

#include "app/atlas.h"
#include "astro/zone_table.h"
#include "entry/birth_ranges.h"

#include <QString>

#include <optional>

// The zone a person's clock time was read in: a row of the zone list, or
// the exact offset a picked place's clocks kept, held after the rows.
struct ZoneSetting {
    int position = GreenwichZonePosition; // ZoneCount for the exact offset
    bool daylightSaving = false;
    // The exact offset's entry: the clock's lead on Universal Time and the
    // text the list shows for it. Meaningful when exactOffsetText is not empty.
    int exactOffsetSeconds = 0;
    QString exactOffsetText;

    bool isExactOffset() const { return position == int(ZoneCount) && !exactOffsetText.isEmpty(); }
    bool operator==(const ZoneSetting &) const = default;
};

// The time a birth of unknown time is read for.
inline constexpr int UnknownTimeHour = 12;

// One person's birth details as entered on the form: the numbers are the
// ones shown in the lists (month 1 to 12, the year itself), the coordinate
// boxes' texts as typed.
struct PersonDetails {
    QString name;
    int month = MonthRange.first, day = DayRange.first, year = YearRange.first;
    int hour = HourRange.first, minute = MinuteRange.first, second = SecondRange.first;
    // The time of birth is not known: the time is taken as noon.
    bool timeUnknown = false;
    QString city, state, country;
    QString lonD, lonM, latD, latM;
    bool west = false, south = false;
    ZoneSetting zone;
    // The place picked from the atlas while the zone still follows it.
    std::optional<AtlasPlace> pick;
};
