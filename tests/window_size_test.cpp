#include "gui_support.h"

#include "links/frm_about.h"
#include "results/frm_save.h"

#include <QLayout>
#include <QPushButton>
#include <QTest>

// Run once for each of the screen scales 1, 1.5 and 2 (QT_SCALE_FACTOR).
class WindowSizeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opensAtTheSizeItsLayoutNeeds_data();
    void opensAtTheSizeItsLayoutNeeds();
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

QStringList tooSmall(QWidget *window)
{
    QStringList found;
    const QSize hint = window->layout()->sizeHint();
    if (window->width() < hint.width() || window->height() < hint.height())
        found << QStringLiteral("window %1x%2 below its layout's %3x%4")
                     .arg(window->width()).arg(window->height()).arg(hint.width()).arg(hint.height());
    // Word-wrapped text needs its height at the width it was given.
    auto *main = qobject_cast<QMainWindow *>(window);
    QWidget *body = main ? main->centralWidget() : window;
    if (QLayout *layout = body->layout(); layout->hasHeightForWidth()) {
        const int needed = layout->totalHeightForWidth(body->width());
        if (body->height() < needed)
            found << QStringLiteral("contents %1 px high, need %2 at width %3")
                         .arg(body->height()).arg(needed).arg(body->width());
    }
    return found + squashed(window);
}

} // namespace

void WindowSizeTest::opensAtTheSizeItsLayoutNeeds_data()
{
    QTest::addColumn<QString>("window");
    for (const char *window : {"frmMain", "frmMoonSign", "frmSave", "frmAbout"})
        QTest::newRow(window) << QString::fromLatin1(window);
}

void WindowSizeTest::opensAtTheSizeItsLayoutNeeds()
{
    QFETCH(QString, window);
    Session session;
    QVERIFY(QTest::qWaitForWindowExposed(session.main));
    QStringList found;
    if (window == QLatin1String("frmMain")) {
        found = tooSmall(session.main);
        // The coordinate boxes by name, so that a renamed box is not missed.
        for (const char *name : {"txtMLonD", "txtMLonM", "txtMLatD", "txtMLatM", "txtFLonD", "txtFLonM", "txtFLatD",
                                 "txtFLatM"}) {
            auto *box = session.main->findChild<QLineEdit *>(QLatin1String(name));
            QVERIFY(box);
            if (box->height() < box->fontMetrics().height() + 2)
                found << QStringLiteral("%1 is %2 px high").arg(QLatin1String(name)).arg(box->height());
        }
        // A note that appears under the zone later must not squash the form.
        auto *note = session.main->findChild<QLabel *>(QStringLiteral("lblFZoneNote"));
        note->setText(QStringLiteral("The clock of this place matches none of the zones in the list; choose the "
                                     "zone by hand and check the daylight-saving box."));
        note->show();
        QTRY_VERIFY2(tooSmall(session.main).isEmpty(), qPrintable(tooSmall(session.main).join(u';')));
    } else {
        frmMoonSign *results = session.read(Person{}, Person{});
        QVERIFY(results);
        QVERIFY(QTest::qWaitForWindowExposed(results));
        if (window == QLatin1String("frmMoonSign")) {
            found = tooSmall(results);
            results->cmdBirthDetails_Click();
            found += tooSmall(results);
        } else if (window == QLatin1String("frmSave")) {
            frmSave report(results->reading(), results);
            report.show();
            QVERIFY(QTest::qWaitForWindowExposed(&report));
            found = tooSmall(&report);
        } else {
            frmAbout about(results);
            about.show();
            QVERIFY(QTest::qWaitForWindowExposed(&about));
            found = tooSmall(&about);
        }
    }
    QVERIFY2(found.isEmpty(), qPrintable(QStringLiteral("at scale %1: ").arg(qgetenv("QT_SCALE_FACTOR"))
                                         + found.join(QStringLiteral("; "))));
}

void WindowSizeTest::backReturnsToWhereTheFormWas()
{
    Session session;
    QVERIFY(QTest::qWaitForWindowExposed(session.main));
    session.main->move(137, 91);
    const QRect before = session.main->geometry();
    frmMoonSign *results = session.read(Person{}, Person{});
    QVERIFY(results);
    QVERIFY(QTest::qWaitForWindowExposed(results));
    // The results open centred where the form was (give or take its frame).
    QVERIFY((results->frameGeometry().center() - session.main->frameGeometry().center()).manhattanLength() <= 8);
    results->cmdBack->click();
    QVERIFY(QTest::qWaitForWindowExposed(session.main));
    QCOMPARE(session.main->geometry(), before);
}

QTEST_MAIN(WindowSizeTest)
#include "window_size_test.moc"
