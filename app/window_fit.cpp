#include "app/window_fit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace {

// The window's height for a width, counting what wraps (QMainWindow's own
// layout does not pass word-wrapped heights on from its central widget).
int heightForWidth(QWidget *window, int width)
{
    auto *main = qobject_cast<QMainWindow *>(window);
    QWidget *body = main ? main->centralWidget() : window;
    QLayout *layout = body ? body->layout() : nullptr;
    if (!layout || !layout->hasHeightForWidth())
        return 0;
    // Above the central widget sits the menu bar (these windows have no tool
    // or status bars).
    const int around = main && main->menuWidget() ? main->menuWidget()->sizeHint().height() : 0;
    return layout->totalHeightForWidth(width) + around;
}

// The least size at which nothing is squashed.
QSize leastSize(QWidget *window)
{
    QLayout *layout = window->layout();
    layout->activate();
    const QSize minimum = layout->totalMinimumSize();
    return {minimum.width(), std::max(minimum.height(), heightForWidth(window, minimum.width()))};
}

// Text that appears later (a note under a field) can need more room than
// the window has: the window then grows, never shrinks.
class KeepFitting : public QObject {
public:
    explicit KeepFitting(QWidget *window)
        : QObject(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::LayoutRequest && !m_busy) {
            m_busy = true;
            auto *window = static_cast<QWidget *>(watched);
            const QSize least = leastSize(window);
            if (least.height() > window->minimumHeight() || least.width() > window->minimumWidth())
                window->setMinimumSize(least.expandedTo(window->minimumSize()));
            const int needed = std::max(least.height(), heightForWidth(window, window->width()));
            if (window->height() < needed || window->width() < least.width())
                window->resize(std::max(window->width(), least.width()), std::max(window->height(), needed));
            m_busy = false;
        }
        return false;
    }

private:
    bool m_busy = false;
};

// A window following its scrolling body: resized to what the body needs
// within the room on its screen whenever the body's layout changes, while
// the window still has the size this last gave it.
class FollowBody : public QObject {
public:
    FollowBody(QWidget *window, QWidget *body, QSize comfortable)
        : QObject(window)
        , m_window(window)
        , m_body(body)
        , m_comfortable(comfortable)
    {
        body->installEventFilter(this);
        window->installEventFilter(this);
    }

    void fit()
    {
        const QRect room = RoomOnScreen(m_window);
        // Wrapped text measured at the width the window will have.
        const int width = std::min(std::max(SizeBodyNeeds(m_window, m_body).width(), m_comfortable.width()), room.width());
        const QSize size = SizeBodyNeeds(m_window, m_body, width).expandedTo(m_comfortable).boundedTo(room.size());
        m_given = size;
        m_window->resize(size);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Fitted again once the body's own layout has settled, and once the
        // window is shown, when its frame is known and the room with it.
        const bool relayout = (watched == m_body && event->type() == QEvent::LayoutRequest)
            || (watched == m_window && event->type() == QEvent::Show);
        if (relayout && m_following) {
            QMetaObject::invokeMethod(this, [this] {
                if (m_following)
                    fit();
            }, Qt::QueuedConnection);
        } else if (watched == m_window && event->type() == QEvent::Resize && m_window->isVisible()) {
            // A size this did not give is the user's (or a window manager's
            // that knows better); from then on it is kept.
            const QSize now = static_cast<QResizeEvent *>(event)->size();
            if (std::abs(now.width() - m_given.width()) > 2 || std::abs(now.height() - m_given.height()) > 2)
                m_following = false;
        }
        return false;
    }

private:
    QWidget *m_window;
    QWidget *m_body;
    QSize m_comfortable;
    QSize m_given;
    bool m_following = true;
};

// A scroll area that keeps its body as tall as the body's wrapped text needs
// at the width it has: the area's own resizing knows only the body's least
// height, and would squash what wraps.
class BodyArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

    void keepTall()
    {
        QWidget *body = widget();
        QLayout *layout = body ? body->layout() : nullptr;
        if (!layout || !layout->hasHeightForWidth())
            return;
        const int needed = layout->totalHeightForWidth(std::max(viewport()->width(), layout->totalMinimumSize().width()));
        if (needed != body->minimumHeight())
            body->setMinimumHeight(needed);
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QScrollArea::resizeEvent(event);
        keepTall();
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == widget() && event->type() == QEvent::LayoutRequest)
            QMetaObject::invokeMethod(this, [this] { keepTall(); }, Qt::QueuedConnection);
        return QScrollArea::eventFilter(watched, event);
    }
};

} // namespace

