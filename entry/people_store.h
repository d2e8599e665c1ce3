#pragma once

#include "entry/person_details.h"

#include <QString>

#include <memory>

class QSettings;

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
    bool load(PersonDetails &man, PersonDetails &partner) const;
    void save(const PersonDetails &man, const PersonDetails &partner);
    // Forgets both people.
    void clear();

    QString fileName() const;

private:
    std::unique_ptr<QSettings> m_settings;
};
