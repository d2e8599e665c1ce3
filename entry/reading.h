#pragma once

#include "astro/birth_input.h"
#include "astro/sign_change.h"
#include "compat/compatibility_table.h"
#include "entry/person_details.h"

#include <QList>
#include <QString>

#include <vector>

// One person's part of a reading: the details as entered, the record the
// engine was given and what it worked out from it, the Moon sign found,
// the stretches of the birth day that give one sign, and what the clock
// was ("India Standard Time, UTC+05:30").
struct PersonReading {
    PersonDetails details;
    BirthInput birthInput;
    double universalTime = 0.0; // hours on the local date, as the engine had it
    double longitude = 0.0;
    QString moonSign;
    std::vector<SignSpan> daySpans;
    QString clock;
};

// A pair of signs the birth days allow, with the stretch of each day that
// leads to it (indexes into each person's day spans).
struct PossiblePair {
    std::size_t manSpan = 0, womanSpan = 0;
    CompatibilityResult compatibility;
};

// One reading, as the results window shows it and the report writes it.
struct Reading {
    PersonReading man;
    PersonReading woman;
    CompatibilityResult compatibility;
    // Every pair the two birth days allow, the reading's own among them.
    std::vector<PossiblePair> possiblePairs;
};

// The seven texts shown for a person, in the results window and in the
// report alike.
struct PersonTexts {
    QString name, dateOfBirth, timeOfBirth, city, state, country, moonSign;
};
PersonTexts ShownTexts(const PersonReading &person);

// How a person's reading was made, line by line: the birth as entered, the
// clock and its offset, the Universal Time the engine was given, the Moon's
// place in its sign and the times of the day that give each sign.
struct WorkingLine {
    QString caption;
    QString value;
};
QList<WorkingLine> WorkingLines(const PersonReading &person);

// What an uncertain time would change: the other pairs the birth days allow,
// with the times that lead to each; every pair when a time is unknown.
// Nothing when both days give one sign each and both times are known.
struct OtherPairs {
    QString caption;
    QStringList lines;
};
OtherPairs OtherPairsOf(const Reading &reading);

// "January", ..., "December" for 1 to 12.
QString MonthName(int month);
