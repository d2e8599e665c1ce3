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

// Replaces the handler; an empty handler shows real boxes again.
void setHandler(Handler handler);

} // namespace MessageBox
