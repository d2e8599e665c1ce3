#include "entry/people_store.h"

#include "app/platform_files.h"
#include "entry/zone_history.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <cmath>
#include <functional>

namespace {

const QString kProgram = QStringLiteral("vadiveziduzor-people");
// Raised when the stored layout changes; other layouts are not read.
constexpr int kVersion = 2;

const QString kMan = QStringLiteral("man");
const QString kPartner = QStringLiteral("partner");
const QString kReportFolder = QStringLiteral("reportFolder");

// One person's stored values, whichever file they come from. Missing or
// malformed values are absent; the form's defaults stand in for them.
struct Values {
    std::function<std::optional<QString>(const QString &)> text;
    std::function<std::optional<double>(const QString &)> number;
    std::function<std::optional<bool>(const QString &)> flag;
};

// A text cut to the longest kept, never inside a character.
QString bounded(const QString &text)
{
    if (text.size() <= PeopleStore::MaxTextLength)
        return text;
    qsizetype end = PeopleStore::MaxTextLength;
    if (text.at(end - 1).isHighSurrogate())
        --end;
    return text.left(end);
}

int wholeIn(const Values &v, const QString &key, NumberRange range, int fallback)
{
    const std::optional<double> n = v.number(key);
    return n && *n == std::floor(*n) && *n >= range.first && *n <= range.last ? int(*n) : fallback;
}

std::optional<AtlasPlace> readPick(const Values &v)
{
    const std::optional<QString> zone = v.text(QStringLiteral("pick/timeZone"));
    const std::optional<double> latitude = v.number(QStringLiteral("pick/latitude"));
    const std::optional<double> longitude = v.number(QStringLiteral("pick/longitude"));
    if (!zone || !latitude || !longitude || !(std::fabs(*latitude) <= 90) || !(std::fabs(*longitude) <= 180))
        return std::nullopt;
    // Only a zone the program's zone data knows by that plain name.
    if (!IsPlainZoneName(zone->toUtf8()) || !ZoneHistoryFor(zone->toUtf8()).valid())
        return std::nullopt;
    AtlasPlace place;
    place.city = bounded(v.text(QStringLiteral("pick/city")).value_or(QString())).toStdString();
    place.state = bounded(v.text(QStringLiteral("pick/state")).value_or(QString())).toStdString();
    place.country = bounded(v.text(QStringLiteral("pick/country")).value_or(QString())).toStdString();
    place.timeZone = zone->toStdString();
    place.latitude = *latitude;
    place.longitude = *longitude;
    return place;
}

PersonDetails readPerson(const Values &v)
{
    const auto text = [&v](const char *key) { return bounded(v.text(QLatin1String(key)).value_or(QString())); };
    PersonDetails p;
    p.name = text("name");
    p.month = wholeIn(v, QStringLiteral("month"), MonthRange, MonthRange.first);
    p.day = wholeIn(v, QStringLiteral("day"), DayRange, DayRange.first);
    p.year = wholeIn(v, QStringLiteral("year"), YearRange, YearRange.first);
    p.hour = wholeIn(v, QStringLiteral("hour"), HourRange, HourRange.first);
    p.minute = wholeIn(v, QStringLiteral("minute"), MinuteRange, MinuteRange.first);
    p.second = wholeIn(v, QStringLiteral("second"), SecondRange, SecondRange.first);
    p.timeUnknown = v.flag(QStringLiteral("timeUnknown")).value_or(false);
    p.city = text("city");
    p.state = text("state");
    p.country = text("country");
    // The coordinate boxes hold a few characters, a coordinate written out
    // in a degrees box a few more.
    p.lonD = text("longitudeDegrees").left(32);
    p.lonM = text("longitudeMinutes").left(3);
    p.latD = text("latitudeDegrees").left(32);
    p.latM = text("latitudeMinutes").left(3);
    p.west = v.flag(QStringLiteral("west")).value_or(false);
    p.south = v.flag(QStringLiteral("south")).value_or(false);
    // Any position is taken: the form decides what it can show.
    p.zone.position = wholeIn(v, QStringLiteral("zone"), NumberRange{0, 1000}, -1);
    p.zone.daylightSaving = v.flag(QStringLiteral("daylightSaving")).value_or(false);
    p.pick = readPick(v);
    return p;
}

QJsonObject personObject(const PersonDetails &p)
{
    QJsonObject o{
        {QStringLiteral("name"), bounded(p.name)},
        {QStringLiteral("month"), p.month},
        {QStringLiteral("day"), p.day},
        {QStringLiteral("year"), p.year},
        {QStringLiteral("hour"), p.hour},
        {QStringLiteral("minute"), p.minute},
        {QStringLiteral("second"), p.second},
        {QStringLiteral("timeUnknown"), p.timeUnknown},
        {QStringLiteral("city"), bounded(p.city)},
        {QStringLiteral("state"), bounded(p.state)},
        {QStringLiteral("country"), bounded(p.country)},
        {QStringLiteral("longitudeDegrees"), p.lonD.left(32)},
        {QStringLiteral("longitudeMinutes"), p.lonM.left(3)},
        {QStringLiteral("latitudeDegrees"), p.latD.left(32)},
        {QStringLiteral("latitudeMinutes"), p.latM.left(3)},
        {QStringLiteral("west"), p.west},
        {QStringLiteral("south"), p.south},
        {QStringLiteral("zone"), p.zone.position},
        {QStringLiteral("daylightSaving"), p.zone.daylightSaving},
    };
    if (p.pick) {
        o.insert(QStringLiteral("pick"),
                 QJsonObject{{QStringLiteral("city"), bounded(QString::fromStdString(p.pick->city))},
                             {QStringLiteral("state"), bounded(QString::fromStdString(p.pick->state))},
                             {QStringLiteral("country"), bounded(QString::fromStdString(p.pick->country))},
                             {QStringLiteral("timeZone"), QString::fromStdString(p.pick->timeZone)},
                             {QStringLiteral("latitude"), p.pick->latitude},
                             {QStringLiteral("longitude"), p.pick->longitude}});
    }
    return o;
}

Values jsonValues(const QJsonObject &person)
{
    // "pick/city" names the city of the object under "pick".
    const auto value = [person](const QString &key) {
        const qsizetype slash = key.indexOf(QLatin1Char('/'));
        if (slash < 0)
            return person.value(key);
        return person.value(key.left(slash)).toObject().value(key.mid(slash + 1));
    };
    return {
        [value](const QString &key) -> std::optional<QString> {
            const QJsonValue v = value(key);
            return v.isString() ? std::optional(v.toString()) : std::nullopt;
        },
        [value](const QString &key) -> std::optional<double> {
            const QJsonValue v = value(key);
            return v.isDouble() ? std::optional(v.toDouble()) : std::nullopt;
        },
        [value](const QString &key) -> std::optional<bool> {
            const QJsonValue v = value(key);
            return v.isBool() ? std::optional(v.toBool()) : std::nullopt;
        },
    };
}

// The settings file of earlier versions, in the INI form Qt writes: groups
// in brackets, "key=value" lines, sub-groups as "pick\city". Values are read
// as plain text only; Qt's encoded values ("@Variant(...)") are refused.
using IniGroups = QHash<QString, QHash<QString, QString>>;

std::optional<QString> iniText(const QString &raw)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c == QLatin1Char(',') && !quoted) {
            return std::nullopt; // a list, which no value of ours is
        } else if (c == QLatin1Char('\\') && i + 1 < raw.size()) {
            const QChar e = raw.at(++i);
            static const QString simple = QStringLiteral("abfnrtv\"'\\?");
            static const QString meaning = QStringLiteral("\a\b\f\n\r\t\v\"'\\?");
            if (const qsizetype k = simple.indexOf(e); k >= 0) {
                out += meaning.at(k);
            } else if (e == QLatin1Char('x')) {
                char32_t code = 0;
                int digits = 0;
                for (; i + 1 < raw.size() && digits < 6; ++digits) {
                    const int digit = QStringLiteral("0123456789abcdef").indexOf(raw.at(i + 1).toLower());
                    if (digit < 0)
                        break;
                    code = code * 16 + char32_t(digit);
                    ++i;
                }
                if (digits == 0 || code == 0 || code > 0x10FFFF)
                    return std::nullopt;
                out += QString::fromUcs4(&code, 1);
            } else {
                return std::nullopt;
            }
        } else {
            out += c;
        }
    }
    if (quoted)
        return std::nullopt;
    return out;
}

