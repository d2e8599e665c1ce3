#pragma once

#include <cmath>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// A birth place as the atlas knows it. Latitude is negative south of the
// equator, longitude negative west of Greenwich; timeZone is an IANA name.
// The names come in the machine's language where the atlas has them;
// englishCity is the city's English name (the same text when no other).
struct AtlasPlace {
    std::string city, state, country, timeZone;
    double latitude = 0.0, longitude = 0.0;
    unsigned population = 0;
    std::string englishCity;
};

class Atlas {
public:
    virtual ~Atlas() = default;

    // Places whose name, in the machine's language or in English, starts
    // with the prefix, ignoring case and accents; a place named exactly so
    // first, then the most populous, at most `limit`. An empty or malformed
    // prefix finds nothing. The first call may read the whole database, which
    // takes a noticeable moment; it is safe to make that call from a worker
    // thread.
    virtual std::vector<AtlasPlace> findByPrefix(std::string_view prefix, std::size_t limit) const = 0;

    // Every place the atlas holds, in its own order.
    virtual const std::vector<AtlasPlace> &allPlaces() const = 0;
};

// nullptr when the program was built without an atlas.
std::unique_ptr<Atlas> MakeSystemAtlas();

// Reads the atlas's places on a thread of their own, so that the first
// look-up finds them ready; a look-up made meanwhile waits for them. The
// thread is joined when the returned object goes. Nothing for no atlas.
inline std::jthread PrepareInBackground(std::shared_ptr<const Atlas> atlas)
{
    if (!atlas)
        return {};
    return std::jthread([atlas = std::move(atlas)] { atlas->findByPrefix("a", 1); });
}

// An angle as the birth form takes it: whole degrees and minutes, rounded to
// the nearest minute, with the hemisphere kept apart.
struct DegreesMinutes {
    int degrees = 0;
    int minutes = 0;
    bool negative = false;
};

inline DegreesMinutes NearestMinute(double angle)
{
    // Rounding the total keeps 59.6' from turning into "60'".
    const long total = std::lround(std::fabs(angle) * 60.0);
    return {static_cast<int>(total / 60), static_cast<int>(total % 60), angle < 0.0 && total != 0};
}
