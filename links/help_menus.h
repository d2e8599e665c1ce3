#pragma once

class QAction;
class QMainWindow;
class QString;

// The menus both main windows share after their own File menu: Help (with
// the About box), Donate and Make Money Online on the menu bar itself.
struct HelpMenus {
    QAction *mnuOnline;
    QAction *mnuVisit;
    QAction *mnuUpdate;
    QAction *mnuAbout;
    QAction *mnuDonate;
    QAction *mkmoney;
};

HelpMenus AddHelpMenus(QMainWindow *window);

// A menu action with its object name, owned by the window.
QAction *NamedAction(QMainWindow *window, const QString &caption, const char *objectName);
