// Build-time helper for systems without the place library or the IANA time
// zone data: writes every place of the atlas and the history of every zone
// they use as one text file, which such a build carries inside the program.
// Look-ups and zone choices then go through the same code with the same data
// on every system.
//   place_data OUTPUT.tsv
//
// Lines, fields separated by tabs:
//   P  city  state  country  zone  latitude  longitude  population  englishCity
//   Z  zone  country
//   R  start  offset  standard  abbreviation  name      (the zone's periods, in order)
#include "app/atlas.h"
#include "entry/zone_history.h"

#include <QByteArray>

#include <clocale>
#include <cstdio>
#include <set>
#include <string>

namespace {

// Tabs and line breaks never occur in the data; should one appear, it
// becomes a blank rather than breaking the file.
std::string Field(std::string text)
{
    for (char &c : text) {
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

std::string Field(const QString &text)
{
    return Field(text.toStdString());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: place_data OUTPUT.tsv\n");
        return 2;
    }
    // The English names are wanted, whatever the machine's language.
    std::setlocale(LC_ALL, "C");
    const std::unique_ptr<Atlas> atlas = MakeSystemAtlas();
    if (!atlas || atlas->allPlaces().empty()) {
        std::fprintf(stderr, "place_data: no places to write\n");
        return 1;
    }
    std::FILE *out = std::fopen(argv[1], "w");
    if (!out) {
        std::fprintf(stderr, "place_data: cannot write %s\n", argv[1]);
        return 1;
    }
    std::set<std::string> zones;
    for (const AtlasPlace &p : atlas->allPlaces()) {
        std::fprintf(out, "P\t%s\t%s\t%s\t%s\t%.6f\t%.6f\t%u\t%s\n", Field(p.city).c_str(), Field(p.state).c_str(),
                     Field(p.country).c_str(), Field(p.timeZone).c_str(), p.latitude, p.longitude, p.population,
                     Field(p.englishCity).c_str());
        zones.insert(p.timeZone);
    }
    for (const std::string &zone : zones) {
        const ZoneHistory history = ZoneHistoryFromSystem(QByteArray::fromStdString(zone));
        if (!history.valid())
            continue;
        std::fprintf(out, "Z\t%s\t%s\n", Field(zone).c_str(), Field(history.country).c_str());
        for (const ZonePeriod &r : history.periods)
            std::fprintf(out, "R\t%lld\t%d\t%d\t%s\t%s\n", static_cast<long long>(r.startUtc), r.offset, r.standard,
                         Field(r.abbreviation).c_str(), Field(r.name).c_str());
    }
    return std::fclose(out) == 0 ? 0 : 1;
}
