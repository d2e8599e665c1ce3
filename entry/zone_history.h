#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstddef>
#include <vector>

// One stretch of a zone's clock, from startUtc (seconds since 1970-01-01
// UTC) until the next stretch begins.
struct ZonePeriod {
    qint64 startUtc = 0;
    int offset = 0;   // seconds ahead of Universal Time, summer time included
    int standard = 0; // the standard part of the offset
    QString abbreviation;
    QString name;     // the clock's English name ("Nepal Time"), when known

    int daylight() const { return offset - standard; }
    bool operator==(const ZonePeriod &) const = default;
};

// What an IANA zone's clocks did from 1900 to 2051: everything the zone
// choice reads, so that every build chooses the same way whatever time zone
// data its system has.
struct ZoneHistory {
    QByteArray id;
    QString country; // the English name of the zone's country, or empty
    // Sorted by start; the first covers everything before the second.
    std::vector<ZonePeriod> periods;

    bool valid() const { return !periods.empty(); }
    // The index of the period in force at an instant.
    std::size_t indexAt(qint64 utc) const;
    const ZonePeriod &at(qint64 utc) const { return periods[indexAt(utc)]; }
};

// First and last instants a history covers in detail.
inline constexpr qint64 ZoneHistoryFrom = -2240524800; // 1899-01-01 UTC
inline constexpr qint64 ZoneHistoryTo = 2587679999;    // 2051-12-31 23:59:59 UTC

// A plain IANA zone name ("America/Argentina/Buenos_Aires", "Etc/GMT+5"):
// ASCII letters, digits, "_", "+" and "-" in at most three parts, each
// beginning with a letter or digit. The zone data reads names as file paths,
// so no other name is ever handed to it.
bool IsPlainZoneName(const QByteArray &id);

// A zone's history as the system's time zone data gives it through Qt;
// an empty history for an unknown zone or a name that is not plain.
ZoneHistory ZoneHistoryFromSystem(const QByteArray &id);

// The history the program uses for a zone, read once per zone and process
// from the zone data this build carries.
const ZoneHistory &ZoneHistoryFor(const QByteArray &id);
