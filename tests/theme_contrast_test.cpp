#include "gui_support.h"

#include "links/frm_about.h"
#include "results/frm_save.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QMenuBar>
#include <QRadioButton>
#include <QStyleFactory>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include <cmath>

namespace {

// WCAG 2 relative luminance and contrast ratio, worked out here on their own
// so that the windows' colour helpers are checked, not reused.
double luminance(const QColor &c)
{
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Bold text of 14 pt and more, or any text of 18 pt and more, counts as large.
double neededRatio(const QFont &font)
{
    const bool large = font.pointSizeF() >= 18 || (font.pointSizeF() >= 14 && font.weight() >= QFont::Bold);
    return large ? 3.0 : 4.5;
}

QPalette fusionDark()
{
    QPalette p;
    const QColor window(53, 53, 53), base(42, 42, 42), text(Qt::white);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::red);
    p.setColor(QPalette::Link, QColor(42, 130, 218));
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(160, 160, 160));
    p.setColor(QPalette::Light, QColor(80, 80, 80));
    p.setColor(QPalette::Midlight, QColor(66, 66, 66));
    p.setColor(QPalette::Mid, QColor(40, 40, 40));
    p.setColor(QPalette::Dark, QColor(30, 30, 30));
    p.setColor(QPalette::Shadow, Qt::black);
    return p;
}

// The shades of a GNOME desktop in its dark style.
QPalette adwaitaDark()
{
    QPalette p = fusionDark();
    const QColor window(36, 36, 36), base(30, 30, 30), text(238, 238, 236);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(48, 48, 48));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Link, QColor(120, 174, 237));
    p.setColor(QPalette::Highlight, QColor(53, 132, 228));
    p.setColor(QPalette::HighlightedText, Qt::white);
    return p;
}

// What a widget is drawn on when it paints no ground of its own.
QColor groundBehind(const QWidget *w)
{
    for (const QWidget *a = w; a; a = a->parentWidget()) {
        if (a->autoFillBackground() || a->isWindow())
            return a->palette().color(QPalette::Active, a->backgroundRole());
    }
    return Qt::white;
}

struct Text {
    QString what;
    QColor fore, back;
    QFont font;
};

QColor active(const QWidget *w, QPalette::ColorRole role)
{
    return w->palette().color(QPalette::Active, role);
}

QString describe(const QWidget *w, const QString &text)
{
    return QStringLiteral("%1 %2 \"%3\"").arg(QLatin1String(w->metaObject()->className()), w->objectName(),
                                               text.left(30));
}

// Every text a user sees in the window, with the colours it is drawn in.
// Disabled controls are left out: they are meant to read as unavailable.
QList<Text> textsOf(QWidget *window)
{
    QList<Text> texts;
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *w : widgets) {
        if (!w->isVisibleTo(window) || !w->isEnabled() || (w->isWindow() && w != window))
            continue;
        if (auto *browser = qobject_cast<QTextBrowser *>(w)) {
            const QColor paper = active(browser->viewport(), browser->viewport()->backgroundRole());
            for (QTextBlock b = browser->document()->begin(); b.isValid(); b = b.next()) {
                for (auto it = b.begin(); !it.atEnd(); ++it) {
                    const QTextFragment f = it.fragment();
                    const QTextCharFormat format = f.charFormat();
                    const QColor fore = format.foreground().style() == Qt::NoBrush ? active(browser, QPalette::Text)
                                                                                   : format.foreground().color();
                    const QColor back = format.background().style() == Qt::NoBrush ? paper : format.background().color();
                    QFont font = browser->document()->defaultFont();
                    font.setBold(format.fontWeight() >= QFont::Bold);
                    if (!f.text().trimmed().isEmpty())
                        texts.append({describe(w, f.text()), fore, back, font});
                }
            }
        } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
            texts.append({describe(w, edit->text()), active(w, QPalette::Text), active(w, QPalette::Base), w->font()});
        } else if (auto *list = qobject_cast<QComboBox *>(w)) {
            // A closed list is drawn as a button, its entry in the text colour.
            texts.append({describe(w, list->currentText()), active(w, QPalette::Text), active(w, QPalette::Button),
                          w->font()});
        } else if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w)) {
            texts.append({describe(w, static_cast<QAbstractButton *>(w)->text()), active(w, QPalette::WindowText),
                          groundBehind(w->parentWidget()), w->font()});
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            texts.append({describe(w, button->text()), active(w, QPalette::ButtonText), active(w, QPalette::Button),
                          w->font()});
        } else if (auto *group = qobject_cast<QGroupBox *>(w)) {
            texts.append({describe(w, group->title()), active(w, QPalette::WindowText),
                          groundBehind(w->parentWidget()), w->font()});
        } else if (auto *label = qobject_cast<QLabel *>(w)) {
            if (!label->text().isEmpty())
                texts.append({describe(w, label->text()), active(w, label->foregroundRole()), groundBehind(w),
                              w->font()});
        } else if (qobject_cast<QMenuBar *>(w)) {
            texts.append({describe(w, QStringLiteral("menus")), active(w, QPalette::ButtonText),
                          active(w, QPalette::Window), w->font()});
        }
    }
    return texts;
}

