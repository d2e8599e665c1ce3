#include "gui_support.h"

#include <QAccessible>
#include <QTest>

namespace {

struct Unnamed {
    QStringList controls;
};

bool isControl(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::PushButton:
    case QAccessible::StaticText:
    case QAccessible::Graphic:
    case QAccessible::Link:
    case QAccessible::Grouping:
        return true;
    default:
        return false;
    }
}

// Every control a screen reader reaches must say what it is.
void walk(QAccessibleInterface *node, QStringList &unnamed, QStringList &named, int depth = 0)
{
    if (!node || depth > 40)
        return;
    if (node->state().invisible == false && isControl(node->role())) {
        const QString name = node->text(QAccessible::Name).trimmed();
        QObject *object = node->object();
        const QString id = object ? object->objectName() + QLatin1Char('/') + QLatin1String(object->metaObject()->className())
                                  : QStringLiteral("?");
        if (name.isEmpty())
            unnamed << id;
        else
            named << (object ? object->objectName() : QString()) + QLatin1Char('=') + name;
    }
    for (int i = 0; i < node->childCount(); ++i)
        walk(node->child(i), unnamed, named, depth + 1);
}

QString nameOf(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyControlOfTheBirthDetailsIsNamed();
    void everyControlOfTheResultsIsNamed();
};

void AccessibilityTest::everyControlOfTheBirthDetailsIsNamed()
{
    Session s;
    QStringList unnamed, named;
    walk(QAccessible::queryAccessibleInterface(s.main), unnamed, named);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
    QVERIFY(named.size() > 40);
    // Input names say whose field it is.
    // Qt on Linux names a drop-down list by its current entry and relates it
    // to its label; the owner's name is still set on the widget.
    QCOMPARE(s.main->cboMMonth->accessibleName(), QStringLiteral("Man's month of birth"));
    QCOMPARE(nameOf(s.main->txtFLatD), QStringLiteral("Partner's latitude degrees"));
    QCOMPARE(s.main->cmbFTimeZone->accessibleName(), QStringLiteral("Partner's time zone"));
    QCOMPARE(nameOf(s.main->chkMDST), QStringLiteral("Man's daylight saving time"));
}

void AccessibilityTest::everyControlOfTheResultsIsNamed()
{
    Session s;
    frmMoonSign *r = s.read(Person{}, Person{});
    QVERIFY(r);
    for (QWidget *panel : {static_cast<QWidget *>(r->Frame2), static_cast<QWidget *>(r->Frame1)}) {
        r->panels->setCurrentWidget(panel);
        QStringList unnamed, named;
        walk(QAccessible::queryAccessibleInterface(r), unnamed, named);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
    }
    QCOMPARE(nameOf(r->txtMoonF), QStringLiteral("Partner's Moon sign"));
    QCOMPARE(nameOf(r->txtDOBM), QStringLiteral("Man's date of birth"));
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
