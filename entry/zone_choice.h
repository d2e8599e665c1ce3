#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

// How the birth form should set a person's zone to reproduce the clock an
// IANA zone kept at a birth moment: a row of the zone list with or without
// the daylight-saving tick, or, where no row can, the exact offset as an
// extra entry after the list's rows. When nothing can be chosen (the zone is
// unknown, or the clock time never happened), found is false. The note, when
// not empty, tells the user something about the choice or its absence.
struct ZoneChoice {
    bool found = false;
    int zonePosition = -1;     // a row, or ZoneCount for the extra entry
    bool daylightSaving = false;
    int offsetSeconds = 0;     // the clock's lead on Universal Time, to the second
    QString extraEntryText;    // "Nepal Time, UTC+05:45 (Kathmandu)", for the extra entry
    // What the clock was ("India Standard Time", "Local mean time"), to say
    // which offset a reading used.
    QString clockName;
    QString note;
};

// The zone choice for an IANA zone at a local birth moment (date and
// hour:minute as typed on the local clock); placeName goes into the extra
// entry's text.
ZoneChoice ChooseZone(const QByteArray &ianaZone, QDate date, int hour, int minute, const QString &placeName = {});

// "UTC+05:45", with seconds only when they are not zero ("UTC+03:25:44").
QString OffsetText(int offsetSeconds);
