#include "app/platform_files.h"

// Files on Linux and other POSIX systems: opened without following links or
// waiting on pipes, saved through a synced temporary file and a rename.

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString describe(int error)
{
    switch (error) {
    case ENOSPC:
        return QStringLiteral("No space left on device.");
    case EDQUOT:
        return QStringLiteral("The disk quota is used up.");
    case ENAMETOOLONG:
        return QStringLiteral("The file name is too long.");
    case ENOENT:
        return QStringLiteral("The folder does not exist.");
    case ENOTDIR:
        return QStringLiteral("A part of the path is not a folder.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Permission denied.");
    case EROFS:
        return QStringLiteral("The file system is read-only.");
    case ELOOP:
        return QStringLiteral("The name leads round a loop of symbolic links; nothing was replaced.");
    case EIO:
        return QStringLiteral("The device reported an input/output error.");
    default:
        return QString::fromLocal8Bit(std::strerror(error)) + QLatin1Char('.');
    }
}

const QString kNotRegular =
    QStringLiteral("It is not a regular file (a folder, device, pipe or socket); nothing was replaced.");

// A folder only this user can write to.
bool isPrivateFolder(const struct stat &st)
{
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 022) == 0;
}

QString privateFolderOrEmpty(const QByteArray &path)
{
    struct stat st {};
    if (path.startsWith('/') && ::lstat(path.constData(), &st) == 0 && isPrivateFolder(st))
        return QFile::decodeName(path);
    return {};
}

bool writeAll(int fd, const QByteArray &data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, static_cast<std::size_t>(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// ".prefix-" followed by up to seven base-36 digits and ".tmp": the names
// SaveFileSafely gives its temporary copies.
bool isTemporaryName(const char *name, const QByteArray &prefix)
{
    const std::size_t length = std::strlen(name);
    const std::size_t head = static_cast<std::size_t>(prefix.size()) + 1;
    if (length < head + 5 || length > head + 11 || std::strncmp(name, prefix.constData(), head - 1) != 0
        || name[head - 1] != '-' || std::strcmp(name + length - 4, ".tmp") != 0)
        return false;
    for (std::size_t i = head; i < length - 4; ++i) {
        if (!((name[i] >= '0' && name[i] <= '9') || (name[i] >= 'a' && name[i] <= 'z')))
            return false;
    }
    return true;
}

// Removes what killed saves left: this user's regular files of that name,
// last written more than a minute ago (a save still running is younger).
void removeLeftovers(const QByteArray &folder, const QByteArray &prefix)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const std::time_t now = std::time(nullptr);
    int looked = 0;
    while (const dirent *entry = ::readdir(dir)) {
        if (++looked > 100000) // a huge folder is not worth the wait
            break;
        if (!isTemporaryName(entry->d_name, prefix))
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)
            && st.st_uid == ::getuid() && st.st_mtime < now - 60)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace

QString SettingsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/zuvazize");
}

QString RuntimeFolder()
{
    if (const QString own = privateFolderOrEmpty(qgetenv("XDG_RUNTIME_DIR")); !own.isEmpty())
        return own;
    return privateFolderOrEmpty("/run/user/" + QByteArray::number(::getuid()));
}

