// Places, their names and zone histories carried inside the program, for
// systems that have neither the place library nor the IANA time zone data.
// They are written at build time from the build machine's atlas and zone
// data (see tools/place_data.cpp), so look-ups and zone choices match that
// machine's.
#include "entry/builtin_place_data.h"
#include "entry/place_index.h"
#include "entry/zone_history.h"

#include <QByteArray>
#include <QLocale>

#include <cstddef>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

extern const char kPlaceData[];
extern const std::size_t kPlaceData_size;
extern const char kPlaceNames[];
extern const std::size_t kPlaceNames_size;

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

// The packed names of one language, as place_data wrote them; empty when the
// data has none.
QByteArray PackedNames(const QString &languageName)
{
    const std::string language = languageName.toStdString();
    std::string_view data(kPlaceNames, kPlaceNames_size);
    while (!data.empty()) {
        const std::size_t languageEnd = data.find('\n');
        const std::size_t sizeEnd = languageEnd == std::string_view::npos ? languageEnd : data.find('\n', languageEnd + 1);
        if (sizeEnd == std::string_view::npos)
            break;
        const auto size = static_cast<std::size_t>(Number(data.substr(languageEnd + 1, sizeEnd - languageEnd - 1)));
        if (size > data.size() - sizeEnd - 1)
            break;
        if (data.substr(0, languageEnd) == language)
            return QByteArray(data.data() + sizeEnd + 1, static_cast<qsizetype>(size));
        data.remove_prefix(sizeEnd + 1 + size);
    }
    return {};
}

// The packed names of the first language the data has names for: "pt-BR"
// tries pt_BR, then pt. Within one language every place has its name as
// gettext gives it there, so nothing falls back further.
QByteArray FirstPackedNames(const QStringList &uiLanguages)
{
    for (const QString &wanted : uiLanguages) {
        const QString name = QLocale(wanted).name();
        for (const QString &language : {name, name.section(QLatin1Char('_'), 0, 0)}) {
            if (QByteArray packed = PackedNames(language); !packed.isEmpty())
                return packed;
        }
    }
    return {};
}

std::vector<AtlasPlace> NamedPlaces(const QStringList &uiLanguages)
{
    std::vector<AtlasPlace> places = Data().places;
    const QByteArray packed = FirstPackedNames(uiLanguages);
    if (packed.isEmpty())
        return places;
    const QByteArray names = qUncompress(packed);
    std::map<std::string, std::string> countries, states; // by English country (and state)
    std::vector<std::vector<std::string_view>> ownNames;    // places' own lines
    std::string_view text(names.constData(), static_cast<std::size_t>(names.size()));
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::vector<std::string_view> f = Fields(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (f[0] == "C" && f.size() == 3)
            countries[Text(f[1])] = Text(f[2]);
        else if (f[0] == "S" && f.size() == 4)
            states[Text(f[1]) + '\t' + Text(f[2])] = Text(f[3]);
        else if (f.size() == 2 || f.size() == 4)
            ownNames.push_back(std::move(f));
    }
    for (AtlasPlace &place : places) {
        if (const auto state = states.find(place.country + '\t' + place.state); state != states.end())
            place.state = state->second;
        if (const auto country = countries.find(place.country); country != countries.end())
            place.country = country->second;
    }
    for (const std::vector<std::string_view> &f : ownNames) {
        const auto number = static_cast<std::size_t>(Number(f[0]));
        if (number >= places.size())
            continue;
        AtlasPlace &place = places[number];
        if (!f[1].empty())
            place.city = Text(f[1]);
        if (f.size() == 4) {
            place.state = Text(f[2]);
            place.country = Text(f[3]);
        }
    }
    return places;
}

// An atlas over an index of its own, for names in languages other than the
// user's.
class OwnIndexAtlas final : public Atlas {
public:
    explicit OwnIndexAtlas(std::vector<AtlasPlace> places)
        : m_index(std::move(places))
    {
    }
    std::vector<AtlasPlace> findByPrefix(std::string_view prefix, std::size_t limit) const override
    {
        return m_index.find(prefix, limit);
    }
    const std::vector<AtlasPlace> &allPlaces() const override { return m_index.places(); }

private:
    PlaceIndex m_index;
};

const PlaceIndex &SharedIndex()
{
    static const PlaceIndex index(NamedPlaces(QLocale::system().uiLanguages()));
    return index;
}

} // namespace

std::unique_ptr<Atlas> MakeSystemAtlas()
{
    return std::make_unique<IndexedAtlas>(SharedIndex);
}

std::unique_ptr<Atlas> MakeBuiltinAtlas(const QStringList &uiLanguages)
{
    return std::make_unique<OwnIndexAtlas>(NamedPlaces(uiLanguages));
}

const ZoneHistory &ZoneHistoryFor(const QByteArray &id)
{
    static const ZoneHistory unknown;
    const auto &zones = Data().zones;
    const auto found = zones.find(id);
    return found == zones.end() ? unknown : found->second;
}
