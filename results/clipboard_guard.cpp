#include "results/clipboard_guard.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTextEdit>

namespace {

bool isCopyKey(const QKeyEvent *key)
{
    // Ctrl+Insert is one of the platform's Copy keys on most systems; it is
    // named as well so that it never slips through.
    return key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut)
        || (key->key() == Qt::Key_Insert && (key->modifiers() & Qt::ControlModifier));
}

} // namespace

ClipboardGuard::ClipboardGuard(QObject *parent)
    : QObject(parent)
{
}

void ClipboardGuard::watch(QLineEdit *field)
{
    field->setContextMenuPolicy(Qt::NoContextMenu);
    field->setDragEnabled(false);
    // A line edit puts any selection it makes (double click, drag, Shift
    // keys) on the primary selection at once; with no selection there is
    // nothing to put there. The signal comes before that copy.
    connect(field, &QLineEdit::selectionChanged, field, [field] {
        if (field->hasSelectedText())
            field->deselect();
    });
    field->installEventFilter(this);
}

void ClipboardGuard::watch(QTextEdit *field)
{
    field->setContextMenuPolicy(Qt::NoContextMenu);
    field->installEventFilter(this);
}

bool ClipboardGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        if (isCopyKey(static_cast<QKeyEvent *>(event))) {
            event->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QMimeData *CopyProofBrowser::createMimeDataFromSelection() const
{
    return new QMimeData;
}