bool MakePrivateFolder(const QString &folder, QString *problem)
{
    const QByteArray path = QFile::encodeName(folder);
    const qsizetype slash = path.lastIndexOf('/');
    if (slash > 0)
        QDir().mkpath(QFile::decodeName(path.left(slash)));
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        if (problem)
            *problem = QStringLiteral("The folder %1 cannot be made: %2").arg(folder, describe(errno));
        return false;
    }
    // A link to a folder of the user's own is the user's choice; the folder
    // it leads to is what counts.
    struct stat st {};
    if (::stat(path.constData(), &st) != 0) {
        if (problem)
            *problem = QStringLiteral("The folder %1 cannot be read: %2").arg(folder, describe(errno));
        return false;
    }
    if (S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 022) != 0)
        ::chmod(path.constData(), 0700);
    else if (!isPrivateFolder(st)) {
        if (problem)
            *problem = QStringLiteral("%1 is not a folder of this user's own.").arg(folder);
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
    const QByteArray name = QFile::encodeName(path);
    // No link is followed and no pipe waited on; a folder opens, and is
    // refused below.
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return refuse(errno == ENOENT ? QString() : describe(errno));
    struct stat st {};
    std::optional<QByteArray> content;
    QString reason;
    if (::fstat(fd, &st) != 0)
        reason = describe(errno);
    else if (!S_ISREG(st.st_mode))
        reason = QStringLiteral("It is not a regular file.");
    else if (st.st_uid != ::getuid())
        reason = QStringLiteral("It belongs to another user.");
    else if (st.st_size > maxBytes)
        reason = QStringLiteral("It is larger than %1 bytes.").arg(maxBytes);
    else {
        // The file may grow while it is read: one byte past the limit says so.
        QByteArray data(maxBytes + 1, Qt::Uninitialized);
        qsizetype got = 0;
        while (got < data.size()) {
            const ssize_t n = ::read(fd, data.data() + got, static_cast<std::size_t>(data.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                reason = describe(errno);
                break;
            }
            if (n == 0)
                break;
            got += n;
        }
        if (reason.isEmpty() && got > maxBytes)
            reason = QStringLiteral("It is larger than %1 bytes.").arg(maxBytes);
        else if (reason.isEmpty())
            content = data.left(got);
    }
    ::close(fd);
    if (!content)
        return refuse(reason);
    return content;
}

QString SaveFileSafely(const QString &path, const QByteArray &bytes, const SaveOptions &options)
{
    QByteArray target = QFile::encodeName(path);
    if (target.isEmpty())
        return describe(ENOENT);

    // An existing target must be a regular file; a link is either followed
    // (the file it leads to is replaced, the link stays) or refused.
    struct stat existing {};
    bool exists = false;
    if (::lstat(target.constData(), &existing) == 0) {
        exists = true;
        if (S_ISLNK(existing.st_mode)) {
            if (!options.followLinks)
                return QStringLiteral("It is a symbolic link; nothing was replaced.");
            if (::stat(target.constData(), &existing) != 0)
                return errno == ELOOP ? describe(ELOOP)
                                      : QStringLiteral("It is a link to nothing; nothing was replaced.");
            char *resolved = ::realpath(target.constData(), nullptr);
            if (!resolved)
                return describe(errno);
            target = resolved;
            std::free(resolved);
        }
        if (!S_ISREG(existing.st_mode))
            return kNotRegular;
    } else if (errno != ENOENT) {
        return describe(errno);
    }

    // A short temporary name, so that a target name close to the longest a
    // folder allows still fits.
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : target.left(slash + 1);
    removeLeftovers(folder, options.temporaryPrefix);
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = folder + (slash < 0 ? "/" : "") + options.temporaryPrefix + '-'
            + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                    options.privateFile ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        const int error = errno;
        // A folder that is there but takes no new files (such as /proc) is
        // not a missing folder.
        struct stat st {};
        if (error == ENOENT && ::stat(folder.constData(), &st) == 0 && S_ISDIR(st.st_mode))
            return QStringLiteral("No file can be made in that folder.");
        return describe(error);
    }

    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temporary.constData());
        return describe(error);
    };
    // A private file stays private whatever the old one was; a report keeps
    // the old file's permissions.
    const mode_t mode = options.privateFile ? 0600 : existing.st_mode & 07777;
    if ((exists || options.privateFile) && ::fchmod(fd, mode) != 0)
        return fail(errno);
    // Synced before it takes the old file's place: a disk that fills up
    // late must not leave an empty file where the old one was.
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return describe(error);
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return describe(error);
    }
    // The rename itself is made lasting too.
    if (const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}
