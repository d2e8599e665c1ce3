#include "entry/zone_history.h"

#include <map>
#include <memory>
#include <mutex>

// Zone histories read from the system's time zone data, each once.
const ZoneHistory &ZoneHistoryFor(const QByteArray &id)
{
    static std::mutex lock;
    static std::map<QByteArray, std::unique_ptr<const ZoneHistory>> read;
    const std::lock_guard<std::mutex> hold(lock);
    auto &history = read[id];
    if (!history)
        history = std::make_unique<const ZoneHistory>(ZoneHistoryFromSystem(id));
    return *history;
}
