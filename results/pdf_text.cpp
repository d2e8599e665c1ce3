#include "results/pdf_text.h"

#include <QGlyphRun>
#include <QHash>
#include <QMap>
#include <QRawFont>
#include <QRegularExpression>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <cmath>

namespace {

// "DejaVu Sans" and "DejaVuSans", "Lohit Devanagari" and "Lohit-Devanagari".
QString fontKey(QString name)
{
    if (name.size() > 7 && name.at(6) == QLatin1Char('+')) // a subset's tag
        name = name.mid(7);
    return name.remove(QLatin1Char(' ')).remove(QLatin1Char('-')).toLower();
}

// A character of the document beyond the Basic Multilingual Plane, the font
// Qt draws it with, and its width in thousandths of an em.
struct Wide {
    char32_t character;
    QString font;
    int width;
};

// Such characters in the order the document first has them, as the PDF
// writer meets their glyphs.
QList<Wide> wideCharacters(const QTextDocument &document)
{
    QList<Wide> found;
    QSet<QPair<QString, char32_t>> seen;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QFont font = fragment.charFormat().font();
            for (const char32_t c : fragment.text().toUcs4()) {
                if (c < 0x10000)
                    continue;
                QTextLayout layout(QString::fromUcs4(&c, 1), font);
                layout.beginLayout();
                layout.createLine();
                layout.endLayout();
                const QList<QGlyphRun> runs = layout.glyphRuns();
                if (runs.size() != 1 || runs[0].glyphIndexes().size() != 1)
                    continue;
                QRawFont raw = runs[0].rawFont();
                const QString key = fontKey(raw.familyName());
                if (seen.contains({key, c}))
                    continue;
                seen.insert({key, c});
                raw.setPixelSize(1000);
                const QList<QPointF> advances = raw.advancesForGlyphIndexes(runs[0].glyphIndexes());
                found.append({c, key, advances.isEmpty() ? -1 : int(std::lround(advances[0].x()))});
            }
        }
    }
    return found;
}

// The text between "N 0 obj" and its "endobj".
QByteArray objectBody(const QByteArray &pdf, int number)
{
    const QByteArray head = '\n' + QByteArray::number(number) + " 0 obj";
    const qsizetype start = pdf.indexOf(head);
    if (start < 0)
        return {};
    const qsizetype end = pdf.indexOf("endobj", start);
    return end < 0 ? QByteArray() : pdf.mid(start + head.size(), end - start - head.size());
}

// The widths of a CID font by CID, from "/W [0 [w0 w1 ...] ...]".
QMap<int, int> widthsOf(const QByteArray &font)
{
    QMap<int, int> widths;
    const qsizetype w = font.indexOf("/W [");
    if (w < 0)
        return widths;
    static const QRegularExpression run(QStringLiteral("(\\d+)\\s*\\[([\\d\\s.]*)\\]"));
    const qsizetype end = font.indexOf("\n]", w);
    const QString list = QString::fromLatin1(font.mid(w + 4, end < 0 ? -1 : end - w - 4));
    for (auto match = run.globalMatch(list); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        int cid = m.captured(1).toInt();
        for (const QString &value : m.captured(2).split(QLatin1Char(' '), Qt::SkipEmptyParts))
            widths.insert(cid++, int(std::lround(value.toDouble())));
    }
    return widths;
}

// The CIDs a ToUnicode map gives characters for, and those characters as
// UTF-16 hexadecimal.
QMap<int, QByteArray> mappingsOf(const QByteArray &cmap)
{
    QMap<int, QByteArray> map;
    static const QRegularExpression range(QStringLiteral("<([0-9A-Fa-f]+)>\\s*<([0-9A-Fa-f]+)>\\s*(\\[[^\\]]*\\]|<[0-9A-Fa-f]+>)"));
    static const QRegularExpression hex(QStringLiteral("<([0-9A-Fa-f]+)>"));
    const qsizetype from = cmap.indexOf("beginbfrange");
    const QString body = QString::fromLatin1(cmap.mid(from < 0 ? 0 : from));
    for (auto match = range.globalMatch(body); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        const int first = m.captured(1).toInt(nullptr, 16);
        const int last = m.captured(2).toInt(nullptr, 16);
        if (m.captured(3).startsWith(QLatin1Char('['))) {
            int cid = first;
            for (auto value = hex.globalMatch(m.captured(3)); value.hasNext() && cid <= last; ++cid)
                map.insert(cid, value.next().captured(1).toLatin1());
        } else {
            int code = m.captured(3).mid(1, m.captured(3).size() - 2).toInt(nullptr, 16);
            for (int cid = first; cid <= last; ++cid)
                map.insert(cid, QByteArray::number(code++, 16).rightJustified(4, '0').toUpper());
        }
    }
    map.remove(0);
    for (auto it = map.begin(); it != map.end();)
        it = it.value().toInt(nullptr, 16) == 0 ? map.erase(it) : std::next(it);
    return map;
}

