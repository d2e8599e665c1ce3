#include "app/resources.h"

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
