#include "links/link_label.h"

#include "app/ui_font.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

LinkLabel::LinkLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    SetTextColour(this, QColor(255, 0, 0));
    // Reachable from the keyboard too: Tab to it, then Enter or Space.
    setFocusPolicy(Qt::TabFocus);
}

QSize LinkLabel::sizeHint() const
{
    if (!wordWrap())
        return QLabel::sizeHint();
    const QFontMetrics metrics(font());
    const QMargins around = contentsMargins();
    const int frame = around.left() + around.right() + 2 * margin() + 2 * indent();
    const int line = metrics.horizontalAdvance(text()) + 1;
    const int width = std::min(line, 80 * metrics.averageCharWidth()) + std::max(frame, 0);
    return {width, heightForWidth(width)};
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT activated();
    QLabel::mouseReleaseEvent(event);
}

void LinkLabel::focusInEvent(QFocusEvent *event)
{
    // Labels draw no focus frame; underlining shows where Tab has landed.
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QLabel::focusInEvent(event);
}

void LinkLabel::focusOutEvent(QFocusEvent *event)
{
    QFont f = font();
    f.setUnderline(false);
    setFont(f);
    QLabel::focusOutEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space)) {
        Q_EMIT activated();
        return;
    }
    QLabel::keyPressEvent(event);
}
