#include "platform/Events.h"

#include <QCoreApplication>

namespace platform {

void processPendingEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

} // namespace platform
