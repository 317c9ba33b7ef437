#include "viewers/ThreadViewScroll.h"

void ThreadViewScroll::startBuild(const QString &title)
{
    // Saturates rather than wrapping: a window left open for days keeps restoring.
    if (intBuildCount < 32767)
        ++intBuildCount;
    if (blnIsBuilt) {
        if (title != strFirstTitle)
            blnIsTitleChanged = true;
    } else {
        strFirstTitle = title;
    }
}

std::optional<qint32> ThreadViewScroll::restoreScrollTop() const
{
    if (!blnIsBuilt || intBuildCount <= 1 || blnIsTitleChanged)
        return std::nullopt;
    return lngLastScrollHeight;
}

void ThreadViewScroll::unload()
{
    intBuildCount = 0;
    lngLastScrollHeight = 0;
    blnIsBuilt = false;
    blnIsTitleChanged = false;
}
