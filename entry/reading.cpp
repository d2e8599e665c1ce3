#include "entry/reading.h"

#include "astro/signs.h"
#include "astro/western_ephemeris.h"

#include <QStringList>

namespace {

QString signName(int index)
{
    if (index < 0 || index >= int(Signs.size()))
        return QStringLiteral("no sign");
    const std::string_view name = Signs[std::size_t(index)].Name;
    return QString::fromLatin1(name.data(), qsizetype(name.size()));
}

// "1 May 1990"
QString dateText(int year, int month, int day)
{
    return QStringLiteral("%1 %2 %3").arg(day).arg(MonthName(month)).arg(year);
}

// "09:05", with seconds when there are any: "05:41:16".
QString clockText(int hour, int minute, int second = 0)
{
    QString text = QStringLiteral("%1:%2").arg(hour, 2, 10, QLatin1Char('0')).arg(minute, 2, 10, QLatin1Char('0'));
    if (second != 0)
        text += QStringLiteral(":%1").arg(second, 2, 10, QLatin1Char('0'));
    return text;
}

QString minuteText(int minuteOfDay)
{
    return clockText(minuteOfDay / 60, minuteOfDay % 60);
}

// The times of a stretch of the day: "up to 14:52", "from 14:53".
QString spanTimes(const SignSpan &span)
{
    if (span.firstMinute == 0)
        return QStringLiteral("up to ") + minuteText(span.lastMinute);
    if (span.lastMinute == 24 * 60 - 1)
        return QStringLiteral("from ") + minuteText(span.firstMinute);
    return QStringLiteral("from %1 up to %2").arg(minuteText(span.firstMinute), minuteText(span.lastMinute));
}

QString daySentence(const std::vector<SignSpan> &spans)
{
    if (spans.size() == 1)
        return QStringLiteral("The Moon is in %1 for a birth at any time that day.").arg(signName(spans[0].signIndex));
    QStringList parts;
    for (const SignSpan &span : spans)
        parts << QStringLiteral("in %1 %2").arg(signName(span.signIndex), spanTimes(span));
    const QString last = parts.takeLast();
    return QStringLiteral("The Moon is ") + parts.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last
        + QStringLiteral(" for a birth that day.");
}

// The stretch of the day the time read for lies in.
std::size_t spanOfBirth(const PersonReading &p)
{
    const int minute = p.birthInput.Hour * 60 + p.birthInput.Minute;
    for (std::size_t i = 0; i < p.daySpans.size(); ++i) {
        if (minute >= p.daySpans[i].firstMinute && minute <= p.daySpans[i].lastMinute)
            return i;
    }
    return 0;
}

} // namespace

QString MonthName(int month)
{
    static const QStringList names = {
        QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"), QStringLiteral("April"),
        QStringLiteral("May"), QStringLiteral("June"), QStringLiteral("July"), QStringLiteral("August"),
        QStringLiteral("September"), QStringLiteral("October"), QStringLiteral("November"),
        QStringLiteral("December")};
    return MonthRange.contains(month) ? names.at(MonthRange.position(month)) : QString();
}

PersonTexts ShownTexts(const PersonReading &person)
{
    const PersonDetails &p = person.details;
    PersonTexts t;
    t.name = p.name.trimmed();
    t.dateOfBirth = QStringLiteral("%1 %2, %3").arg(MonthName(p.month)).arg(p.day).arg(p.year);
    t.timeOfBirth = QStringLiteral("%1:%2:%3").arg(p.hour).arg(p.minute).arg(p.second);
    // Place texts exactly as typed, blanks included.
    t.city = p.city;
    t.state = p.state;
    t.country = p.country;
    t.moonSign = person.moonSign;
    return t;
}

QList<WorkingLine> WorkingLines(const PersonReading &person)
{
    const PersonDetails &p = person.details;
    const QString date = dateText(p.year, p.month, p.day);
    const QString born = p.timeUnknown
        ? QStringLiteral("%1, time unknown: read for %2 local time")
              .arg(date, clockText(person.birthInput.Hour, person.birthInput.Minute))
        : QStringLiteral("%1, %2 local time").arg(date, clockText(p.hour, p.minute, p.second));
    const CivilMoment ut = UniversalMoment(p.year, p.month, p.day, person.universalTime);
    const PositionInSign moon = SignPositionOf(person.longitude);
    return {
        {QStringLiteral("Born"), born},
        {QStringLiteral("Clock"), person.clock},
        {QStringLiteral("Universal Time used"),
         QStringLiteral("%1, %2").arg(dateText(ut.year, ut.month, ut.day), clockText(ut.hour, ut.minute, ut.second))},
        {QStringLiteral("Moon at"),
         QStringLiteral("%1\u00B0 %2\u2032 %3").arg(moon.degrees).arg(moon.minutes).arg(signName(moon.signIndex))},
        {QStringLiteral("That day"), daySentence(person.daySpans)},
    };
}

OtherPairs OtherPairsOf(const Reading &reading)
{
    const PersonReading &man = reading.man;
    const PersonReading &woman = reading.woman;
    const bool unknown = man.details.timeUnknown || woman.details.timeUnknown;
    const bool manVaries = man.daySpans.size() > 1;
    const bool womanVaries = woman.daySpans.size() > 1;
    OtherPairs out;
    if (!unknown && !manVaries && !womanVaries)
        return out;
    out.caption = unknown ? QStringLiteral("Every pair the birth days allow, a time of birth being unknown")
                          : QStringLiteral("If a time of birth is not sure");
    const std::size_t ownMan = spanOfBirth(man), ownWoman = spanOfBirth(woman);
    for (const PossiblePair &pair : reading.possiblePairs) {
        const bool own = pair.manSpan == ownMan && pair.womanSpan == ownWoman;
        if (own && !unknown)
            continue;
        const QString manTimes = manVaries ? spanTimes(man.daySpans[pair.manSpan]) : QString();
        const QString womanTimes = womanVaries ? spanTimes(woman.daySpans[pair.womanSpan]) : QString();
        QString when;
        if (manVaries && womanVaries)
            when = QStringLiteral("If you were born %1 and your partner %2").arg(manTimes, womanTimes);
        else if (manVaries)
            when = QStringLiteral("If you were born %1").arg(manTimes);
        else if (womanVaries)
            when = QStringLiteral("If your partner was born %1").arg(womanTimes);
        else
            when = QStringLiteral("At any time of birth that day");
        const CompatibilityResult &c = pair.compatibility;
        out.lines << QStringLiteral("%1: %2 with %3, %4, %5")
                         .arg(when, signName(man.daySpans[pair.manSpan].signIndex),
                              signName(woman.daySpans[pair.womanSpan].signIndex),
                              QString::fromStdString(c.CompatPercent), QString::fromStdString(c.CompatVerdict));
    }
    return out;
}
