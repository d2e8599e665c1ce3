#pragma once

#include "astro/birth_input.h"
#include "compat/compatibility_table.h"
#include "entry/person_details.h"

#include <QString>

// One person's part of a reading: the details as entered, the record the
// engine was given, the Moon sign found and the note on a sign change
// during the birth day (empty when there was none).
struct PersonReading {
    PersonDetails details;
    BirthInput birthInput;
    QString moonSign;
    QString signChangeNote;
};

// One reading, as the results window shows it and the report writes it.
struct Reading {
    PersonReading man;
    PersonReading woman;
    CompatibilityResult compatibility;
};

// The seven texts shown for a person, in the results window and in the
// report alike.
struct PersonTexts {
    QString name, dateOfBirth, timeOfBirth, city, state, country, moonSign;
};
PersonTexts ShownTexts(const PersonReading &person);

// "January", ..., "December" for 1 to 12.
QString MonthName(int month);
