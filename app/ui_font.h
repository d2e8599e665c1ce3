#pragma once

#include <QFont>
#include <QPalette>
#include <QWidget>

// Verdana where the system has it, otherwise a close sans face.
inline QFont VerdanaFont(qreal pointSize = 0, bool bold = false)
{
    QFont f;
    f.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"), QStringLiteral("Bitstream Vera Sans")});
    f.setStyleHint(QFont::SansSerif);
    if (pointSize > 0)
        f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

// Text in the given colour, for labels and read-only fields alike.
inline void SetTextColour(QWidget *widget, const QColor &colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::Text, colour);
    widget->setPalette(p);
}
