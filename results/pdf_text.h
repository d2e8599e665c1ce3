#pragma once

#include <QByteArray>

class QTextDocument;

// Qt's PDF writer says which character each glyph stands for only for the
// characters of the Basic Multilingual Plane, so text copied or extracted
// from its PDFs loses emoji and the other characters beyond it. Given a
// PDF Qt made of the document, this returns the same PDF with an
// incremental update that gives each such glyph its character. The glyphs
// are matched to the document's characters in the order Qt numbered them
// and checked by their widths; where anything does not match, the PDF is
// returned as it was.
QByteArray WithTextForEveryGlyph(const QByteArray &pdf, const QTextDocument &document);
