#pragma once

#include <QLabel>

// A red label with a hand cursor that reads as a link: a click, or Enter or
// Space once Tab has reached it, activates it.
class LinkLabel : public QLabel {
    Q_OBJECT

public:
    explicit LinkLabel(const QString &text, QWidget *parent = nullptr);

    // Wrapped text asks for the width of its one line, up to about eighty
    // characters, and the height it takes there.
    QSize sizeHint() const override;

Q_SIGNALS:
    void activated();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};
