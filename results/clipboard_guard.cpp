#include "results/clipboard_guard.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTextEdit>

ClipboardGuard::ClipboardGuard(QObject *parent)
    : QObject(parent)
{
}

void ClipboardGuard::emptyClipboard()
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->clear(QClipboard::Clipboard);
}

void ClipboardGuard::watch(QLineEdit *field)
{
    field->setMouseTracking(true);
    field->installEventFilter(this);
    connect(field, &QLineEdit::textChanged, this, &ClipboardGuard::emptyClipboard);
}

void ClipboardGuard::watch(QTextEdit *field)
{
    field->viewport()->setMouseTracking(true);
    field->viewport()->installEventFilter(this);
    field->installEventFilter(this);
    connect(field, &QTextEdit::textChanged, this, &ClipboardGuard::emptyClipboard);
}

bool ClipboardGuard::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        emptyClipboard();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
