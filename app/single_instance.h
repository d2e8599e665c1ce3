#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// One running copy per user. The lock records the holder's process id, so a
// lock left behind by a crashed or killed copy is taken over at once.
class SingleInstance {
public:
    explicit SingleInstance(const QString &lockPath = defaultLockPath());

    // True when this process now holds the lock.
    bool tryAcquire();

    static QString defaultLockPath();

private:
    std::unique_ptr<QLockFile> m_lock;
};
