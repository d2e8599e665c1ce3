#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

// Modal message boxes with one OK button, titled with the application's
// title. Tests install a handler that records the box instead of showing it.
namespace MessageBox {

inline const QString Title = QStringLiteral("RU Zuva Zize Vadiveziduzor");

using Handler = std::function<void(QWidget *parent, const QString &text, QMessageBox::Icon icon)>;

void show(QWidget *parent, const QString &text, QMessageBox::Icon icon);

// A question with Yes and No, No the default; true for Yes.
bool ask(QWidget *parent, const QString &text);

// Replaces the handler; an empty handler shows real boxes again.
void setHandler(Handler handler);

// Tests answer questions through their own handler, in the same way.
using AnswerHandler = std::function<bool(QWidget *parent, const QString &text)>;
void setAnswerHandler(AnswerHandler handler);

} // namespace MessageBox
