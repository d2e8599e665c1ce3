#include "app/message_box.h"

namespace {

MessageBox::Handler &currentHandler()
{
    static MessageBox::Handler handler;
    return handler;
}

} // namespace

void MessageBox::show(QWidget *parent, const QString &text, QMessageBox::Icon icon)
{
    if (currentHandler()) {
        currentHandler()(parent, text, icon);
        return;
    }
    QMessageBox box(icon, Title, text, QMessageBox::Ok, parent);
    // Texts carry file names and typed entries: never read them as markup,
    // which could draw links, and keep their line breaks.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void MessageBox::setHandler(Handler handler)
{
    currentHandler() = std::move(handler);
}
