#pragma once

#include "app/atlas.h"

#include <QString>

#include <memory>
#include <optional>

class QSettings;

// One person's entries on the birth form as kept between runs. Numbers are
// the values shown (month 1 to 12, year 1901 to 2050 and so on); the zone is
// its list position.
struct RememberedPerson {
    QString name;
    int month = 1, day = 1, year = 1901, hour = 0, minute = 0, second = 0;
    QString city, state, country;
    QString lonD, lonM, latD, latM;
    bool west = false, south = false;
    int zone = 0;
    bool daylightSaving = false;
    // The birth place picked from the atlas while the zone still follows it.
    std::optional<AtlasPlace> pick;
};

// Both people's entries in the user's settings, so that the next start
// shows them again. Nothing else is kept there.
class PeopleStore {
public:
    // The store in the user's configuration folder.
    PeopleStore();
    // A store in the given INI file.
    explicit PeopleStore(QString file);
    ~PeopleStore();

    // False when no complete pair is stored; then both are left untouched.
    bool load(RememberedPerson &man, RememberedPerson &partner) const;
    void save(const RememberedPerson &man, const RememberedPerson &partner);
    // Forgets both people.
    void clear();

    QString fileName() const;

private:
    std::unique_ptr<QSettings> m_settings;
};
