#include "entry/place_index.h"

#include <QString>
#include <QList>
#include <QStringDecoder>

#include <algorithm>
#include <tuple>

namespace {

// Letters that carry no accent to strip but are written plainly elsewhere.
QString PlainLetters(char32_t c)
{
    switch (c) {
    case U'\u0131': return QStringLiteral("i");  // dotless i
    case U'\u00F8': return QStringLiteral("o");  // ø
    case U'\u00E6': return QStringLiteral("ae"); // æ
    case U'\u0153': return QStringLiteral("oe"); // œ
    case U'\u0111': return QStringLiteral("d");  // đ
    case U'\u00F0': return QStringLiteral("d");  // ð
    case U'\u0142': return QStringLiteral("l");  // ł
    case U'\u00FE': return QStringLiteral("th"); // þ
    default: return {};
    }
}

} // namespace

std::string FoldPlaceName(std::string_view utf8)
{
    // Most names are plain ASCII and need no more than lower case.
    const auto plain = [](char c) { return c != 0 && static_cast<unsigned char>(c) < 0x80; };
    if (std::all_of(utf8.begin(), utf8.end(), plain)) {
        std::string key(utf8);
        for (char &c : key) {
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        }
        return key;
    }
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decode(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
    if (decode.hasError())
        return {};
    // Compatibility decomposition splits "ã" into "a" and a combining tilde
    // and "İ" into "I" and a combining dot; the marks are then dropped.
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const char32_t c : decomposed.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
            || category == QChar::Mark_Enclosing || c == 0)
            continue;
        const char32_t lower = QChar::toCaseFolded(c);
        if (const QString letters = PlainLetters(lower); !letters.isEmpty())
            folded += letters;
        else if (lower == U'\u00DF') // ß folds to itself one character at a time
            folded += QStringLiteral("ss");
        else
            folded += QString::fromUcs4(&lower, 1);
    }
    return folded.toStdString();
}

PlaceIndex::PlaceIndex(std::vector<AtlasPlace> places)
    : m_places(std::move(places))
{
    m_keys.reserve(m_places.size() + m_places.size() / 8);
    for (std::uint32_t i = 0; i < m_places.size(); ++i) {
        std::string local = FoldPlaceName(m_places[i].city);
        std::string english = FoldPlaceName(m_places[i].englishCity);
        if (!english.empty() && english != local)
            m_keys.emplace_back(std::move(english), i);
        if (!local.empty())
            m_keys.emplace_back(std::move(local), i);
    }
    std::sort(m_keys.begin(), m_keys.end());
}

std::vector<AtlasPlace> PlaceIndex::find(std::string_view prefix, std::size_t limit) const
{
    const std::string key = FoldPlaceName(prefix);
    if (key.empty() || limit == 0)
        return {};
    // Place number and whether one of its names is exactly the typed text.
    std::vector<std::pair<std::uint32_t, bool>> matches;
    auto it = std::lower_bound(m_keys.begin(), m_keys.end(), key,
                               [](const auto &entry, const std::string &k) { return entry.first < k; });
    for (; it != m_keys.end() && it->first.starts_with(key); ++it)
        matches.emplace_back(it->second, it->first.size() == key.size());
    // A place found by both its names counts once, as exact if either is.
    std::sort(matches.begin(), matches.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first < b.first : a.second > b.second;
    });
    matches.erase(std::unique(matches.begin(), matches.end(),
                              [](const auto &a, const auto &b) { return a.first == b.first; }),
                  matches.end());

    // Ties are broken by name so the list never reshuffles between runs.
    const auto better = [this](const auto &a, const auto &b) {
        const AtlasPlace &p = m_places[a.first];
        const AtlasPlace &q = m_places[b.first];
        if (a.second != b.second)
            return a.second;
        if (p.population != q.population)
            return p.population > q.population;
        return std::tie(p.city, p.state, p.country) < std::tie(q.city, q.state, q.country);
    };
    const std::size_t n = std::min(limit, matches.size());
    std::partial_sort(matches.begin(), matches.begin() + static_cast<std::ptrdiff_t>(n), matches.end(), better);
    std::vector<AtlasPlace> result;
    result.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        result.push_back(m_places[matches[i].first]);
    return result;
}
