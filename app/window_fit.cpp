#include "app/window_fit.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>
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
