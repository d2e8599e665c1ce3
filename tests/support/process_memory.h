#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QList>

// Resident set size in kilobytes (Linux); -1 where it cannot be read.
inline long ResidentKilobytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4 : -1;
}

// Deletes what was scheduled for deletion and handles what is pending, so
// that a measurement sees no leftovers of the step before.
inline void FlushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