IniGroups readIni(const QByteArray &data)
{
    IniGroups groups;
    QString group;
    for (const QByteArray &line : data.split('\n')) {
        const QString text = QString::fromUtf8(line).trimmed();
        if (text.isEmpty() || text.startsWith(QLatin1Char(';')))
            continue;
        if (text.startsWith(QLatin1Char('[')) && text.endsWith(QLatin1Char(']'))) {
            group = text.mid(1, text.size() - 2);
            continue;
        }
        const qsizetype equals = text.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        QString key = text.left(equals).trimmed();
        key.replace(QLatin1Char('\\'), QLatin1Char('/'));
        QString raw = text.mid(equals + 1).trimmed();
        if (raw.startsWith(QLatin1String("@@")))
            raw.remove(0, 1);
        else if (raw.startsWith(QLatin1Char('@')))
            continue; // an encoded value: not read
        if (const std::optional<QString> value = iniText(raw))
            groups[group].insert(key, *value);
    }
    return groups;
}

Values iniValues(const QHash<QString, QString> &group)
{
    const auto text = [group](const QString &key) -> std::optional<QString> {
        const auto found = group.constFind(key);
        return found == group.constEnd() ? std::nullopt : std::optional(*found);
    };
    return {
        text,
        [text](const QString &key) -> std::optional<double> {
            bool ok = false;
            const double n = text(key).value_or(QString()).toDouble(&ok);
            return ok && std::isfinite(n) ? std::optional(n) : std::nullopt;
        },
        [text](const QString &key) -> std::optional<bool> {
            const QString t = text(key).value_or(QString());
            if (t == QLatin1String("true") || t == QLatin1String("false"))
                return t == QLatin1String("true");
            return std::nullopt;
        },
    };
}

} // namespace

