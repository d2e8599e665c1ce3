#include "app/window_fit.h"

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
    const int around = main ? window->layout()->sizeHint().height() - layout->totalSizeHint().height() : 0;
    return layout->totalHeightForWidth(width) + std::max(0, around);
}

} // namespace

void FitWindowToLayout(QWidget *window)
{
    window->ensurePolished();
    for (QWidget *child : window->findChildren<QWidget *>())
        child->ensurePolished();
    QLayout *layout = window->layout();
    if (!layout)
        return;
    layout->activate();

    const QSize minimum = layout->totalMinimumSize();
    const int minimumHeight = std::max(minimum.height(), heightForWidth(window, minimum.width()));
    window->setMinimumSize(minimum.width(), minimumHeight);

    // A window never shown nor resized only has Qt's placeholder size.
    const QSize chosen = window->testAttribute(Qt::WA_Resized) ? window->size() : QSize();
    const QSize hint = layout->totalSizeHint();
    const int width = std::max({hint.width(), minimum.width(), chosen.width()});
    const int height = std::max({hint.height(), minimumHeight, heightForWidth(window, width), chosen.height()});
    window->resize(width, height);
}
