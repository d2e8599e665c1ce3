#include "links/help_menus.h"

#include "links/frm_about.h"
#include "links/web_pages.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

QAction *NamedAction(QMainWindow *window, const QString &caption, const char *objectName)
{
    auto *action = new QAction(caption, window);
    action->setObjectName(QLatin1String(objectName));
    return action;
}

QMenu *AddFileMenu(QMainWindow *window, std::initializer_list<QAction *> actions)
{
    QMenu *file = window->menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    for (QAction *action : actions)
        file->addAction(action);
    return file;
}

HelpMenus AddHelpMenus(QMainWindow *window)
{
    HelpMenus m{};
    QMenu *help = window->menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    m.mnuOnline = NamedAction(window, QStringLiteral("&Online Help"), "mnuOnline");
    m.mnuOnline->setShortcut(QKeySequence(Qt::Key_F1));
    m.mnuVisit = NamedAction(window, QStringLiteral("&Visit Us Online"), "mnuVisit");
    m.mnuUpdate = NamedAction(window, QStringLiteral("Check for Software &Update"), "mnuUpdate");
    m.mnuAbout = NamedAction(window, QStringLiteral("&About Software"), "mnuAbout");
    help->addAction(m.mnuOnline);
    help->addAction(m.mnuVisit);
    help->addSeparator()->setObjectName(QStringLiteral("mnuHelp1"));
    help->addAction(m.mnuUpdate);
    help->addSeparator()->setObjectName(QStringLiteral("mnuHelp2"));
    help->addAction(m.mnuAbout);

    m.mnuDonate = NamedAction(window, QStringLiteral("&Donate"), "mnuDonate");
    m.mkmoney = NamedAction(window, QStringLiteral("Make Money &Online"), "mkmoney");
    window->menuBar()->addAction(m.mnuDonate);
    window->menuBar()->addAction(m.mkmoney);

    QObject::connect(m.mnuOnline, &QAction::triggered, window, [] { OpenHelpPage(); });
    QObject::connect(m.mnuVisit, &QAction::triggered, window, [] { OpenHomePage(); });
    QObject::connect(m.mnuUpdate, &QAction::triggered, window, [] { OpenDownloadPage(); });
    QObject::connect(m.mnuDonate, &QAction::triggered, window, [] { OpenDonatePage(); });
    QObject::connect(m.mkmoney, &QAction::triggered, window, [] { OpenFullBrandPage(); });
    QObject::connect(m.mnuAbout, &QAction::triggered, window, [window] {
        frmAbout about(window);
        about.exec();
    });
    return m;
}
