#include "app/quit_application.h"

#include <QApplication>
#include <QWidget>

void QuitApplication()
{
    static bool quitting = false;
    if (quitting)
        return;
    quitting = true;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows)
        w->close();
    QCoreApplication::quit();
    quitting = false;
}
