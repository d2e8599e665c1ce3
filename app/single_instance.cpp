#include "app/single_instance.h"

#include <QDir>
#include <QStandardPaths>

SingleInstance::SingleInstance(const QString &lockPath)
    : m_lock(std::make_unique<QLockFile>(lockPath))
{
    // Never treat a live holder's lock as stale by age; a dead holder's lock
    // is recognised by its process id.
    m_lock->setStaleLockTime(0);
}

bool SingleInstance::tryAcquire()
{
    if (m_lock->tryLock(0))
        return true;
    // The holder may have died without removing its lock.
    if (m_lock->error() == QLockFile::LockFailedError && m_lock->removeStaleLockFile())
        return m_lock->tryLock(0);
    return false;
}

QString SingleInstance::defaultLockPath()
{
    // The runtime folder is per user, so each user may run one copy.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    return QDir(folder).filePath(QStringLiteral("ru-zuva-zize-vadiveziduzor.lock"));
}
