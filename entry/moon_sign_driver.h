#pragma once

#include "entry/reading.h"

#include <string>

struct AppContext;

// The steps of one reading that follow validation, on the shared context.

// Sets the zone correction from a person's zone: the row at the list
// position, or the exact offset. A position that is neither leaves the
// correction as it was.
void ZoneCalculation(const ZoneSetting &zone, ZoneCorrection &correction);

// One person's computation after the zone correction is set: fills the
// shared record, runs the engine and the position list, and reads the sign
// into signName, which keeps its value when no sign can be read.
PersonReading ComputePerson(AppContext &context, const PersonDetails &details, std::string &signName);

// The pair of the two signs looked up in the compatibility table.
Reading MakeReading(AppContext &context, PersonReading man, PersonReading woman);