void FitWindowToLayout(QWidget *window)
{
    window->ensurePolished();
    for (QWidget *child : window->findChildren<QWidget *>())
        child->ensurePolished();
    QLayout *layout = window->layout();
    if (!layout)
        return;

    const QSize least = leastSize(window);
    window->setMinimumSize(least);

    // A window never shown nor resized only has Qt's placeholder size.
    const QSize chosen = window->testAttribute(Qt::WA_Resized) ? window->size() : QSize();
    const QSize hint = layout->totalSizeHint();
    const int width = std::max({hint.width(), least.width(), chosen.width()});
    const int height = std::max({hint.height(), least.height(), heightForWidth(window, width), chosen.height()});
    window->resize(width, height);
    new KeepFitting(window);
}

QScrollArea *ScrollingBody(QWidget *body, QWidget *parent)
{
    auto *scroll = new BodyArea(parent);
    scroll->setObjectName(QStringLiteral("body"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->setWidget(body);
    body->installEventFilter(scroll);
    // The body's controls take the focus, not the area around them.
    scroll->setFocusPolicy(Qt::NoFocus);
    // The body paints its own ground, or the window's shows through.
    scroll->viewport()->setAutoFillBackground(false);
    return scroll;
}

namespace {

// What a window manager's frame adds around the window: measured once it
// is drawn; before that, a title bar and a border are allowed for.
QMargins frameAround(const QWidget *window)
{
    const QRect inner = window->geometry();
    const QRect outer = window->frameGeometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    if (window->isVisible() && !frame.isNull())
        return frame;
    const int title = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return QMargins(4, std::max(title, 24) + 4, 4, 4);
}

} // namespace

QRect RoomOnScreen(const QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    return available.marginsRemoved(frameAround(window));
}

QSize SizeBodyNeeds(const QWidget *window, const QWidget *body, int width)
{
    QLayout *layout = body->layout();
    layout->activate();
    const QSize hint = layout->totalSizeHint().expandedTo(layout->totalMinimumSize());
    const QRect room = RoomOnScreen(window);
    if (width <= 0)
        width = hint.width();
    int height = layout->hasHeightForWidth() ? std::max(hint.height(), layout->totalHeightForWidth(width)) : hint.height();
    // A body taller than the room scrolls, and the scroll bar takes its width.
    if (height > room.height())
        width += body->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, body);
    auto *main = qobject_cast<const QMainWindow *>(window);
    if (main && main->menuWidget())
        height += main->menuWidget()->sizeHint().height();
    return {width, height};
}

void FitWindowToScreen(QWidget *window, QWidget *body, QSize comfortable)
{
    window->ensurePolished();
    for (QWidget *child : window->findChildren<QWidget *>())
        child->ensurePolished();
    auto *follow = new FollowBody(window, body, comfortable);
    follow->fit();
    if (!window->testAttribute(Qt::WA_Moved))
        PlaceWindow(window, RoomOnScreen(window).center());
}

void PlaceWindow(QWidget *window, QPoint centre)
{
    const QRect room = RoomOnScreen(window);
    QRect placed(QPoint(), window->size());
    placed.moveCenter(centre);
    placed.moveLeft(std::max(std::min(placed.left(), room.right() - placed.width() + 1), room.left()));
    placed.moveTop(std::max(std::min(placed.top(), room.bottom() - placed.height() + 1), room.top()));
    // A window's position is that of its frame.
    const QMargins frame = frameAround(window);
    window->move(placed.topLeft() - QPoint(frame.left(), frame.top()));
}

void KeepOnScreen(QWidget *window)
{
    const QRect room = RoomOnScreen(window);
    window->setMinimumSize(window->minimumSize().boundedTo(room.size()));
    window->resize(window->size().boundedTo(room.size()));
    const QWidget *over = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    PlaceWindow(window, over && over->isVisible() ? over->frameGeometry().center() : room.center());
}
