#include "entry/atlas.h"

#include <geonames.h>

#include <algorithm>
#include <tuple>
#include <utility>

namespace {

// Folded form used for every comparison, so "LONDON", "london" and a
// decomposed "Sa\u0303o" all meet. Empty for text that is not valid UTF-8.
std::string FoldKey(std::string_view text)
{
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

struct Entry {
    std::string key;
    AtlasPlace place;
};

// The library's list is read once per process; a prefix query is then a
// binary search instead of a walk over every city.
const std::vector<Entry> &Index()
{
    static const std::vector<Entry> index = [] {
        std::vector<Entry> entries;
        const gint count = geonames_get_n_cities();
        entries.reserve(static_cast<std::size_t>(std::max(count, 0)));
        for (gint i = 0; i < count; ++i) {
            GeonamesCity *city = geonames_get_city(i);
            if (city == nullptr)
                continue;
            AtlasPlace place{Text(geonames_city_get_name(city)), Text(geonames_city_get_state(city)),
                             Text(geonames_city_get_country(city)), Text(geonames_city_get_timezone(city)),
                             geonames_city_get_latitude(city), geonames_city_get_longitude(city),
                             geonames_city_get_population(city)};
            geonames_city_free(city);
            std::string key = FoldKey(place.city);
            if (!key.empty())
                entries.push_back({std::move(key), std::move(place)});
        }
        std::sort(entries.begin(), entries.end(),
                  [](const Entry &a, const Entry &b) { return a.key < b.key; });
        return entries;
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
        const std::vector<Entry> &index = Index();
        auto first = std::lower_bound(index.begin(), index.end(), key,
                                      [](const Entry &e, const std::string &k) { return e.key < k; });
        std::vector<const AtlasPlace *> matches;
        for (auto it = first; it != index.end() && it->key.starts_with(key); ++it)
            matches.push_back(&it->place);

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
