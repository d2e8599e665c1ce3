#pragma once

#include "app/atlas.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The form of a place name that look-ups compare: case, accents and the
// Turkish dotted and dotless i make no difference ("İstanbul", "ISTANBUL"
// and "istanbul" meet; "Sao" meets "São"). Empty for text that is not valid
// UTF-8.
std::string FoldPlaceName(std::string_view utf8);

// Places searchable by the start of their local or English name. Whatever
// the atlas reads its places from, look-ups behave the same.
class PlaceIndex {
public:
    explicit PlaceIndex(std::vector<AtlasPlace> places);

    std::vector<AtlasPlace> find(std::string_view prefix, std::size_t limit) const;
    const std::vector<AtlasPlace> &places() const { return m_places; }

private:
    std::vector<AtlasPlace> m_places;
    // Folded name and place number, sorted by name; a place whose English
    // name folds differently is there twice.
    std::vector<std::pair<std::string, std::uint32_t>> m_keys;
};

// An atlas that answers from a place index made when first asked for.
class IndexedAtlas final : public Atlas {
public:
    using IndexSource = const PlaceIndex &(*)();
    explicit IndexedAtlas(IndexSource index)
        : m_index(index)
    {
    }

    std::vector<AtlasPlace> findByPrefix(std::string_view prefix, std::size_t limit) const override
    {
        return m_index().find(prefix, limit);
    }
    const std::vector<AtlasPlace> &allPlaces() const override { return m_index().places(); }

private:
    IndexSource m_index;
};
