#pragma once

#include "entry/person_details.h"

#include <QString>

#include <optional>
#include <utility>

// Both people's entries kept between runs in a small file of the program's
// own (JSON), so that the next start shows them again. The file is read only
// when it is a regular file of this user's and small; anything in it that
// the program did not write is taken as nothing remembered. Saving replaces
// the file whole, or leaves the old one as it was.
class PeopleStore {
public:
    // The store in the user's settings folder, taking the people over once
    // from the settings file earlier versions kept.
    PeopleStore();
    // A store in the given file, and the earlier versions' file to take the
    // people over from when the store does not exist yet (none: no such file).
    explicit PeopleStore(QString file, QString earlierFile = {});

    // False when no pair is remembered; then both are left untouched.
    // problem() then says why, when the file was there but could not be used.
    bool load(PersonDetails &man, PersonDetails &partner);
    // Empty on success; otherwise why the people could not be remembered.
    QString save(const PersonDetails &man, const PersonDetails &partner);
    // Forgets both people; empty on success, as save.
    QString clear();

    // The folder the last report was saved to, kept beside the people;
    // empty when none is known.
    QString reportFolder() const { return m_reportFolder; }
    QString setReportFolder(const QString &folder);

    QString fileName() const { return m_file; }
    QString problem() const { return m_problem; }

    // The largest store read, and the longest text of a person kept.
    static constexpr qint64 MaxFileBytes = 64 * 1024;
    static constexpr int MaxTextLength = 1000;

private:
    QString write();

    QString m_file;
    std::optional<std::pair<PersonDetails, PersonDetails>> m_people;
    QString m_reportFolder;
    QString m_earlierFile;
    QString m_problem;
};
