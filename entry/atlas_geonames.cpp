#include "app/atlas.h"

#include <geonames.h>

#include <QLibrary>

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <type_traits>
#include <utility>

namespace {

// Folded form used for every comparison, so "LONDON", "london" and a
// decomposed "Sa\u0303o" all meet. Empty for text that is not valid UTF-8.
std::string FoldKey(std::string_view text)
{
    // Most names are plain ASCII; glib is only needed for the rest.
    const auto plain = [](char c) { return c != 0 && static_cast<unsigned char>(c) < 0x80; };
    if (std::all_of(text.begin(), text.end(), plain)) {
        std::string key(text);
        for (char &c : key) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        return key;
    }
    gchar *normal = g_utf8_normalize(text.data(), static_cast<gssize>(text.size()), G_NORMALIZE_ALL_COMPOSE);
    if (normal == nullptr)
        return {};
    gchar *folded = g_utf8_casefold(normal, -1);
    std::string key(folded);
    g_free(folded);
    g_free(normal);
    return key;
}

std::string Text(const gchar *s)
{
    return s != nullptr ? std::string(s) : std::string();
}

struct Index {
    std::vector<AtlasPlace> places;
    // Folded name and place number, sorted by name.
    std::vector<std::pair<std::string, std::uint32_t>> keys;
};

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

// The library's list is read once per process; a prefix query is then a
// binary search instead of a walk over every city. Names come in the
// language of the process locale at that moment, as the library translates
// them.
const Index &SharedIndex()
{
    static const Index index = [] {
        Index built;
        GeonamesFunctions geonames;
        if (!geonames.load())
            return built;
        const gint count = std::max(geonames.getCount(), 0);
        built.places.reserve(static_cast<std::size_t>(count));
        built.keys.reserve(static_cast<std::size_t>(count));
        for (gint i = 0; i < count; ++i) {
            GeonamesCity *city = geonames.getCity(i);
            if (city == nullptr)
                continue;
            AtlasPlace place{Text(geonames.name(city)), Text(geonames.state(city)), Text(geonames.country(city)),
                             Text(geonames.timeZone(city)), geonames.latitude(city), geonames.longitude(city),
                             geonames.population(city)};
            geonames.freeCity(city);
            std::string key = FoldKey(place.city);
            if (key.empty())
                continue;
            built.keys.emplace_back(std::move(key), static_cast<std::uint32_t>(built.places.size()));
            built.places.push_back(std::move(place));
        }
        std::sort(built.keys.begin(), built.keys.end());
        return built;
    }();
    return index;
}

class GeonamesAtlas final : public Atlas {
public:
    std::vector<AtlasPlace> findByPrefix(std::string_view prefix, std::size_t limit) const override
    {
        const std::string key = FoldKey(prefix);
        if (key.empty() || limit == 0)
            return {};
        const Index &index = SharedIndex();
        auto it = std::lower_bound(index.keys.begin(), index.keys.end(), key,
                                   [](const auto &entry, const std::string &k) { return entry.first < k; });
        std::vector<const AtlasPlace *> matches;
        for (; it != index.keys.end() && it->first.starts_with(key); ++it)
            matches.push_back(&index.places[it->second]);

        // Ties are broken by name so the list never reshuffles between runs.
        const auto byPopulation = [](const AtlasPlace *a, const AtlasPlace *b) {
            if (a->population != b->population)
                return a->population > b->population;
            return std::tie(a->city, a->state, a->country) < std::tie(b->city, b->state, b->country);
        };
        const std::size_t n = std::min(limit, matches.size());
        std::partial_sort(matches.begin(), matches.begin() + static_cast<std::ptrdiff_t>(n), matches.end(),
                          byPopulation);
        std::vector<AtlasPlace> result;
        result.reserve(n);
        for (std::size_t i = 0; i < n; ++i)
            result.push_back(*matches[i]);
        return result;
    }
};

} // namespace

std::unique_ptr<Atlas> MakeSystemAtlas()
{
    return std::make_unique<GeonamesAtlas>();
}
