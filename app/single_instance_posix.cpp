#include "app/single_instance.h"

// The lock on Linux and other POSIX systems: a kernel lock (flock) on a file
// in the user's own settings folder, which also names the raise socket.

#include "app/platform_files.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLocalServer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

struct SingleInstance::Lock {
    int fd = -1;
};

namespace {

const QString kLockName = QStringLiteral("vadiveziduzor.lock");
const QString kSocketStem = QStringLiteral("ru-zuva-zize-vadiveziduzor-");

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A folder only this user can write to, and not a link.
bool isPrivateFolder(const QString &folder)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid()
        && (st.st_mode & 022) == 0;
}

} // namespace

SingleInstance::SingleInstance(const QString &lockFolder, const QString &runtimeFolder)
    : m_folder(lockFolder)
    , m_runtimeFolder(runtimeFolder)
{
}

SingleInstance::~SingleInstance()
{
    m_server.reset(); // removes the socket file
    if (m_lock)
        ::close(m_lock->fd); // the kernel lock goes with it; the file stays, harmless
}

SingleInstance::Outcome SingleInstance::tryAcquire()
{
    if (m_lock)
        return Outcome::Acquired;
    if (!MakePrivateFolder(m_folder, &m_problem))
        return Outcome::Unavailable;
    const QString lockPath = m_folder + QLatin1Char('/') + kLockName;
    const QByteArray path = QFile::encodeName(lockPath);
    // Whatever stands in the lock's place and is held by no live copy is
    // cleared away: a live copy only ever holds a plain file of this user's.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
        struct stat st {};
        if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::getuid()) {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
                m_lock = std::make_unique<Lock>(Lock{fd});
                return Outcome::Acquired;
            }
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK)
                return Outcome::Running;
            m_problem = QStringLiteral("The lock file %1 cannot be locked: %2.").arg(lockPath, systemError(error));
            return Outcome::Unavailable;
        }
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        if (::lstat(path.constData(), &st) != 0) {
            m_problem = QStringLiteral("The lock file %1 cannot be made: %2.").arg(lockPath, systemError(error));
            return Outcome::Unavailable;
        }
        if (S_ISDIR(st.st_mode)) {
            if (::rmdir(path.constData()) != 0) {
                m_problem = QStringLiteral("A folder stands where the lock file %1 belongs.").arg(lockPath);
                return Outcome::Unavailable;
            }
        } else if (S_ISREG(st.st_mode) && st.st_uid == ::getuid()) {
            ::chmod(path.constData(), 0600); // made unreadable; no live copy minds
        } else {
            ::unlink(path.constData()); // another user's file, a link, a pipe
        }
    }
    m_problem = QStringLiteral("The lock file %1 cannot be opened.").arg(lockPath);
    return Outcome::Unavailable;
}

QString SingleInstance::listenAddress() const
{
    if (m_runtimeFolder.isEmpty() || !isPrivateFolder(m_runtimeFolder))
        return {};
    // Named after the lock, so that copies of different stores never meet.
    const QByteArray key = QCryptographicHash::hash(QFile::encodeName(m_folder), QCryptographicHash::Sha256).toHex();
    return m_runtimeFolder + QLatin1Char('/') + kSocketStem + QString::fromLatin1(key.left(16)) + QStringLiteral(".socket");
}

void SingleInstance::publishAddress(const QString &address)
{
    const QByteArray line = QFile::encodeName(address) + '\n';
    if (::ftruncate(m_lock->fd, 0) != 0 || ::pwrite(m_lock->fd, line.constData(), std::size_t(line.size()), 0) != line.size())
        return; // the raise is lost, nothing else
}

QString SingleInstance::raiseAddress() const
{
    // The holder wrote where it listens into the lock file; only a socket of
    // the program's own name in a private folder is taken.
    const std::optional<QByteArray> content = ReadOwnSmallFile(m_folder + QLatin1Char('/') + kLockName, 4096);
    if (!content)
        return {};
    const QString address = QFile::decodeName(content->trimmed());
    const qsizetype slash = address.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0 || !address.mid(slash + 1).startsWith(kSocketStem) || !isPrivateFolder(address.left(slash)))
        return {};
    struct stat st {};
    if (::lstat(QFile::encodeName(address).constData(), &st) != 0 || !S_ISSOCK(st.st_mode) || st.st_uid != ::getuid())
        return {};
    return address;
}

bool SingleInstance::addressGone() const
{
    struct stat st {};
    return ::lstat(QFile::encodeName(m_server->fullServerName()).constData(), &st) != 0 || !S_ISSOCK(st.st_mode);
}
