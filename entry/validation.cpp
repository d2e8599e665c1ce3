#include "entry/validation.h"

#include "entry/number_field.h"

std::optional<InputFault> FirstFault(const PersonDetails &p, bool male)
{
    const QString whose = male ? QStringLiteral("Your") : QStringLiteral("Your Partner's");
    if (p.name.trimmed().isEmpty())
        return InputFault{male ? QStringLiteral("Please Enter Your Name") : QStringLiteral("Please Enter Your Partner's Name"),
                          false, PersonField::Name};

    struct Check {
        const QString &text;
        double high;
        const char *what;
        PersonField field;
    };
    // The minute messages have two blanks before "Minute".
    const Check checks[] = {
        {p.lonD, 179, "Degree of Longitude", PersonField::LonDegrees},
        {p.lonM, 59, " Minute of Longitude", PersonField::LonMinutes},
        {p.latD, 89, "Degree of Latitude", PersonField::LatDegrees},
        {p.latM, 59, " Minute of Latitude", PersonField::LatMinutes},
    };
    for (const Check &c : checks) {
        if (!NumberFieldInRange(c.text.toStdString(), 0, c.high))
            return InputFault{QStringLiteral("Please Enter %1 Value Between 0 And %2 in the %3")
                                  .arg(whose, QString::number(c.high), QLatin1String(c.what)),
                              false, c.field};
    }

    if (IsImpossibleFebruaryDay(p.month, p.day, p.year))
        return InputFault{QStringLiteral("Please Enter %1 Correct Date Or Month!").arg(whose), true, PersonField::None};
    if (IsImpossibleThirtyDayMonthDay(p.month, p.day))
        return InputFault{QStringLiteral("Please Enter %1 Correct Date Or Month !").arg(whose), true, PersonField::None};
    return std::nullopt;
}
