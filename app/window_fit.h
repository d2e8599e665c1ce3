#pragma once

class QWidget;

// Sizes a window, before it is first shown, to what its layout needs:
// at least the layout's size hint, and tall enough for word-wrapped text at
// the width it opens with. The same size is its minimum, so that nothing
// can be squashed below one line of text later. A size already set on the
// window is kept where it is larger.
void FitWindowToLayout(QWidget *window);
