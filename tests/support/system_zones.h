#pragma once

#include <QDateTime>
#include <QTimeZone>

// Whether the system's own zone data has the IANA history that the tests
// check the program's choices against (a Windows system knows its own
// zones only).
inline bool SystemKnowsZoneHistory()
{
    const QDateTime wartime(QDate(1944, 7, 1), QTime(12, 0), QTimeZone::utc());
    return QTimeZone("Europe/London").offsetFromUtc(wartime) == 7200;
}
