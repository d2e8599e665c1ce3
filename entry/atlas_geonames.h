#pragma once

#include "app/atlas.h"

#include <vector>

// Every place of the place library, read afresh: names in the language
// gettext picks for this process, and the English city names. Empty when
// the library cannot be opened.
std::vector<AtlasPlace> ReadGeonamesPlaces();
