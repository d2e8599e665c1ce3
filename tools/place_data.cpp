// Build-time helper for systems without the place library or the IANA time
// zone data: writes every place of the atlas and the history of every zone
// they use as one text file, and the places' names in every language the
// place library knows as a second file. Such a build carries both inside
// the program. Look-ups and zone choices then go through the same code with
// the same data on every system.
//   place_data OUTPUT.tsv NAMES.bin
//
// OUTPUT.tsv lines, fields separated by tabs:
//   P  city  state  country  zone  latitude  longitude  population  englishCity
//   Z  zone  country
//   R  start  offset  standard  abbreviation  name      (the zone's periods, in order)
// The names in P lines are the English ones.
//
// NAMES.bin, one record per language that names any place differently:
//   language "\n" byte-count "\n" bytes
// where the bytes are qCompress()ed lines, names given only where they are
// not the English ones:
//   C  country  name                     (English country, its name)
//   S  country  state  name              (English country and state)
//   number  city [ state  country ]      (a place of OUTPUT.tsv, counted from 0;
//                                         city empty if English; state and
//                                         country only where the C and S
//                                         lines do not hold for it)
#include "entry/atlas_geonames.h"
#include "entry/zone_history.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QThread>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>

namespace {

// Tabs and line breaks never occur in the data; should one appear, it
// becomes a blank rather than breaking the file.
std::string Field(std::string text)
{
    for (char &c : text) {
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    }
    return text;
}

std::string Field(const QString &text)
{
    return Field(text.toStdString());
}

// The place library's names follow gettext, which takes the languages from
// LANGUAGE once the locale is other than "C". It reads them once per
// process, so each language is read by a process of its own.
int PrintNames()
{
    std::setlocale(LC_ALL, "");
    for (const AtlasPlace &p : ReadGeonamesPlaces())
        std::printf("%s\t%s\t%s\n", Field(p.city).c_str(), Field(p.state).c_str(), Field(p.country).c_str());
    return std::fflush(stdout) == 0 ? 0 : 1;
}

// The languages the place library has translations for, as gettext names them.
QStringList NameLanguages()
{
    QStringList languages;
    const QDir locales(QStringLiteral("/usr/share/locale"));
    for (const QString &language : locales.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (locales.exists(language + QStringLiteral("/LC_MESSAGES/geonames.mo")))
            languages << language;
    }
    return languages;
}

// One language's names where they differ from the English ones: countries
// and states once each, then the places whose own names (or whose state or
// country, should those differ from the rest) are not the English ones.
QByteArray OwnNames(const std::vector<AtlasPlace> &english, const QList<QByteArray> &lines)
{
    std::map<std::string, std::string> countries, states; // English key, own name
    QByteArray shared, places;
    for (std::size_t i = 0; i < english.size(); ++i) {
        const QList<QByteArray> own = lines[static_cast<qsizetype>(i)].split('\t');
        const std::string city = own.value(0).toStdString(), state = own.value(1).toStdString(),
                          country = own.value(2).toStdString();
        const std::string englishCity = Field(english[i].englishCity), englishState = Field(english[i].state);
        const std::string countryKey = Field(english[i].country), stateKey = countryKey + '\t' + englishState;
        const auto known = [&shared](std::map<std::string, std::string> &names, const std::string &key,
                                     const std::string &name, const std::string &englishName, char tag) {
            const auto [at, added] = names.try_emplace(key, name);
            if (added && name != englishName)
                shared += QByteArray(1, tag) + '\t' + QByteArray::fromStdString(key) + '\t' + QByteArray::fromStdString(name) + '\n';
            return at->second == name;
        };
        const bool sharedNamesHold = known(countries, countryKey, country, countryKey, 'C')
            & known(states, stateKey, state, englishState, 'S');
        if (city == englishCity && sharedNamesHold)
            continue;
        places += QByteArray::number(static_cast<qulonglong>(i)) + '\t'
            + QByteArray::fromStdString(city == englishCity ? std::string() : city);
        if (!sharedNamesHold)
            places += '\t' + QByteArray::fromStdString(state) + '\t' + QByteArray::fromStdString(country);
        places += '\n';
    }
    return places.isEmpty() && shared.isEmpty() ? QByteArray() : shared + places;
}

// Every language's names, read by as many processes at once as there are
// processors.
bool WriteNames(const char *program, const std::vector<AtlasPlace> &english, const char *path)
{
    QFile out(QString::fromLocal8Bit(path));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const QStringList languages = NameLanguages();
    std::vector<std::unique_ptr<QProcess>> children(static_cast<std::size_t>(languages.size()));
    const auto start = [&](qsizetype n) {
        auto &child = children[static_cast<std::size_t>(n)];
        child = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LANGUAGE"), languages[n]);
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        child->setProcessEnvironment(env);
        child->start(QString::fromLocal8Bit(program), {QStringLiteral("--names")});
    };
    const qsizetype atOnce = std::max(1, QThread::idealThreadCount());
    for (qsizetype n = 0; n < std::min(atOnce, languages.size()); ++n)
        start(n);
    for (qsizetype n = 0; n < languages.size(); ++n) {
        QProcess &child = *children[static_cast<std::size_t>(n)];
        child.waitForFinished(120000);
        const QByteArray output = child.readAllStandardOutput();
        const bool ran = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
        children[static_cast<std::size_t>(n)].reset();
        if (n + atOnce < languages.size())
            start(n + atOnce);
        const QList<QByteArray> lines = output.split('\n');
        if (!ran || lines.size() != static_cast<qsizetype>(english.size()) + 1) {
            std::fprintf(stderr, "place_data: could not read the %s names\n", qPrintable(languages[n]));
            return false;
        }
        const QByteArray own = OwnNames(english, lines);
        if (own.isEmpty())
            continue;
        const QByteArray packed = qCompress(own, 9);
        out.write(languages[n].toUtf8() + '\n' + QByteArray::number(packed.size()) + '\n' + packed);
    }
    return out.flush() && out.error() == QFileDevice::NoError;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 2 && std::string_view(argv[1]) == "--names")
        return PrintNames();
    if (argc != 3) {
        std::fprintf(stderr, "usage: place_data OUTPUT.tsv NAMES.bin\n");
        return 2;
    }
    // The English names are wanted, whatever the machine's language.
    std::setlocale(LC_ALL, "C");
    const std::vector<AtlasPlace> places = ReadGeonamesPlaces();
    if (places.empty()) {
        std::fprintf(stderr, "place_data: no places to write\n");
        return 1;
    }
    std::FILE *out = std::fopen(argv[1], "w");
    if (!out) {
        std::fprintf(stderr, "place_data: cannot write %s\n", argv[1]);
        return 1;
    }
    std::set<std::string> zones;
    for (const AtlasPlace &p : places) {
        std::fprintf(out, "P\t%s\t%s\t%s\t%s\t%.6f\t%.6f\t%u\t%s\n", Field(p.city).c_str(), Field(p.state).c_str(),
                     Field(p.country).c_str(), Field(p.timeZone).c_str(), p.latitude, p.longitude, p.population,
                     Field(p.englishCity).c_str());
        zones.insert(p.timeZone);
    }
    for (const std::string &zone : zones) {
        const ZoneHistory history = ZoneHistoryFromSystem(QByteArray::fromStdString(zone));
        if (!history.valid())
            continue;
        std::fprintf(out, "Z\t%s\t%s\n", Field(zone).c_str(), Field(history.country).c_str());
        for (const ZonePeriod &r : history.periods)
            std::fprintf(out, "R\t%lld\t%d\t%d\t%s\t%s\n", static_cast<long long>(r.startUtc), r.offset, r.standard,
                         Field(r.abbreviation).c_str(), Field(r.name).c_str());
    }
    if (std::fclose(out) != 0)
        return 1;
    return WriteNames(argv[0], places, argv[2]) ? 0 : 1;
}
