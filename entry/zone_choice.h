#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

// The zone-list row (and daylight-saving tick) that reproduces the clock an
// IANA zone kept at a birth moment. When no row can, found is false and note
// says why, in words fit for the user.
struct ZoneChoice {
    bool found = false;
    int zonePosition = -1;
    bool daylightSaving = false;
    QString note;
};

// The zone-list entry for an IANA zone at a local birth moment (date and
// hour:minute as typed on the local clock).
ZoneChoice ChooseZone(const QByteArray &ianaZone, QDate date, int hour, int minute);
