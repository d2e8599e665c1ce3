#include "entry/zone_choice.h"

#include "astro/zone_table.h"
#include "entry/zone_history.h"

#include <QDateTime>
#include <QLatin1StringView>
#include <QStringList>
#include <QLocale>
#include <QTimeZone>

#include <algorithm>
#include <cstdlib>
#include <set>

namespace {

ZoneChoice NotFound(const QString &note)
{
    ZoneChoice choice;
    choice.note = note;
    return choice;
}

QString RowName(const ZoneRow &row)
{
    return QString::fromUtf8(row.ListText.data(), static_cast<qsizetype>(row.ListText.size()));
}

// The token between the commas: "Indian Time, IST, +5.3" gives "IST".
QString RowAbbreviation(const ZoneRow &row)
{
    return RowName(row).section(QLatin1Char(','), 1, 1).trimmed();
}

bool NamesSeasonalTime(const QString &name)
{
    for (const char *word : {"Daylight", "Summer", "War"}) {
        if (name.contains(QLatin1StringView(word)))
            return true;
    }
    return false;
}

// Lower is better; rows that only share the offset come last.
int Preference(const ZoneRow &row, const QString &standardAbbreviation, const QString &abbreviationNow,
               const QString &country)
{
    const QString name = RowName(row);
    const QString abbreviation = RowAbbreviation(row);
    const bool seasonal = NamesSeasonalTime(name);
    // The summer abbreviation can name a row at the standard offset only by
    // coincidence (Cuba's CDT is -4, the list's CDT is -5), so it is trusted
    // only for rows that do not claim to be summer time.
    if (abbreviation == standardAbbreviation || (abbreviation == abbreviationNow && !seasonal))
        return 0;
    // A row named after the place's country ("China Coast Time") beats one
    // that merely shares the offset.
    if (!seasonal && !country.isEmpty() && name.contains(country, Qt::CaseInsensitive))
        return 0;
    if (seasonal)
        return 3;
    // "Std" is how the list shortens New Zealand's standard time.
    for (const char *word : {"Standard", "Std", "Mean"}) {
        if (name.contains(QLatin1StringView(word)))
            return 1;
    }
    return 2;
}

// Among rows that hold the whole offset, summer shift included (British
// Double Summer Time for London in 1944): the zone's own abbreviation first,
// then a row named after the country, then seasonal rows.
int TotalPreference(const ZoneRow &row, const QString &abbreviationNow, const QString &country)
{
    const QString name = RowName(row);
    if (RowAbbreviation(row) == abbreviationNow)
        return 0;
    if (!country.isEmpty() && name.contains(country, Qt::CaseInsensitive))
        return 1;
    return NamesSeasonalTime(name) ? 2 : 3;
}

// The best row for an offset (seconds ahead of UT) under a preference, or -1.
template<typename Rank>
int BestRow(int offset, Rank rank)
{
    int best = -1;
    int bestRank = 0;
    for (int i = 0; i < static_cast<int>(ZoneCount); ++i) {
        const ZoneRow &row = ZoneCorrectionTable[static_cast<std::size_t>(i)];
        // Rows store the correction towards UT, the opposite of the offset.
        if (-(row.Hours * 60 + row.Minutes) * 60 != offset)
            continue;
        const int r = rank(row);
        if (best < 0 || r < bestRank) {
            best = i;
            bestRank = r;
        }
    }
    return best;
}

// The instants (seconds since the epoch) at which the zone's clock showed
// the clock reading (taken as if it were UTC): none when the clocks skipped
// it, two when they went back over it, earliest first.
std::vector<qint64> InstantsShowing(const ZoneHistory &zone, qint64 clock)
{
    // Every offset in force within two days either side.
    constexpr qint64 window = 2 * 86400;
    std::set<int> offsets;
    for (std::size_t i = zone.indexAt(clock - window); i <= zone.indexAt(clock + window); ++i)
        offsets.insert(zone.periods[i].offset);
    std::vector<qint64> instants;
    for (const int offset : offsets) {
        const qint64 at = clock - offset;
        if (zone.at(at).offset == offset)
            instants.push_back(at);
    }
    std::sort(instants.begin(), instants.end());
    return instants;
}

// What the extra entry says the clock was: local mean time for a town's
// own sundial time; for the other old offsets to the second (Madras time,
// Amsterdam time), the zone data's own name, since the names Qt gives today's
// clocks do not fit them; otherwise the zone's English name.
QString ClockName(const ZonePeriod &period)
{
    const QString &abbreviation = period.abbreviation;
    const bool lettersOnly = !abbreviation.isEmpty()
        && std::all_of(abbreviation.begin(), abbreviation.end(), [](QChar c) { return c.isLetter(); });
    if (abbreviation == QLatin1StringView("LMT"))
        return QStringLiteral("Local mean time");
    if (period.offset % 60 != 0)
        return lettersOnly ? abbreviation : QStringLiteral("Local time");
    const QString &name = period.name;
    if (!name.isEmpty() && !name.startsWith(QLatin1StringView("GMT")) && !name.startsWith(QLatin1StringView("UTC")))
        return name;
    return lettersOnly ? abbreviation : QStringLiteral("Local time");
}

// The abbreviation of the standard time in force around a period: its own,
// or that of the latest period before it without daylight saving.
QString StandardAbbreviation(const ZoneHistory &zone, std::size_t period)
{
    for (int step = 0; step < 8 && zone.periods[period].daylight() != 0; ++step) {
        if (period == 0)
            return {};
        --period;
    }
    return zone.periods[period].daylight() == 0 ? zone.periods[period].abbreviation : QString();
}

// Ireland keeps summer time as its standard and winter time as "negative
// daylight saving". The list knows winter time as the standard, so the
// winter offset is taken as standard there, in both seasons.
int ListStandardOffset(const ZoneHistory &zone, std::size_t period)
{
    const ZonePeriod &p = zone.periods[period];
    if (p.offset < p.standard)
        return p.offset;
    if (p.offset == p.standard) {
        for (const std::size_t n : {period - 1, period + 1}) {
            if (period == 0 && n == period - 1)
                continue;
            if (n >= zone.periods.size())
                continue;
            const ZonePeriod &d = zone.periods[n];
            if (d.standard == p.standard && d.daylight() < 0)
                return p.standard + d.daylight();
        }
    }
    return p.standard;
}

} // namespace

