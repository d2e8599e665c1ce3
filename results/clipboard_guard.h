#pragma once

#include <QObject>
#include <QTextBrowser>

class QLineEdit;
class QTextEdit;

// Keeps the reading from being copied out of the read-only result and report
// fields, without touching what the user copied elsewhere: no Copy in a
// context menu, copy keys do nothing, nothing is dragged out, and nothing
// reaches the clipboard or the X11 primary selection.
class ClipboardGuard : public QObject {
    Q_OBJECT

public:
    explicit ClipboardGuard(QObject *parent = nullptr);

    // The field can hold no selection at all.
    void watch(QLineEdit *field);
    // The field keeps its selection (for printing it) but never hands it out;
    // use a CopyProofBrowser for it.
    void watch(QTextEdit *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// A text browser whose selection carries no data: whatever the text control
// exports (the primary selection, a drag) is empty.
class CopyProofBrowser : public QTextBrowser {
    Q_OBJECT

public:
    using QTextBrowser::QTextBrowser;

protected:
    QMimeData *createMimeDataFromSelection() const override;
};
