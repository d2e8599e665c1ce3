#include "app/platform_files.h"

// Files on Windows: QSaveFile writes beside the target and replaces it only
// once everything is written, so the old file stays whole when anything
// fails. Windows has no pipes or devices among ordinary files, and the
// user's application-data folder is the user's own.

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

QString describe(const QFileDevice &file)
{
    QString text = file.errorString();
    if (!text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    return text;
}

// QSaveFile names its temporary copy after the target and six more
// characters; those a killed save left more than a minute ago go.
void removeLeftovers(const QFileInfo &target)
{
    QDir folder = target.absoluteDir();
    const QDateTime old = QDateTime::currentDateTimeUtc().addSecs(-60);
    const QFileInfoList candidates =
        folder.entryInfoList({target.fileName() + QStringLiteral(".??????")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &leftover : candidates) {
        if (!leftover.isSymLink() && leftover.lastModified().toUTC() < old)
            QFile::remove(leftover.absoluteFilePath());
    }
}

} // namespace

QString SettingsFolder()
{
    const QString roaming = qEnvironmentVariable("APPDATA");
    const QString base = roaming.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                                           : QDir::fromNativeSeparators(roaming);
    return base + QStringLiteral("/zuvazize");
}

QString RuntimeFolder()
{
    return {};
}

bool MakePrivateFolder(const QString &folder, QString *problem)
{
    const QFileInfo info(folder);
    if ((info.exists() && !info.isDir()) || !QDir().mkpath(folder)) {
        if (problem)
            *problem = QStringLiteral("The folder %1 cannot be made.").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    return true;
}

std::optional<QByteArray> ReadOwnSmallFile(const QString &path, qint64 maxBytes, QString *why)
{
    const auto refuse = [why](const QString &reason) -> std::optional<QByteArray> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return refuse({});
    if (info.isSymLink() || info.isJunction() || !info.isFile())
        return refuse(QStringLiteral("It is not a regular file."));
    if (info.size() > maxBytes)
        return refuse(QStringLiteral("It is larger than %1 bytes.").arg(maxBytes));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(describe(file));
    const QByteArray data = file.read(maxBytes + 1);
    if (data.size() > maxBytes)
        return refuse(QStringLiteral("It is larger than %1 bytes.").arg(maxBytes));
    return data;
}

QString SaveFileSafely(const QString &path, const QByteArray &bytes, const SaveOptions &options)
{
    if (path.isEmpty())
        return QStringLiteral("The folder does not exist.");
    // An existing target must be a regular file; a link is either followed
    // (the file it leads to is replaced) or refused.
    QString target = path;
    QFileInfo info(path);
    if (info.isSymLink()) {
        if (!options.followLinks)
            return QStringLiteral("It is a symbolic link; nothing was replaced.");
        target = info.symLinkTarget();
        info = QFileInfo(target);
        if (target.isEmpty() || !info.exists())
            return QStringLiteral("It is a link to nothing; nothing was replaced.");
    }
    if (info.exists() && !info.isFile())
        return QStringLiteral("It is not a regular file (a folder, device, pipe or socket); nothing was replaced.");
    removeLeftovers(info);

    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return describe(file);
    if (file.write(bytes) != bytes.size()) {
        const QString error = describe(file);
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return describe(file);
    return {};
}
