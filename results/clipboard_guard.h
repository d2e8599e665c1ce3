#pragma once

#include <QObject>

class QLineEdit;
class QTextEdit;

// Empties the system clipboard whenever a watched read-only field changes,
// is clicked, or the mouse presses, moves or is released over it: the
// reading offers nothing to copy out.
class ClipboardGuard : public QObject {
    Q_OBJECT

public:
    explicit ClipboardGuard(QObject *parent = nullptr);

    void watch(QLineEdit *field);
    void watch(QTextEdit *field);

    static void emptyClipboard();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