QByteArray utf16Hex(char32_t c)
{
    const QString s = QString::fromUcs4(&c, 1);
    QByteArray hex;
    for (const QChar unit : s)
        hex += QByteArray::number(unit.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex;
}

QByteArray toUnicodeStream(const QMap<int, QByteArray> &map)
{
    QByteArray cmap = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                      "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    auto it = map.constBegin();
    while (it != map.constEnd()) {
        QByteArray block;
        int count = 0;
        for (; it != map.constEnd() && count < 100; ++it, ++count)
            block += '<' + QByteArray::number(it.key(), 16).rightJustified(4, '0').toUpper() + "> <" + it.value() + ">\n";
        cmap += QByteArray::number(count) + " beginbfchar\n" + block + "endbfchar\n";
    }
    cmap += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return cmap;
}

} // namespace

QByteArray WithTextForEveryGlyph(const QByteArray &pdf, const QTextDocument &document)
{
    const QList<Wide> wide = wideCharacters(document);
    if (wide.isEmpty())
        return pdf;

    // Each Type0 font Qt wrote: its name, its CID font and its ToUnicode map.
    static const QRegularExpression type0(QStringLiteral(
        "/Subtype\\s*/Type0\\s*/BaseFont\\s*/([^\\s/\\[<>]+)\\s*/Encoding\\s*/Identity-H\\s*"
        "/DescendantFonts\\s*\\[(\\d+) 0 R\\]\\s*/ToUnicode\\s*(\\d+) 0 R"));
    QList<QPair<int, QByteArray>> updates; // object number, new ToUnicode stream
    for (auto match = type0.globalMatch(QString::fromLatin1(pdf)); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        const QString key = fontKey(m.captured(1));
        QList<Wide> candidates;
        for (const Wide &w : wide) {
            if (w.font == key)
                candidates.append(w);
        }
        if (candidates.isEmpty())
            continue;
        const QMap<int, int> widths = widthsOf(objectBody(pdf, m.captured(2).toInt()));
        const int toUnicode = m.captured(3).toInt();
        const QByteArray body = objectBody(pdf, toUnicode);
        QMap<int, QByteArray> map = mappingsOf(body.mid(body.indexOf("stream")));
        // The glyphs Qt gave no character, in the order it numbered them,
        // are the wide characters in the order the document has them.
        QList<int> unnamed;
        for (auto it = widths.constBegin(); it != widths.constEnd(); ++it) {
            if (it.key() != 0 && !map.contains(it.key()))
                unnamed.append(it.key());
        }
        if (unnamed.size() != candidates.size())
            continue;
        // The widths in the PDF are the glyphs' own, all in one scale: each
        // pair must keep the same ratio.
        const double scale = candidates[0].width > 0 ? double(widths.value(unnamed[0])) / candidates[0].width : 0.0;
        bool fits = scale > 0.0;
        for (qsizetype i = 0; i < unnamed.size() && fits; ++i)
            fits = std::fabs(widths.value(unnamed[i]) - scale * candidates[i].width) <= 2.0 + 0.01 * widths.value(unnamed[i]);
        if (!fits)
            continue;
        for (qsizetype i = 0; i < unnamed.size(); ++i)
            map.insert(unnamed[i], utf16Hex(candidates[i].character));
        updates.append({toUnicode, toUnicodeStream(map)});
    }
    if (updates.isEmpty())
        return pdf;

    // An incremental update: the new maps under the old object numbers, and
    // a cross-reference section for them that leads back to the old one.
    static const QRegularExpression trailer(QStringLiteral(
        "trailer\\s*<<\\s*/Size (\\d+)\\s*/Info (\\d+) 0 R\\s*/Root (\\d+) 0 R\\s*>>\\s*startxref\\s*(\\d+)\\s*%%EOF\\s*$"));
    const QRegularExpressionMatch tail = trailer.match(QString::fromLatin1(pdf.right(256)));
    if (!tail.hasMatch())
        return pdf;
    QByteArray out = pdf;
    if (!out.endsWith('\n'))
        out += '\n';
    QList<QPair<int, qsizetype>> offsets;
    for (const auto &[number, stream] : updates) {
        offsets.append({number, out.size()});
        out += QByteArray::number(number) + " 0 obj\n<< /Length " + QByteArray::number(stream.size()) + " >>\nstream\n"
            + stream + "endstream\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n";
    for (const auto &[number, offset] : offsets)
        out += QByteArray::number(number) + " 1\n" + QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<< /Size " + tail.captured(1).toLatin1() + " /Info " + tail.captured(2).toLatin1() + " 0 R /Root "
        + tail.captured(3).toLatin1() + " 0 R /Prev " + tail.captured(4).toLatin1() + " >>\nstartxref\n"
        + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}
