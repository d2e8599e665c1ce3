#include "entry/reading.h"

#include <QStringList>

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
