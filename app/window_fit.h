#pragma once

#include <QRect>
#include <QSize>

class QScrollArea;
class QWidget;

// Sizes a window, before it is first shown, to what its layout needs:
// at least the layout's size hint, and tall enough for word-wrapped text at
// the width it opens with. The same size is its minimum, so that nothing
// can be squashed below one line of text later. A size already set on the
// window is kept where it is larger. For dialogs whose contents always fit.
void FitWindowToLayout(QWidget *window);

// The body of a window in a scroll area without a frame: the whole body
// shows when the window is large enough, and it scrolls when the screen is
// too small for that.
QScrollArea *ScrollingBody(QWidget *body, QWidget *parent);

// The part of the window's screen a window may take, frame included: the
// screen's available area, less what a window manager's frame takes.
QRect RoomOnScreen(const QWidget *window);

// The size the window's body needs, word-wrapped text at that width (or at
// the given one) included, with the menu bar of a main window.
QSize SizeBodyNeeds(const QWidget *window, const QWidget *body, int width = 0);

// Moves a window, frame and all, so that it is centred on a point but lies
// inside the room on its screen.
void PlaceWindow(QWidget *window, QPoint centre);

// Makes a window no larger than the room on its screen and places it inside.
void KeepOnScreen(QWidget *window);

// Sizes a window whose body scrolls to what the body needs, at most the room
// on its screen, and, before it is first shown, places it inside that room.
// From then on it follows its body: it grows when a note appears, up to the
// room there is, and shrinks back when the note goes, until the user sizes
// the window by hand. A comfortable size, when given, is the least it opens
// at where the room allows.
void FitWindowToScreen(QWidget *window, QWidget *body, QSize comfortable = {});
