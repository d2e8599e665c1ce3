// Places and zone histories carried inside the program, for systems that have
// neither the place library nor the IANA time zone data. The text is written
// at build time from the build machine's atlas and zone data (see
// tools/place_data.cpp), so look-ups and zone choices match that machine's.
#include "app/atlas.h"
#include "entry/place_index.h"
#include "entry/zone_history.h"

#include <cstddef>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

extern const char kPlaceData[];
extern const std::size_t kPlaceData_size;

namespace {

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (std::size_t tab; (tab = line.find('\t')) != std::string_view::npos; line.remove_prefix(tab + 1))
        fields.push_back(line.substr(0, tab));
    fields.push_back(line);
    return fields;
}

std::string Text(std::string_view field)
{
    return std::string(field);
}

long long Number(std::string_view field)
{
    return std::strtoll(std::string(field).c_str(), nullptr, 10);
}

struct PlaceData {
    std::vector<AtlasPlace> places;
    std::map<QByteArray, ZoneHistory> zones;
};

const PlaceData &Data()
{
    static const PlaceData data = [] {
        PlaceData read;
        std::string_view text(kPlaceData, kPlaceData_size);
        ZoneHistory *zone = nullptr;
        while (!text.empty()) {
            const std::size_t end = text.find('\n');
            const std::vector<std::string_view> f = Fields(text.substr(0, end));
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            if (f[0] == "P" && f.size() == 9) {
                read.places.push_back({Text(f[1]), Text(f[2]), Text(f[3]), Text(f[4]),
                                       std::strtod(std::string(f[5]).c_str(), nullptr),
                                       std::strtod(std::string(f[6]).c_str(), nullptr),
                                       static_cast<unsigned>(Number(f[7])), Text(f[8])});
            } else if (f[0] == "Z" && f.size() == 3) {
                const QByteArray id(f[1].data(), static_cast<qsizetype>(f[1].size()));
                zone = &read.zones[id];
                zone->id = id;
                zone->country = QString::fromUtf8(f[2].data(), static_cast<qsizetype>(f[2].size()));
            } else if (f[0] == "R" && f.size() == 6 && zone) {
                zone->periods.push_back({Number(f[1]), static_cast<int>(Number(f[2])), static_cast<int>(Number(f[3])),
                                         QString::fromUtf8(f[4].data(), static_cast<qsizetype>(f[4].size())),
                                         QString::fromUtf8(f[5].data(), static_cast<qsizetype>(f[5].size()))});
            }
        }
        return read;
    }();
    return data;
}

const PlaceIndex &SharedIndex()
{
    static const PlaceIndex index(Data().places);
    return index;
}

} // namespace

std::unique_ptr<Atlas> MakeSystemAtlas()
{
    return std::make_unique<IndexedAtlas>(SharedIndex);
}

const ZoneHistory &ZoneHistoryFor(const QByteArray &id)
{
    static const ZoneHistory unknown;
    const auto &zones = Data().zones;
    const auto found = zones.find(id);
    return found == zones.end() ? unknown : found->second;
}
