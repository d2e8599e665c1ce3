#include "entry/zone_choice.h"

#include "astro/zone_table.h"

#include <QDateTime>
#include <QLatin1StringView>
#include <QStringList>
#include <QLocale>
#include <QTimeZone>

#include <cstdlib>

namespace {

// "UTC+05:45", with seconds only for the odd offsets of local mean time.
QString OffsetText(int seconds)
{
    const int a = std::abs(seconds);
    QString text = QStringLiteral("UTC%1%2:%3")
                       .arg(seconds < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                       .arg(a / 3600, 2, 10, QLatin1Char('0'))
                       .arg(a / 60 % 60, 2, 10, QLatin1Char('0'));
    if (a % 60 != 0)
        text += QStringLiteral(":%1").arg(a % 60, 2, 10, QLatin1Char('0'));
    return text;
}

// "2 hours", "30 minutes", "1 hour 20 minutes".
QString DurationText(int seconds)
{
    const int hours = seconds / 3600;
    const int minutes = seconds / 60 % 60;
    QStringList parts;
    if (hours != 0)
        parts << (hours == 1 ? QStringLiteral("1 hour") : QStringLiteral("%1 hours").arg(hours));
    if (minutes != 0)
        parts << (minutes == 1 ? QStringLiteral("1 minute") : QStringLiteral("%1 minutes").arg(minutes));
    return parts.join(QLatin1Char(' '));
}

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

// The abbreviation of the standard time in force around the moment: the
// moment's own, or that of the latest period before it without daylight saving.
QString StandardAbbreviation(const QTimeZone &zone, const QDateTime &moment)
{
    QTimeZone::OffsetData data = zone.offsetData(moment);
    for (int step = 0; step < 8 && data.daylightTimeOffset != 0; ++step) {
        data = zone.previousTransition(data.atUtc);
        if (!data.atUtc.isValid())
            return {};
    }
    return data.daylightTimeOffset == 0 ? data.abbreviation : QString();
}

// Ireland keeps summer time as its standard and winter time as "negative
// daylight saving". The list knows winter time as the standard, so the
// winter offset is taken as standard there, in both seasons.
int ListStandardOffset(const QTimeZone &zone, const QDateTime &moment, int total, int standard)
{
    if (total < standard)
        return total;
    if (total == standard) {
        const QTimeZone::OffsetData before = zone.previousTransition(zone.previousTransition(moment).atUtc);
        const QTimeZone::OffsetData after = zone.nextTransition(moment);
        for (const QTimeZone::OffsetData &d : {before, after}) {
            if (d.atUtc.isValid() && d.standardTimeOffset == standard && d.daylightTimeOffset < 0)
                return standard + d.daylightTimeOffset;
        }
    }
    return standard;
}

} // namespace

ZoneChoice ChooseZone(const QByteArray &ianaZone, QDate date, int hour, int minute)
{
    const QTimeZone zone(ianaZone);
    if (!zone.isValid())
        return NotFound(QStringLiteral("The time zone \"%1\" is not known; choose a zone by hand.")
                            .arg(QString::fromUtf8(ianaZone)));
    const QTime time(hour, minute);
    if (!date.isValid() || !time.isValid())
        return NotFound(QStringLiteral("The date or time of birth is not valid."));

    // A clock time skipped when the clocks went forward never happened.
    const QDateTime moment(date, time, zone);
    if (!moment.isValid() || moment.date() != date || moment.time() != time)
        return NotFound(QStringLiteral("The clocks skipped %1 on this date; check the time of birth.")
                            .arg(time.toString(QStringLiteral("HH:mm"))));

    const int total = zone.offsetFromUtc(moment);
    const int standard = ListStandardOffset(zone, moment, total, zone.standardTimeOffset(moment));
    const int shift = total - standard;
    if (standard % 60 != 0)
        return NotFound(QStringLiteral("The clocks kept local mean time (%1) on this date; choose a zone by hand.")
                            .arg(OffsetText(total)));
    if (shift != 0 && shift != 3600)
        return NotFound(QStringLiteral("The clocks were %1 ahead of standard time (%2) on this date; "
                                       "choose a zone by hand.")
                            .arg(DurationText(shift), OffsetText(total)));

    const QString standardAbbreviation = StandardAbbreviation(zone, moment);
    const QString abbreviationNow = zone.abbreviation(moment);
    const QString country = zone.territory() == QLocale::AnyTerritory ? QString()
                                                                       : QLocale::territoryToString(zone.territory());
    int best = -1;
    int bestPreference = 0;
    for (int i = 0; i < static_cast<int>(ZoneCount); ++i) {
        const ZoneRow &row = ZoneCorrectionTable[static_cast<std::size_t>(i)];
        // Rows store the correction towards UT, the opposite of the offset.
        if (-(row.Hours * 60 + row.Minutes) * 60 != standard)
            continue;
        const int preference = Preference(row, standardAbbreviation, abbreviationNow, country);
        if (best < 0 || preference < bestPreference) {
            best = i;
            bestPreference = preference;
        }
    }
    if (best < 0)
        return NotFound(QStringLiteral("No zone in the list matches %1 for this date; choose one by hand.")
                            .arg(OffsetText(standard)));

    ZoneChoice choice;
    choice.found = true;
    choice.zonePosition = best;
    choice.daylightSaving = shift == 3600;
    return choice;
}
