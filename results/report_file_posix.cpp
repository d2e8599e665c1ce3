#include "results/report_file.h"

// Saving on Linux and other POSIX systems: written to a new file beside the
// target, synced, then renamed over it.

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>
#include <cstring>
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

bool writeAll(int fd, const std::string &data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

QString SaveReportFile(const QString &path, const std::vector<TextRun> &runs)
{
    const std::string rtf = WriteRtf(runs);
    QByteArray target = QFile::encodeName(path);
    if (target.isEmpty())
        return describe(ENOENT);

    // An existing target must be a regular file once links are followed; the
    // report then replaces the file the link leads to, and the link stays.
    struct stat existing {};
    bool exists = false;
    if (::lstat(target.constData(), &existing) == 0) {
        exists = true;
        if (S_ISLNK(existing.st_mode)) {
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
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temporary = folder + (slash < 0 ? "/" : "") + ".report-"
            + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".tmp";
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return describe(errno);

    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temporary.constData());
        return describe(error);
    };
    if (exists && ::fchmod(fd, existing.st_mode & 07777) != 0)
        return fail(errno);
    // Synced before it takes the old file's place: a disk that fills up
    // late must not leave an empty report where the old one was.
    if (!writeAll(fd, rtf) || ::fsync(fd) != 0)
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
    return {};
}
