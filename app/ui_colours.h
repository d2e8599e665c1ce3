#pragma once

#include <QColor>

class QWidget;

// Contrast as readers need it: the ratio of two colours' relative
// luminances, from 1 (same) to 21 (black on white).
double ContrastRatio(const QColor &a, const QColor &b);

// The wanted colour, lightened or darkened, keeping its hue, only as far as
// it takes to read on the given ground.
QColor ReadableOn(const QColor &wanted, const QColor &ground, double ratio = 4.5);

// The colour a widget is seen on: its own ground when it paints one,
// otherwise the ground of the nearest ancestor that does.
QColor GroundBehind(const QWidget *widget);

// Text and ground as a pair, for a widget (and what it holds) that paints a
// ground of its own: labels and frames on the window ground, boxes on the
// text-field ground.
void SetColours(QWidget *widget, const QColor &text, const QColor &ground);
void SetFieldColours(QWidget *widget, const QColor &text, const QColor &ground);

// Text in the given colour, for labels and read-only fields alike, shaded
// only as far as the ground it lands on needs; the shade follows the ground
// when the theme or the widget's place changes.
void SetTextColour(QWidget *widget, const QColor &colour);
