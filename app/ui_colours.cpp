#include "app/ui_colours.h"

#include <QEvent>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

double relativeLuminance(const QColor &c)
{
    auto linear = [](int channel) {
        const double s = channel / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
}

// Keeps one widget's text colour readable on whatever it is drawn on.
class ReadableText : public QObject {
public:
    ReadableText(QWidget *widget, const QColor &wanted)
        : QObject(widget)
        , m_wanted(wanted)
    {
        widget->installEventFilter(this);
        apply(widget);
    }

    void setWanted(QWidget *widget, const QColor &wanted)
    {
        m_wanted = wanted;
        apply(widget);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::PaletteChange:
        case QEvent::ParentChange:
        case QEvent::Polish:
        case QEvent::Show:
            apply(static_cast<QWidget *>(watched));
            break;
        default:
            break;
        }
        return false;
    }

private:
    void apply(QWidget *widget)
    {
        // Labels draw on the ground behind them, fields on their own base.
        const QColor onGround = ReadableOn(m_wanted, GroundBehind(widget));
        const QColor onBase = ReadableOn(m_wanted, widget->palette().color(QPalette::Active, QPalette::Base));
        const QPalette current = widget->palette();
        if (current.color(QPalette::Active, QPalette::WindowText) == onGround
            && current.color(QPalette::Active, QPalette::Text) == onBase
            && current.isBrushSet(QPalette::Active, QPalette::WindowText) && current.isBrushSet(QPalette::Active, QPalette::Text))
            return;
        QPalette p = current;
        p.setColor(QPalette::WindowText, onGround);
        p.setColor(QPalette::Text, onBase);
        widget->setPalette(p);
    }

    QColor m_wanted;
};

} // namespace

double ContrastRatio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor &wanted, const QColor &ground, double ratio)
{
    if (ContrastRatio(wanted, ground) >= ratio)
        return wanted;
    // Below this luminance a ground holds more contrast against white.
    const bool darken = relativeLuminance(ground) > 0.179;
    const QColor hsl = wanted.toHsl();
    for (int step = 1; step <= 255; ++step) {
        const int lightness = std::clamp(hsl.lightness() + (darken ? -step : step), 0, 255);
        const QColor shade = QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), lightness);
        if (ContrastRatio(shade, ground) >= ratio || lightness == 0 || lightness == 255)
            return shade;
    }
    return darken ? QColor(Qt::black) : QColor(Qt::white);
}

QColor GroundBehind(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (w->autoFillBackground() || w->isWindow())
            return w->palette().color(QPalette::Active, w->backgroundRole());
    }
    return widget->palette().color(QPalette::Active, QPalette::Window);
}

void SetColours(QWidget *widget, const QColor &text, const QColor &ground)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, ground);
    p.setColor(QPalette::WindowText, text);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void SetFieldColours(QWidget *widget, const QColor &text, const QColor &ground)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Base, ground);
    p.setColor(QPalette::Text, text);
    widget->setPalette(p);
}

void SetTextColour(QWidget *widget, const QColor &colour)
{
    if (auto *keeper = widget->findChild<ReadableText *>(QString(), Qt::FindDirectChildrenOnly))
        keeper->setWanted(widget, colour);
    else
        new ReadableText(widget, colour);
}
