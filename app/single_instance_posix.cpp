#include "app/single_instance.h"

// The lock on Linux and other POSIX systems: a kernel lock (flock) on a file
// in the user's own runtime folder, and the raise socket beside it.

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

const QString kLockName = QStringLiteral("ru-zuva-zize-vadiveziduzor.lock");
const QString kSocketName = QStringLiteral("ru-zuva-zize-vadiveziduzor.socket");

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// A folder only this user can write to, and not a link.
bool isPrivateFolder(const struct stat &st)
{
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 022) == 0;
}

} // namespace

SingleInstance::SingleInstance(const QString &folder)
    : m_folder(folder)
{
}

SingleInstance::~SingleInstance()
{
    m_server.reset(); // removes the socket file
    if (m_lock)
        ::close(m_lock->fd); // the kernel lock goes with it; the file stays, harmless
}

QString SingleInstance::defaultFolder()
{
    const QString uid = QString::number(::getuid());
    const QByteArray run = "/run/user/" + uid.toLatin1();
    struct stat st {};
    if (::lstat(run.constData(), &st) == 0 && isPrivateFolder(st))
        return QString::fromLatin1(run);
    return QStringLiteral("/tmp/ru-zuva-zize-vadiveziduzor-") + uid;
}

bool SingleInstance::makePrivateFolder()
{
    const QByteArray folder = QFile::encodeName(m_folder);
    if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST) {
        m_problem = QStringLiteral("The folder %1 cannot be made: %2.").arg(m_folder, systemError(errno));
        return false;
    }
    struct stat st {};
    if (::lstat(folder.constData(), &st) != 0) {
        m_problem = QStringLiteral("The folder %1 cannot be read: %2.").arg(m_folder, systemError(errno));
        return false;
    }
    if (S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 022) != 0)
        ::chmod(folder.constData(), 0700);
    else if (!isPrivateFolder(st)) {
        m_problem = QStringLiteral("%1 is not a folder of this user's own.").arg(m_folder);
        return false;
    }
    return true;
}

SingleInstance::Outcome SingleInstance::tryAcquire()
{
    if (m_lock)
        return Outcome::Acquired;
    if (!makePrivateFolder())
        return Outcome::Unavailable;
    const QString lockPath = m_folder + QLatin1Char('/') + kLockName;
    const QByteArray path = QFile::encodeName(lockPath);
    // Whatever stands in the lock's place and is held by no live copy is
    // cleared away: a live copy only ever holds a plain file of this user's.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0) {
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
        struct stat st {};
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
            ::unlink(path.constData()); // another user's file or a link
        }
    }
    m_problem = QStringLiteral("The lock file %1 cannot be opened.").arg(lockPath);
    return Outcome::Unavailable;
}


QString SingleInstance::socketAddress() const
{
    return m_folder + QLatin1Char('/') + kSocketName;
}
