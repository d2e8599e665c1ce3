#include "app/single_instance.h"

// The lock on Windows: a lock file (QLockFile) in the user's local
// application-data folder, which knows a dead holder by its process id, and
// a named pipe of the user's own for the raise.

#include "app/platform_files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLockFile>

struct SingleInstance::Lock {
    explicit Lock(const QString &path)
        : file(path)
    {
    }
    QLockFile file;
};

SingleInstance::SingleInstance(const QString &lockFolder, const QString &runtimeFolder)
    : m_folder(lockFolder)
    , m_runtimeFolder(runtimeFolder)
{
}

SingleInstance::~SingleInstance()
{
    m_server.reset();
    m_lock.reset(); // unlocks and removes the lock file
}

SingleInstance::Outcome SingleInstance::tryAcquire()
{
    if (m_lock)
        return Outcome::Acquired;
    if (!MakePrivateFolder(m_folder, &m_problem))
        return Outcome::Unavailable;
    const QString path = m_folder + QStringLiteral("/vadiveziduzor.lock");
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

QString SingleInstance::listenAddress() const
{
    // Named pipes are machine-wide: the user's name and the lock's folder
    // keep them apart.
    const QByteArray key = QCryptographicHash::hash(m_folder.toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("ru-zuva-zize-vadiveziduzor-") + qEnvironmentVariable("USERNAME") + QLatin1Char('-')
        + QString::fromLatin1(key.left(16));
}

void SingleInstance::publishAddress(const QString &)
{
    // The pipe's name follows from the lock's folder alone.
}

QString SingleInstance::raiseAddress() const
{
    return listenAddress();
}

bool SingleInstance::addressGone() const
{
    return false; // a named pipe lives as long as its server
}
