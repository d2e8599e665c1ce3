#include "app/resources.h"

#include <QPixmapCache>
#include <QtGlobal>

static void registerContent()
{
    Q_INIT_RESOURCE(content);
}

void InitResources()
{
    static const bool done = (registerContent(), true);
    Q_UNUSED(done);
}

void LimitPixmapCache()
{
    QPixmapCache::setCacheLimit(1); // kilobytes: no control pixmap fits
}
