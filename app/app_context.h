#pragma once

#include "app/atlas.h"
#include "app/version.h"
#include "astro/birth_input.h"
#include "astro/western_ephemeris.h"
#include "astro/western_planet_position.h"
#include "astro/zone_table.h"
#include "compat/compatibility_table.h"

#include <QString>

#include <memory>
#include <string>

class PeopleStore;

// The application-wide state of one run, handed to every window: the record
// of the person being computed, the zone correction, the engine's module
// state, the two sign names and the latest compatibility result.
struct AppContext {
    BirthInput birthInput;
    ZoneCorrection zoneCorrection;
    WesternEphemeris ephemeris;
    WesternPlanetPosition planetPosition;
    std::string MaleMoonSign;
    std::string FemaleMoonSign;
    CompatibilityTable compatibilityTable;
    CompatibilityResult compatibility;

    // Birth places for the City boxes; none when the program has no atlas.
    std::shared_ptr<const Atlas> atlas;

    // Where both people's entries are kept between runs; none keeps nothing.
    std::shared_ptr<PeopleStore> people;

    // The folder the last report was saved to, where the next save starts;
    // kept with the people.
    QString reportFolder;
};
