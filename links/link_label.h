#pragma once

#include <QLabel>

#include <functional>

// A red label with a hand cursor that runs an action when clicked.
class LinkLabel : public QLabel {
    Q_OBJECT

public:
    LinkLabel(const QString &text, std::function<void()> action, QWidget *parent = nullptr);

    // Wrapped text asks for the width of its one line, up to about eighty
    // characters, and the height it takes there.
    QSize sizeHint() const override;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    std::function<void()> m_action;
};
