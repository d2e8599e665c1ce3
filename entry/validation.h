#pragma once

#include "entry/person_details.h"

#include <QString>

#include <optional>

// The box of a person's details that a fault lies in; None for the date,
// whose faults leave the focus where it was.
enum class PersonField { None, Name, LonDegrees, LonMinutes, LatDegrees, LatMinutes };

struct InputFault {
    QString message;
    bool information = false; // the information icon; otherwise the error icon
    PersonField field = PersonField::None;
};

// The first fault in one person's details, checked in the form's order: the
// name, the four coordinate boxes, then the day of the month. Nothing when
// every check passes. The partner's messages say "Your Partner's".
std::optional<InputFault> FirstFault(const PersonDetails &person, bool male);
