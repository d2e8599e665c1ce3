#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The few file operations done differently on each system. Anything read
// from disk is treated as hostile: bounded, checked, never followed through
// a link or waited on.

// The user's own folder for the program's settings: the people store and
// the single-instance lock live there.
QString SettingsFolder();

// The user's private runtime folder (XDG_RUNTIME_DIR, else /run/user/UID),
// when there is one that is a folder of this user's own that nobody else may
// write to; empty otherwise. Windows has none.
QString RuntimeFolder();

// Makes the folder (and its parents) when missing. Fails, saying why, when
// it is not a folder of this user's own or others may write to it.
bool MakePrivateFolder(const QString &folder, QString *problem);

// The whole content of a file that is a regular file of this user's (not a
// link, pipe, device or folder) and at most maxBytes long; never blocks.
// Nothing when the file is missing or is anything else; why says what.
std::optional<QByteArray> ReadOwnSmallFile(const QString &path, qint64 maxBytes, QString *why = nullptr);

// How a file is saved: whether a link at the target is followed (the file
// it leads to is replaced, the link stays) or refused; whether a new file
// is readable by this user only; and the name its temporary copies carry
// (".prefix-RANDOM.tmp" beside the target).
struct SaveOptions {
    bool followLinks = true;
    bool privateFile = false;
    QByteArray temporaryPrefix = ".save";
};

// Writes the bytes atomically: to a new file beside the target, fully
// written and synced, which then takes the target's place, so the old file
// stays whole when anything fails. A target that is not a regular file is
// refused and left alone. Temporary copies of this kind that a killed save
// left in the folder more than a minute ago are removed first. Returns a
// sentence that says what went wrong, empty on success.
QString SaveFileSafely(const QString &path, const QByteArray &bytes, const SaveOptions &options);
