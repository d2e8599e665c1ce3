#include "links/url_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

UrlOpener::Handler &currentHandler()
{
    static UrlOpener::Handler handler;
    return handler;
}

} // namespace

void UrlOpener::open(const QString &address)
{
    if (currentHandler()) {
        currentHandler()(address);
        return;
    }
    QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

void UrlOpener::setHandler(Handler handler)
{
    currentHandler() = std::move(handler);
}
