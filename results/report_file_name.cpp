#include "results/report_file_name.h"

#include <QStringList>
#include <QTextBoundaryFinder>

namespace {

// Per name, in UTF-8 bytes: two names and the fixed words stay below 200.
constexpr qsizetype kMostNameBytes = 80;

bool isRefused(char32_t c)
{
    // Windows refuses these in names, Linux the slash; bidirectional
    // overrides could make a name show a false extension.
    static const QString reserved = QStringLiteral("<>:\"/\\|?*");
    return c < 0x20 || (c >= 0x7F && c < 0xA0) || (c < 0x80 && reserved.contains(QChar(c)))
        || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

QString trimDotsAndBlanks(QString s)
{
    while (!s.isEmpty() && (s.back() == QLatin1Char('.') || s.back().isSpace()))
        s.chop(1);
    while (!s.isEmpty() && s.front().isSpace())
        s.remove(0, 1);
    return s;
}

// The longest start of s, ending between two characters as the user sees
// them, whose UTF-8 form holds at most limit bytes.
QString cutToBytes(const QString &s, qsizetype limit)
{
    if (s.toUtf8().size() <= limit)
        return s;
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, s);
    qsizetype kept = 0;
    for (qsizetype at = graphemes.toNextBoundary(); at > 0; at = graphemes.toNextBoundary()) {
        if (QStringView(s).first(at).toUtf8().size() > limit)
            break;
        kept = at;
    }
    return s.first(kept);
}

QString fileNamePart(const QString &name)
{
    QString out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            out.append(c).append(name.at(i + 1));
            ++i;
        } else if (c.isSurrogate()) {
            out.append(QLatin1Char('_')); // half a character
        } else if (c.isSpace()) {
            out.append(QLatin1Char(' '));
        } else {
            out.append(isRefused(c.unicode()) ? QChar(QLatin1Char('_')) : c);
        }
    }
    return trimDotsAndBlanks(cutToBytes(trimDotsAndBlanks(out.simplified()), kMostNameBytes));
}

QString titleFrom(const QString &man, const QString &partner)
{
    QStringList names;
    for (const QString &name : {man, partner}) {
        if (!name.isEmpty())
            names.append(name);
    }
    QString title = QStringLiteral("Moon compatibility");
    if (!names.isEmpty())
        title += QStringLiteral(" - ") + names.join(QStringLiteral(" and "));
    return title;
}

} // namespace

QString ReportTitle(const QString &man, const QString &partner)
{
    auto tidy = [](const QString &name) {
        QString out = name;
        for (QChar &c : out) {
            if (c.category() == QChar::Other_Control)
                c = QLatin1Char(' ');
        }
        return out.simplified();
    };
    return titleFrom(tidy(man), tidy(partner));
}

QString SuggestedReportFileName(const QString &man, const QString &partner)
{
    return titleFrom(fileNamePart(man), fileNamePart(partner)) + QStringLiteral(".rtf");
}
