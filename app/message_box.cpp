#include "app/message_box.h"

namespace {

MessageBox::Handler &currentHandler()
{
    static MessageBox::Handler handler;
    return handler;
}

MessageBox::AnswerHandler &currentAnswerHandler()
{
    static MessageBox::AnswerHandler handler;
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

bool MessageBox::ask(QWidget *parent, const QString &text)
{
    if (currentAnswerHandler())
        return currentAnswerHandler()(parent, text);
    QMessageBox box(QMessageBox::Question, Title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void MessageBox::setAnswerHandler(AnswerHandler handler)
{
    currentAnswerHandler() = std::move(handler);
}