PeopleStore::PeopleStore()
    : PeopleStore(SettingsFolder() + QStringLiteral("/vadiveziduzor-people.json"),
                  SettingsFolder() + QStringLiteral("/vadiveziduzor.ini"))
{
}

PeopleStore::PeopleStore(QString file, QString earlierFile)
    : m_file(std::move(file))
    , m_earlierFile(std::move(earlierFile))
{
}

bool PeopleStore::load(PersonDetails &man, PersonDetails &partner)
{
    m_problem.clear();
    QString why;
    if (const std::optional<QByteArray> data = ReadOwnSmallFile(m_file, MaxFileBytes, &why)) {
        // Qt's parser refuses nesting deeper than it can handle.
        QJsonParseError error{};
        const QJsonObject top = QJsonDocument::fromJson(*data, &error).object();
        if (error.error != QJsonParseError::NoError || top.value(QStringLiteral("program")).toString() != kProgram
            || top.value(QStringLiteral("version")).toInt() != kVersion) {
            m_problem = QStringLiteral("%1 is not a file this version wrote.").arg(m_file);
            return false;
        }
        if (const QJsonValue folder = top.value(kReportFolder); folder.isString() && folder.toString().size() <= 4096)
            m_reportFolder = folder.toString();
        if (!top.value(kMan).isObject() || !top.value(kPartner).isObject())
            return false; // cleared
        man = readPerson(jsonValues(top.value(kMan).toObject()));
        partner = readPerson(jsonValues(top.value(kPartner).toObject()));
        m_people = {man, partner};
        return true;
    }
    if (!why.isEmpty()) {
        m_problem = QStringLiteral("%1 could not be read. %2").arg(m_file, why);
        return false;
    }

    // No store yet: people remembered by an earlier version are taken over,
    // and kept from now on in the new file.
    if (m_earlierFile.isEmpty())
        return false;
    const std::optional<QByteArray> earlier = ReadOwnSmallFile(m_earlierFile, MaxFileBytes);
    if (!earlier)
        return false;
    const IniGroups groups = readIni(*earlier);
    if (groups.value(QStringLiteral("General")).value(QStringLiteral("layout")) != QLatin1String("1")
        || !groups.contains(QStringLiteral("Man")) || !groups.contains(QStringLiteral("Partner")))
        return false;
    man = readPerson(iniValues(groups.value(QStringLiteral("Man"))));
    partner = readPerson(iniValues(groups.value(QStringLiteral("Partner"))));
    save(man, partner);
    return true;
}

QString PeopleStore::save(const PersonDetails &man, const PersonDetails &partner)
{
    m_people = {man, partner};
    return write();
}

QString PeopleStore::clear()
{
    m_people.reset();
    return write();
}

QString PeopleStore::setReportFolder(const QString &folder)
{
    if (folder == m_reportFolder)
        return {};
    m_reportFolder = folder;
    return write();
}

QString PeopleStore::write()
{
    QJsonObject top{{QStringLiteral("program"), kProgram}, {QStringLiteral("version"), kVersion}};
    if (m_people) {
        top.insert(kMan, personObject(m_people->first));
        top.insert(kPartner, personObject(m_people->second));
    }
    if (!m_reportFolder.isEmpty())
        top.insert(kReportFolder, m_reportFolder);
    const QByteArray data = QJsonDocument(top).toJson(QJsonDocument::Indented);
    if (data.size() > MaxFileBytes)
        return QStringLiteral("The entries are too long to keep.");
    QString problem;
    const qsizetype slash = m_file.lastIndexOf(QLatin1Char('/'));
    if (slash > 0 && !MakePrivateFolder(m_file.left(slash), &problem))
        return problem;
    // The store is this user's alone; a link or anything but a plain file
    // in its place is left alone.
    return SaveFileSafely(m_file, data, {false, true, ".people"});
}
