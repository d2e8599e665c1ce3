#include "entry/moon_sign_driver.h"

#include "app/app_context.h"
#include "astro/sign_change.h"
#include "entry/number_field.h"
#include "entry/sign_name_table.h"

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
    in.Hour = static_cast<std::int16_t>(p.hour);
    in.Minute = static_cast<std::int16_t>(p.minute);
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
    reading.moonSign = QString::fromStdString(signName);
    const SignChange change = FindSignChangeOnDay(in.Year, in.Month, in.Day, ZoneCorrectionInHours(in), in.IsDaylightSaving);
    reading.signChangeNote = QString::fromStdString(SignChangeNote(change));
    return reading;
}

Reading MakeReading(AppContext &context, PersonReading man, PersonReading woman)
{
    LoadCompatibilityTable(context.compatibilityTable);
    LookUpPair(context.compatibilityTable, context.MaleMoonSign, context.FemaleMoonSign, context.compatibility);
    return {std::move(man), std::move(woman), context.compatibility};
}