QStringList faults(QWidget *window)
{
    QStringList found;
    for (const Text &t : textsOf(window)) {
        const double ratio = contrast(t.fore, t.back);
        if (ratio < neededRatio(t.font))
            found << QStringLiteral("%1: %2 on %3 is %4:1").arg(t.what, t.fore.name(), t.back.name()).arg(ratio, 0, 'f', 2);
    }
    return found;
}

} // namespace

class ThemeContrastTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void everyTextIsReadable_data();
    void everyTextIsReadable();
    void cleanup();
};

void ThemeContrastTest::initTestCase()
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

void ThemeContrastTest::cleanup()
{
    QApplication::setPalette(QApplication::style()->standardPalette());
}

void ThemeContrastTest::everyTextIsReadable_data()
{
    // The palette the windows are built in, and the one they are checked in:
    // a desktop may change its theme while the program runs.
    QTest::addColumn<QPalette>("builtIn");
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<QString>("window");
    const QPalette light = QApplication::style()->standardPalette(); // Fusion, from initTestCase
    const struct {
        const char *name;
        QPalette builtIn, checked;
    } themes[] = {
        {"light", light, light},
        {"fusion dark", fusionDark(), fusionDark()},
        {"adwaita dark", adwaitaDark(), adwaitaDark()},
        {"light turned dark", light, adwaitaDark()},
        {"dark turned light", fusionDark(), light},
    };
    for (const auto &theme : themes) {
        for (const char *window : {"frmMain", "frmMoonSign", "frmSave", "frmAbout"})
            QTest::addRow("%s %s", theme.name, window) << theme.builtIn << theme.checked << QString::fromLatin1(window);
    }
}

void ThemeContrastTest::everyTextIsReadable()
{
    QFETCH(QPalette, builtIn);
    QFETCH(QPalette, palette);
    QFETCH(QString, window);
    QApplication::setPalette(builtIn);
    auto faults = [&palette](QWidget *w) {
        QApplication::setPalette(palette);
        return ::faults(w);
    };

    Session session;
    Person man;
    man.name = QStringLiteral("John");
    man.city = QStringLiteral("Leeds");
    man.state = QStringLiteral("England");
    man.country = QStringLiteral("UK");
    Person woman;
    woman.name = QStringLiteral("Mary");
    woman.year = 1992;
    woman.month = 4;
    woman.day = 12;

    QStringList found;
    if (window == QLatin1String("frmMain")) {
        // The atlas's note on an unmatched clock is shown too.
        auto *note = session.main->findChild<QLabel *>(QStringLiteral("lblMZoneNote"));
        note->setText(QStringLiteral("This place's clock matches none of the zones."));
        note->show();
        fillPerson(*session.main, man, true);
        found = faults(session.main);
    } else {
        frmMoonSign *results = session.read(man, woman);
        QVERIFY(results);
        if (window == QLatin1String("frmMoonSign")) {
            found = faults(results);
            results->cmdBirthDetails_Click();
            found += faults(results);
        } else if (window == QLatin1String("frmSave")) {
            frmSave report(results->reading(), results);
            report.show();
            found = faults(&report);
        } else {
            frmAbout about(results);
            about.show();
            found = faults(&about);
        }
    }
    QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
}

QTEST_MAIN(ThemeContrastTest)
#include "theme_contrast_test.moc"
