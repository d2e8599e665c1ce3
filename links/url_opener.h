#pragma once

#include <QString>

#include <functional>

// The one way the program hands an address to the user's browser. Tests
// replace the handler and record what would have opened. Failures are
// ignored: nothing is reported back.
namespace UrlOpener {

using Handler = std::function<void(const QString &address)>;

void open(const QString &address);

// Replaces the handler; an empty handler restores the system browser.
void setHandler(Handler handler);

} // namespace UrlOpener
