#include "app/single_instance.h"

// The lock on Windows: a lock file (QLockFile) in the user's local
// application-data folder, which knows a dead holder by its process id, and
// a named pipe of the user's own for the raise.

#include <QDir>
#include <QLocalServer>
#include <QLockFile>
#include <QStandardPaths>

struct SingleInstance::Lock {
    explicit Lock(const QString &path)
        : file(path)
    {
    }
    QLockFile file;
};

SingleInstance::SingleInstance(const QString &folder)
    : m_folder(folder)
{
}

SingleInstance::~SingleInstance()
{
    m_server.reset();
    m_lock.reset(); // unlocks and removes the lock file
}

QString SingleInstance::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/RU Zuva Zize Vadiveziduzor");
}

SingleInstance::Outcome SingleInstance::tryAcquire()
{
    if (m_lock)
        return Outcome::Acquired;
    if (!QDir().mkpath(m_folder)) {
        m_problem = QStringLiteral("The folder %1 cannot be made.").arg(QDir::toNativeSeparators(m_folder));
        return Outcome::Unavailable;
    }
    const QString path = m_folder + QStringLiteral("/ru-zuva-zize-vadiveziduzor.lock");
    auto lock = std::make_unique<Lock>(path);
    lock->file.setStaleLockTime(0); // a live holder's lock is never stale by age
    if (lock->file.tryLock(0) || (lock->file.error() == QLockFile::LockFailedError
                                  && lock->file.removeStaleLockFile() && lock->file.tryLock(0))) {
        m_lock = std::move(lock);
        return Outcome::Acquired;
    }
    if (lock->file.error() == QLockFile::LockFailedError)
        return Outcome::Running;
    m_problem = QStringLiteral("The lock file %1 cannot be made.").arg(QDir::toNativeSeparators(path));
    return Outcome::Unavailable;
}

QString SingleInstance::socketAddress() const
{
    // Named pipes are machine-wide: the user's name keeps them apart.
    return QStringLiteral("ru-zuva-zize-vadiveziduzor-") + qEnvironmentVariable("USERNAME");
}
