#pragma once

#include <QFont>
#include <QWidget>

#include "app/ui_colours.h"

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
