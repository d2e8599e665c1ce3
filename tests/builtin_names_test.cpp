// The built-in atlas names its places in the user's language, as the place
// library does on a machine set to that language, and still finds them by
// their English names.
#include "entry/builtin_place_data.h"

#include <gtest/gtest.h>

#include <QProcess>

TEST(BuiltinPlaceNames, FollowTheUserInterfaceLanguage)
{
    struct Case {
        QStringList languages;
        const char *typed;
        const char *city, *state, *country;
    };
    const Case cases[] = {
        {{"fr-FR"}, "Londres", "Londres", "Angleterre", "Royaume Uni"},
        {{"fr-CA"}, "london", "Londres", "Angleterre", "Royaume Uni"},     // no fr_CA names: French
        {{"pt-BR", "pt"}, "Londres", "Londres", "Inglaterra", "Reino Unido"},
        {{"ja-JP"}, "ロンドン", "ロンドン", "イングランド", "英国"},
        {{"hi-IN"}, "London", "लंदन", "इंग्लैण्ड", "यू॰के॰"},
        {{"de-AT", "de"}, "London", "London", "England", "Vereinigtes Königreich"},
        {{"xx-YY", "fr"}, "Londres", "Londres", "Angleterre", "Royaume Uni"}, // the first language with names
        {{"en-US"}, "London", "London", "England", "United Kingdom"},
        {{}, "London", "London", "England", "United Kingdom"},
    };
    for (const Case &c : cases) {
        const std::unique_ptr<Atlas> atlas = MakeBuiltinAtlas(c.languages);
        const std::vector<AtlasPlace> found = atlas->findByPrefix(c.typed, 1);
        const std::string where = c.languages.join(QLatin1Char(',')).toStdString() + " " + c.typed;
        ASSERT_EQ(found.size(), 1u) << where;
        EXPECT_EQ(found[0].city, c.city) << where;
        EXPECT_EQ(found[0].state, c.state) << where;
        EXPECT_EQ(found[0].country, c.country) << where;
        EXPECT_EQ(found[0].englishCity, "London") << where;
        EXPECT_EQ(found[0].timeZone, "Europe/London") << where;
    }
}

#ifdef ZUVA_PLACE_DATA_TOOL
// Every place, in languages of several scripts, carries the very names the
// place library gives on a machine set to that language.
TEST(BuiltinPlaceNames, EveryPlaceAsThePlaceLibraryNamesIt)
{
    for (const char *language : {"fr", "de_AT", "pt_BR", "ru", "ar", "hi", "ja", "zh_TW", "en"}) {
        QProcess library;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LANGUAGE"), QString::fromLatin1(language));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        library.setProcessEnvironment(env);
        library.start(QStringLiteral(ZUVA_PLACE_DATA_TOOL), {QStringLiteral("--names")});
        ASSERT_TRUE(library.waitForFinished(60000)) << language;
        const QList<QByteArray> lines = library.readAllStandardOutput().split('\n');
        const std::unique_ptr<Atlas> atlas = MakeBuiltinAtlas({QString::fromLatin1(language).replace('_', '-')});
        const std::vector<AtlasPlace> &places = atlas->allPlaces();
        ASSERT_EQ(lines.size(), static_cast<qsizetype>(places.size()) + 1) << language;
        int wrong = 0;
        for (std::size_t i = 0; i < places.size(); ++i) {
            const AtlasPlace &p = places[i];
            const QByteArray built = QByteArray::fromStdString(p.city + '\t' + p.state + '\t' + p.country);
            if (built != lines[static_cast<qsizetype>(i)] && ++wrong <= 3)
                ADD_FAILURE() << language << " place " << i << ": " << built.toStdString() << " against "
                              << lines[static_cast<qsizetype>(i)].toStdString();
        }
        EXPECT_EQ(wrong, 0) << language;
    }
}
#endif
