#include "gui_support.h"

#include "app/window_fit.h"
#include "entry/birth_details_form.h"
#include "links/frm_about.h"
#include "results/frm_save.h"

#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

// Run once for each screen and scale (the offscreen platform's configured
// screen and QT_SCALE_FACTOR): 1280x1024 at 100 %, 1366x768 at 125 % and
// 1920x1200 at 200 %.
class WindowSizeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opensInsideTheScreenWithEverythingReachable_data();
    void opensInsideTheScreenWithEverythingReachable();
    void formFollowsItsNotes();
    void backReturnsToWhereTheFormWas();
};

namespace {

// Squashed controls: boxes, lists and buttons lower than one line of their
// text and frame.
QStringList squashed(QWidget *window)
{
    QStringList found;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window) || w->window() != window)
            continue;
        if (!qobject_cast<QLineEdit *>(w) && !qobject_cast<QComboBox *>(w) && !qobject_cast<QPushButton *>(w))
            continue;
        const int needed = std::max(w->minimumSizeHint().height(), w->fontMetrics().height());
        if (w->height() < needed)
            found << QStringLiteral("%1 is %2 px high, needs %3").arg(w->objectName()).arg(w->height()).arg(needed);
    }
    return found;
}

// A window that leaves the screen's available area, hides part of its body
// without a scroll bar to reach it, or squashes a control.
QStringList faults(QWidget *window)
{
    QStringList found;
    const QRect screen = window->screen()->availableGeometry();
    if (!screen.contains(window->geometry()))
        found << QStringLiteral("%1 at %2,%3 %4x%5 leaves the screen's %6x%7")
                     .arg(window->objectName()).arg(window->x()).arg(window->y()).arg(window->width())
                     .arg(window->height()).arg(screen.width()).arg(screen.height());
    if (auto *scroll = window->findChild<QScrollArea *>(QStringLiteral("body"))) {
        const QWidget *body = scroll->widget();
        const QSize shown = scroll->viewport()->size();
        if (body->height() > shown.height() && !scroll->verticalScrollBar()->isVisible())
            found << QStringLiteral("%1: body %2 px high in %3 px, no scroll bar").arg(window->objectName()).arg(body->height()).arg(shown.height());
        if (body->width() > shown.width() && !scroll->horizontalScrollBar()->isVisible())
            found << QStringLiteral("%1: body %2 px wide in %3 px, no scroll bar").arg(window->objectName()).arg(body->width()).arg(shown.width());
    }
    return found + squashed(window);
}

} // namespace

void WindowSizeTest::opensInsideTheScreenWithEverythingReachable_data()
{
    QTest::addColumn<QString>("window");
    for (const char *window : {"frmMain", "frmMoonSign", "frmSave", "frmAbout"})
        QTest::newRow(window) << QString::fromLatin1(window);
}

void WindowSizeTest::opensInsideTheScreenWithEverythingReachable()
{
    QFETCH(QString, window);
    Session session;
    QVERIFY(QTest::qWaitForWindowExposed(session.main));
    QStringList found;
    if (window == QLatin1String("frmMain")) {
        found = faults(session.main);
        // Side by side where there is room for both people, else stacked.
        const bool room = session.main->screen()->availableGeometry().width() >= 1200;
        BirthDetailsForm *man = session.main->form(true);
        BirthDetailsForm *partner = session.main->form(false);
        QCOMPARE(man->y() == partner->y(), room);
    } else {
        frmMoonSign *results = session.read(Person{}, Person{});
        QVERIFY(results);
        QVERIFY(QTest::qWaitForWindowExposed(results));
        if (window == QLatin1String("frmMoonSign")) {
            found = faults(results);
            // The other panel, once laid out, squashes nothing either.
            results->cmdBirthDetails_Click();
            QTRY_VERIFY2(faults(results).isEmpty(), qPrintable(faults(results).join(u';')));
        } else if (window == QLatin1String("frmSave")) {
            frmSave report(results->reading(), results);
            report.show();
            QVERIFY(QTest::qWaitForWindowExposed(&report));
            found = faults(&report);
        } else {
            frmAbout about(results);
            about.show();
            QVERIFY(QTest::qWaitForWindowExposed(&about));
            found = faults(&about);
        }
    }
    QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("at scale %1: ").arg(qgetenv("QT_SCALE_FACTOR"))
                                         + found.join(QStringLiteral("; "))));
}

void WindowSizeTest::formFollowsItsNotes()
{
    Session session;
    frmMain &w = *session.main;
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Once shown and settled (the room is measured again once its frame is
    // known), the form keeps inside the room on its screen.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QVERIFY(RoomOnScreen(&w).size().expandedTo(w.size()) == RoomOnScreen(&w).size());
    const QSize before = w.size();
    // A note that appears under the zone later squashes nothing and leaves
    // nothing out of reach; when it goes, the form is as it was.
    auto *note = w.findChild<QLabel *>(QStringLiteral("lblFZoneNote"));
    note->setText(QStringLiteral("The clock of this place matches none of the zones in the list; choose the "
                                 "zone by hand and check the daylight-saving box."));
    note->show();
    QTRY_VERIFY(w.size() != before || w.height() >= RoomOnScreen(&w).height());
    QTRY_VERIFY2(faults(&w).isEmpty(), qPrintable(faults(&w).join(u';')));
    note->hide();
    QTRY_COMPARE(w.size(), before);
}

void WindowSizeTest::backReturnsToWhereTheFormWas()
{
    Session session;
    QVERIFY(QTest::qWaitForWindowExposed(session.main));
    session.main->move(13, 9);
    const QRect before = session.main->geometry();
    frmMoonSign *results = session.read(Person{}, Person{});
    QVERIFY(results);
    QVERIFY(QTest::qWaitForWindowExposed(results));
    // The results open centred where the form was (give or take its frame),
    // as far as the screen allows.
    QVERIFY(results->screen()->availableGeometry().contains(results->geometry()));
    results->cmdBack->click();
    QVERIFY(QTest::qWaitForWindowExposed(session.main));
    QCOMPARE(session.main->geometry(), before);
}

QTEST_MAIN(WindowSizeTest)
#include "window_size_test.moc"
