#include "entry/moon_sign_driver.h"

#include "app/app_context.h"
#include "astro/sign_change.h"
#include "entry/number_field.h"
#include "entry/sign_name_table.h"
#include "entry/zone_choice.h"

#include <QDate>

namespace {

std::int16_t wholeNumber(const QString &text)
{
    // Validation has already confirmed a number within the box's range.
    const std::optional<double> value = ParseNumberField(text.toStdString());
    return static_cast<std::int16_t>(value ? RoundHalfToEven(*value) : 0);
}

void fillBirthInput(const PersonDetails &p, const ZoneCorrection &correction, BirthInput &in)
{
    in.Month = static_cast<std::int16_t>(p.month);
    in.Day = static_cast<std::int16_t>(p.day);
    in.Year = static_cast<std::int16_t>(p.year);
    in.Hour = static_cast<std::int16_t>(p.timeUnknown ? UnknownTimeHour : p.hour);
    in.Minute = static_cast<std::int16_t>(p.timeUnknown ? 0 : p.minute);
    // The zone's own signed correction reaches the engine.
    in.ZoneHours = correction.Hours;
    in.ZoneMinutes = correction.Minutes;
    in.ZoneSeconds = correction.Seconds;
    in.LonDegrees = wholeNumber(p.lonD);
    in.LonMinutes = wholeNumber(p.lonM);
    in.LatDegrees = wholeNumber(p.latD);
    in.LatMinutes = wholeNumber(p.latM);
    in.IsEast = !p.west;
    in.IsSouth = p.south;
    in.IsDaylightSaving = p.zone.daylightSaving;
}

// What the clock was and its lead on Universal Time at the time the engine
// was given: as the time zone database names it for a picked place, else
// the zone list's entry as set.
QString clockDescription(const PersonDetails &p, const BirthInput &in)
{
    const int lead = -(in.ZoneHours * 3600 + in.ZoneMinutes * 60 + in.ZoneSeconds) + (in.IsDaylightSaving ? 3600 : 0);
    const QString offset = OffsetText(lead);
    if (p.pick) {
        QDate date(p.year, p.month, p.day);
        if (!date.isValid())
            date = QDate(p.year, p.month, 1);
        const ZoneChoice choice = ChooseZone(QByteArray::fromStdString(p.pick->timeZone), date, in.Hour, in.Minute);
        if (choice.found && choice.offsetSeconds == lead && !choice.clockName.isEmpty())
            return choice.clockName + QStringLiteral(", ") + offset;
    }
    const QString entry = p.zone.isExactOffset()
        ? p.zone.exactOffsetText
        : p.zone.position >= 0 && p.zone.position < int(ZoneCorrectionTable.size())
        ? QString::fromUtf8(ZoneCorrectionTable[std::size_t(p.zone.position)].ListText.data(),
                            qsizetype(ZoneCorrectionTable[std::size_t(p.zone.position)].ListText.size()))
        : QString();
    return QStringLiteral("\u201C%1\u201D from the zone list%2, %3")
        .arg(entry, in.IsDaylightSaving ? QStringLiteral(" with Daylight Saving Time") : QString(), offset);
}

} // namespace

void ZoneCalculation(const ZoneSetting &zone, ZoneCorrection &correction)
{
    if (zone.isExactOffset())
        correction = ZoneCorrectionFromOffset(zone.exactOffsetSeconds);
    else
        ZoneCorrectionFromPosition(zone.position, correction);
}

PersonReading ComputePerson(AppContext &context, const PersonDetails &details, std::string &signName)
{
    BirthInput &in = context.birthInput;
    fillBirthInput(details, context.zoneCorrection, in);
    context.ephemeris.ComputeMoonPosition(in);
    context.planetPosition.BuildPositionList(context.ephemeris.MoonPositionText());
    const auto sign = SignNameFromShortPosition(context.planetPosition.PositionList()[WesternPlanetPosition::MoonEntry]);
    if (sign)
        signName = std::string(*sign);

    PersonReading reading;
    reading.details = details;
    reading.birthInput = in;
    reading.universalTime = context.ephemeris.UniversalTime();
    reading.longitude = context.ephemeris.Longitude();
    reading.moonSign = QString::fromStdString(signName);
    reading.daySpans = SignSpansOnDay(in.Year, in.Month, in.Day, ZoneCorrectionInHours(in), in.IsDaylightSaving);
    reading.clock = clockDescription(details, in);
    return reading;
}

Reading MakeReading(AppContext &context, PersonReading man, PersonReading woman)
{
    LoadCompatibilityTable(context.compatibilityTable);
    LookUpPair(context.compatibilityTable, context.MaleMoonSign, context.FemaleMoonSign, context.compatibility);
    Reading reading{std::move(man), std::move(woman), context.compatibility, {}};
    // Every pair the two days allow, each looked up on its own.
    for (std::size_t i = 0; i < reading.man.daySpans.size(); ++i) {
        for (std::size_t j = 0; j < reading.woman.daySpans.size(); ++j) {
            PossiblePair pair{i, j, {}};
            LookUpPair(context.compatibilityTable, Signs[std::size_t(reading.man.daySpans[i].signIndex) % 12].Name,
                       Signs[std::size_t(reading.woman.daySpans[j].signIndex) % 12].Name, pair.compatibility);
            reading.possiblePairs.push_back(std::move(pair));
        }
    }
    return reading;
}
