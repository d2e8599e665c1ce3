#include "entry/atlas_geonames.h"
#include "entry/place_index.h"

#include <geonames.h>

#include <QLibrary>

#include <clocale>
#include <locale.h>

#include <algorithm>
#include <type_traits>
#include <utility>

namespace {

std::string Text(const gchar *s)
{
    return s != nullptr ? std::string(s) : std::string();
}

// The place library is opened on the first query, not at start-up: it
// brings seven other libraries with it, and most readings never look a
// place up. Without it the atlas simply finds nothing.
struct GeonamesFunctions {
    decltype(&geonames_get_n_cities) getCount = nullptr;
    decltype(&geonames_get_city) getCity = nullptr;
    decltype(&geonames_city_free) freeCity = nullptr;
    decltype(&geonames_city_get_name) name = nullptr;
    decltype(&geonames_city_get_state) state = nullptr;
    decltype(&geonames_city_get_country) country = nullptr;
    decltype(&geonames_city_get_timezone) timeZone = nullptr;
    decltype(&geonames_city_get_latitude) latitude = nullptr;
    decltype(&geonames_city_get_longitude) longitude = nullptr;
    decltype(&geonames_city_get_population) population = nullptr;

    bool load()
    {
        // The library stays loaded for the rest of the run; the index keeps
        // copies, not pointers into it.
        QLibrary library(QStringLiteral("geonames"), 0);
        if (!library.load())
            return false;
        const auto resolve = [&library](auto &function, const char *symbol) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(symbol));
            return function != nullptr;
        };
        return resolve(getCount, "geonames_get_n_cities") && resolve(getCity, "geonames_get_city")
            && resolve(freeCity, "geonames_city_free") && resolve(name, "geonames_city_get_name")
            && resolve(state, "geonames_city_get_state") && resolve(country, "geonames_city_get_country")
            && resolve(timeZone, "geonames_city_get_timezone") && resolve(latitude, "geonames_city_get_latitude")
            && resolve(longitude, "geonames_city_get_longitude")
            && resolve(population, "geonames_city_get_population");
    }
};

} // namespace

// Reads every city once in the machine's language and once in English.
// gettext translates the names, and it follows the calling thread's locale,
// so the English pass runs with this thread alone switched to "C".
std::vector<AtlasPlace> ReadGeonamesPlaces()
{
    GeonamesFunctions geonames;
    if (!geonames.load())
        return {};
    const gint count = std::max(geonames.getCount(), 0);
    std::vector<AtlasPlace> places;
    places.reserve(static_cast<std::size_t>(count));
    for (gint i = 0; i < count; ++i) {
        GeonamesCity *city = geonames.getCity(i);
        AtlasPlace place;
        if (city != nullptr) {
            place = {Text(geonames.name(city)), Text(geonames.state(city)), Text(geonames.country(city)),
                     Text(geonames.timeZone(city)), geonames.latitude(city), geonames.longitude(city),
                     geonames.population(city), {}};
            geonames.freeCity(city);
        }
        places.push_back(std::move(place));
    }

    if (locale_t english = newlocale(LC_ALL_MASK, "C", locale_t(nullptr))) {
        const locale_t previous = uselocale(english);
        for (gint i = 0; i < count; ++i) {
            if (GeonamesCity *city = geonames.getCity(i)) {
                places[static_cast<std::size_t>(i)].englishCity = Text(geonames.name(city));
                geonames.freeCity(city);
            }
        }
        uselocale(previous);
        freelocale(english);
    }
    std::erase_if(places, [](const AtlasPlace &p) { return p.city.empty() && p.englishCity.empty(); });
    for (AtlasPlace &p : places) {
        if (p.englishCity.empty())
            p.englishCity = p.city;
        else if (p.city.empty())
            p.city = p.englishCity;
    }
    return places;
}

namespace {

// The library's list is read once per process; a look-up is then a binary
// search instead of a walk over every city.
const PlaceIndex &SharedIndex()
{
    static const PlaceIndex index(ReadGeonamesPlaces());
    return index;
}

} // namespace

std::unique_ptr<Atlas> MakeSystemAtlas()
{
    return std::make_unique<IndexedAtlas>(SharedIndex);
}