QString OffsetText(int offsetSeconds)
{
    const int a = std::abs(offsetSeconds);
    QString text = QStringLiteral("UTC%1%2:%3")
                       .arg(offsetSeconds < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                       .arg(a / 3600, 2, 10, QLatin1Char('0'))
                       .arg(a / 60 % 60, 2, 10, QLatin1Char('0'));
    if (a % 60 != 0)
        text += QStringLiteral(":%1").arg(a % 60, 2, 10, QLatin1Char('0'));
    return text;
}

ZoneChoice ChooseZone(const QByteArray &ianaZone, QDate date, int hour, int minute, const QString &placeName)
{
    const ZoneHistory &zone = ZoneHistoryFor(ianaZone);
    if (!zone.valid())
        return NotFound(QStringLiteral("The time zone \"%1\" is not known; choose a zone by hand.")
                            .arg(QString::fromUtf8(ianaZone)));
    const QTime time(hour, minute);
    if (!date.isValid() || !time.isValid())
        return NotFound(QStringLiteral("The date or time of birth is not valid."));

    const QString clockText = time.toString(QStringLiteral("HH:mm"));
    const std::vector<qint64> instants =
        InstantsShowing(zone, QDateTime(date, time, QTimeZone::utc()).toSecsSinceEpoch());
    if (instants.empty())
        return NotFound(QStringLiteral("The clocks skipped %1 on this date; check the time of birth.").arg(clockText));

    ZoneChoice choice;
    choice.found = true;
    // The earlier of two equal clock times is the one still on summer time.
    const std::size_t period = zone.indexAt(instants.front());
    const ZonePeriod &moment = zone.periods[period];
    const int total = moment.offset;
    choice.offsetSeconds = total;
    choice.clockName = ClockName(moment);
    if (instants.size() > 1)
        choice.note = QStringLiteral("The clocks showed %1 twice on this date; the first time, at %2, is used.")
                          .arg(clockText, OffsetText(total));

    const int standard = ListStandardOffset(zone, period);
    const int shift = total - standard;
    const QString &abbreviationNow = moment.abbreviation;

    // A standard-time row, with the tick for one hour of summer time.
    if (shift == 0 || shift == 3600) {
        const QString standardAbbreviation = StandardAbbreviation(zone, period);
        const int row = BestRow(standard, [&](const ZoneRow &r) {
            return Preference(r, standardAbbreviation, abbreviationNow, zone.country);
        });
        if (row >= 0) {
            choice.zonePosition = row;
            choice.daylightSaving = shift == 3600;
            return choice;
        }
    }
    // A row that holds the whole offset, without the tick.
    const int row = BestRow(total, [&](const ZoneRow &r) { return TotalPreference(r, abbreviationNow, zone.country); });
    if (row >= 0) {
        choice.zonePosition = row;
        // Qt names an unusual summer time (Britain's double one) after the
        // usual one; a row of the same abbreviation knows better.
        const ZoneRow &chosen = ZoneCorrectionTable[std::size_t(row)];
        if (RowAbbreviation(chosen) == abbreviationNow)
            choice.clockName = RowName(chosen).section(QLatin1Char(','), 0, 0).trimmed();
        return choice;
    }
    // No row fits: the exact offset, in an entry of its own.
    choice.zonePosition = static_cast<int>(ZoneCount);
    choice.extraEntryText = choice.clockName + QStringLiteral(", ") + OffsetText(total);
    if (!placeName.isEmpty())
        choice.extraEntryText += QStringLiteral(" (%1)").arg(placeName);
    return choice;
}
