#pragma once

#include <initializer_list>

class QAction;
class QMainWindow;
class QMenu;
class QString;

// The menus both main windows share after their own File menu: Help (with
// the About box), Donate and Make Money Online on the menu bar itself. The
// windows inherit the actions, so each finds them under its own names.
struct HelpMenus {
    QAction *mnuOnline = nullptr;
    QAction *mnuVisit = nullptr;
    QAction *mnuUpdate = nullptr;
    QAction *mnuAbout = nullptr;
    QAction *mnuDonate = nullptr;
    QAction *mkmoney = nullptr;
};

HelpMenus AddHelpMenus(QMainWindow *window);

// The window's File menu ("mnuFile") holding the actions, in order.
QMenu *AddFileMenu(QMainWindow *window, std::initializer_list<QAction *> actions);

// A menu action with its object name, owned by the window.
QAction *NamedAction(QMainWindow *window, const QString &caption, const char *objectName);
