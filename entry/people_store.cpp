#include "entry/people_store.h"

#include <QSettings>

namespace {

const QString kMan = QStringLiteral("Man");
const QString kPartner = QStringLiteral("Partner");
// Raised when the stored layout changes; older stores are then ignored.
constexpr int kLayout = 1;

void writePerson(QSettings &s, const QString &group, const PersonDetails &p)
{
    s.beginGroup(group);
    s.setValue(QStringLiteral("name"), p.name);
    s.setValue(QStringLiteral("month"), p.month);
    s.setValue(QStringLiteral("day"), p.day);
    s.setValue(QStringLiteral("year"), p.year);
    s.setValue(QStringLiteral("hour"), p.hour);
    s.setValue(QStringLiteral("minute"), p.minute);
    s.setValue(QStringLiteral("second"), p.second);
    s.setValue(QStringLiteral("city"), p.city);
    s.setValue(QStringLiteral("state"), p.state);
    s.setValue(QStringLiteral("country"), p.country);
    s.setValue(QStringLiteral("longitudeDegrees"), p.lonD);
    s.setValue(QStringLiteral("longitudeMinutes"), p.lonM);
    s.setValue(QStringLiteral("latitudeDegrees"), p.latD);
    s.setValue(QStringLiteral("latitudeMinutes"), p.latM);
    s.setValue(QStringLiteral("west"), p.west);
    s.setValue(QStringLiteral("south"), p.south);
    s.setValue(QStringLiteral("zone"), p.zone.position);
    s.setValue(QStringLiteral("daylightSaving"), p.zone.daylightSaving);
    s.remove(QStringLiteral("pick"));
    if (p.pick) {
        s.beginGroup(QStringLiteral("pick"));
        s.setValue(QStringLiteral("city"), QString::fromStdString(p.pick->city));
        s.setValue(QStringLiteral("state"), QString::fromStdString(p.pick->state));
        s.setValue(QStringLiteral("country"), QString::fromStdString(p.pick->country));
        s.setValue(QStringLiteral("timeZone"), QString::fromStdString(p.pick->timeZone));
        s.setValue(QStringLiteral("latitude"), p.pick->latitude);
        s.setValue(QStringLiteral("longitude"), p.pick->longitude);
        s.endGroup();
    }
    s.endGroup();
}

// A stored number, or the fallback (the range's first) when it is missing,
// malformed or out of range: a hand-edited file must not put the form out of
// its ranges.
int number(const QSettings &s, const QString &key, NumberRange range, std::optional<int> fallback = {})
{
    bool ok = false;
    const int value = s.value(key).toInt(&ok);
    return ok && range.contains(value) ? value : fallback.value_or(range.first);
}

double angle(const QSettings &s, const QString &key, double limit, bool &ok)
{
    bool read = false;
    const double value = s.value(key).toDouble(&read);
    if (!read || !(value >= -limit && value <= limit))
        ok = false;
    return value;
}

PersonDetails readPerson(QSettings &s, const QString &group)
{
    PersonDetails p;
    s.beginGroup(group);
    p.name = s.value(QStringLiteral("name")).toString();
    p.month = number(s, QStringLiteral("month"), MonthRange);
    p.day = number(s, QStringLiteral("day"), DayRange);
    p.year = number(s, QStringLiteral("year"), YearRange);
    p.hour = number(s, QStringLiteral("hour"), HourRange);
    p.minute = number(s, QStringLiteral("minute"), MinuteRange);
    p.second = number(s, QStringLiteral("second"), SecondRange);
    p.city = s.value(QStringLiteral("city")).toString();
    p.state = s.value(QStringLiteral("state")).toString();
    p.country = s.value(QStringLiteral("country")).toString();
    p.lonD = s.value(QStringLiteral("longitudeDegrees")).toString();
    p.lonM = s.value(QStringLiteral("longitudeMinutes")).toString();
    p.latD = s.value(QStringLiteral("latitudeDegrees")).toString();
    p.latM = s.value(QStringLiteral("latitudeMinutes")).toString();
    p.west = s.value(QStringLiteral("west")).toBool();
    p.south = s.value(QStringLiteral("south")).toBool();
    // Any position is taken: the form decides what it can show.
    p.zone.position = number(s, QStringLiteral("zone"), NumberRange{0, 1000}, -1);
    p.zone.daylightSaving = s.value(QStringLiteral("daylightSaving")).toBool();
    if (s.childGroups().contains(QStringLiteral("pick"))) {
        s.beginGroup(QStringLiteral("pick"));
        AtlasPlace place;
        place.city = s.value(QStringLiteral("city")).toString().toStdString();
        place.state = s.value(QStringLiteral("state")).toString().toStdString();
        place.country = s.value(QStringLiteral("country")).toString().toStdString();
        place.timeZone = s.value(QStringLiteral("timeZone")).toString().toStdString();
        bool ok = !place.timeZone.empty();
        place.latitude = angle(s, QStringLiteral("latitude"), 90, ok);
        place.longitude = angle(s, QStringLiteral("longitude"), 180, ok);
        if (ok)
            p.pick = place;
        s.endGroup();
    }
    s.endGroup();
    return p;
}

} // namespace

PeopleStore::PeopleStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("zuvazize"),
                                             QStringLiteral("vadiveziduzor")))
{
}

PeopleStore::PeopleStore(QString file)
    : m_settings(std::make_unique<QSettings>(file, QSettings::IniFormat))
{
}

PeopleStore::~PeopleStore() = default;

QString PeopleStore::fileName() const
{
    return m_settings->fileName();
}

bool PeopleStore::load(PersonDetails &man, PersonDetails &partner) const
{
    m_settings->sync();
    if (m_settings->value(QStringLiteral("layout")).toInt() != kLayout)
        return false;
    const QStringList groups = m_settings->childGroups();
    if (!groups.contains(kMan) || !groups.contains(kPartner))
        return false;
    man = readPerson(*m_settings, kMan);
    partner = readPerson(*m_settings, kPartner);
    return true;
}

void PeopleStore::save(const PersonDetails &man, const PersonDetails &partner)
{
    m_settings->clear();
    m_settings->setValue(QStringLiteral("layout"), kLayout);
    writePerson(*m_settings, kMan, man);
    writePerson(*m_settings, kPartner, partner);
    m_settings->sync();
}

void PeopleStore::clear()
{
    m_settings->clear();
    m_settings->sync();
}
