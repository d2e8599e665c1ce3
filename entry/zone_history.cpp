#include "entry/zone_history.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>

#include <algorithm>

std::size_t ZoneHistory::indexAt(qint64 utc) const
{
    const auto after = std::upper_bound(periods.begin() + 1, periods.end(), utc,
                                        [](qint64 at, const ZonePeriod &p) { return at < p.startUtc; });
    return static_cast<std::size_t>(after - periods.begin()) - 1;
}

namespace {

bool isAsciiLetterOrDigit(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

} // namespace

bool IsPlainZoneName(const QByteArray &id)
{
    if (id.isEmpty() || id.size() > 64)
        return false;
    const QList<QByteArray> parts = id.split('/');
    if (parts.size() > 3)
        return false;
    for (const QByteArray &part : parts) {
        if (part.isEmpty() || !isAsciiLetterOrDigit(part.front()))
            return false;
        for (const char c : part) {
            if (!isAsciiLetterOrDigit(c) && c != '_' && c != '+' && c != '-')
                return false;
        }
    }
    return true;
}

ZoneHistory ZoneHistoryFromSystem(const QByteArray &id)
{
    ZoneHistory history;
    history.id = id;
    if (!IsPlainZoneName(id))
        return history;
    const QTimeZone zone(id);
    if (!zone.isValid())
        return history;
    if (zone.territory() != QLocale::AnyTerritory)
        history.country = QLocale::territoryToString(zone.territory());
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const auto period = [&](const QTimeZone::OffsetData &d, qint64 start) {
        return ZonePeriod{start, d.offsetFromUtc, d.standardTimeOffset, d.abbreviation,
                          zone.displayName(d.atUtc, QTimeZone::LongName, english)};
    };
    const QDateTime from = QDateTime::fromSecsSinceEpoch(ZoneHistoryFrom, QTimeZone::utc());
    const QDateTime to = QDateTime::fromSecsSinceEpoch(ZoneHistoryTo, QTimeZone::utc());
    history.periods.push_back(period(zone.offsetData(from), ZoneHistoryFrom));
    const auto add = [&](const QTimeZone::OffsetData &d, qint64 start) {
        ZonePeriod next = period(d, start);
        const ZonePeriod &last = history.periods.back();
        if (start > last.startUtc && (next.offset != last.offset || next.standard != last.standard
                                      || next.abbreviation != last.abbreviation))
            history.periods.push_back(std::move(next));
    };
    for (const QTimeZone::OffsetData &d : zone.transitions(from, to))
        add(d, d.atUtc.toSecsSinceEpoch());

    // The zone data lists changes only so far (2037 in most systems) and
    // gives a rule for the years after; Qt applies the rule to a moment but
    // lists no changes from it. Those are found by stepping through the
    // remaining years and narrowing each change down to the second.
    const auto offsetAt = [&zone](qint64 at) {
        return zone.offsetData(QDateTime::fromSecsSinceEpoch(at, QTimeZone::utc()));
    };
    constexpr qint64 step = 3 * 86400;
    const qint64 rulesFrom = std::max(history.periods.back().startUtc, qint64(2114380800)); // 2037-01-01
    const auto key = [](const QTimeZone::OffsetData &d) { return std::pair(d.offsetFromUtc, d.standardTimeOffset); };
    for (qint64 at = rulesFrom; at < ZoneHistoryTo; at += step) {
        const qint64 next = std::min(at + step, ZoneHistoryTo);
        if (key(offsetAt(next)) == key(offsetAt(at)))
            continue;
        qint64 low = at, high = next; // the change lies in (low, high]
        while (high - low > 1) {
            const qint64 middle = low + (high - low) / 2;
            (key(offsetAt(middle)) == key(offsetAt(low)) ? low : high) = middle;
        }
        add(offsetAt(high), high);
    }
    return history;
}
