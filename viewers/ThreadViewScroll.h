#pragma once
// Where the thread view opens after a build: at the top the first time, then where the previous
// page ended (the responses that just arrived), for as long as the thread title stays the one
// of the first build. Cleared when the window is closed, except the stored title.

#include <QString>
#include <optional>

class ThreadViewScroll
{
public:
    qint16 intBuildCount = 0;      // builds since the window was loaded
    qint32 lngLastScrollHeight = 0; // body scroll height at the end of the previous load
    bool blnIsBuilt = false;
    QString strFirstTitle;
    bool blnIsTitleChanged = false;

    // A build starts with this title (counts it and tracks the title).
    void startBuild(const QString &title);
    // The build has navigated to its page.
    void finishBuild() { blnIsBuilt = true; }

    // Document complete: whether to act at all, and the scroll top to set first (none: leave
    // the page where it opened, at the top).
    bool handlesDocumentComplete() const { return blnIsBuilt; }
    std::optional<qint32> restoreScrollTop() const;
    // Document complete, after the restore: the page's scroll height.
    void recordScrollHeight(qint32 height) { lngLastScrollHeight = height; }

    // The window is closed.
    void unload();
};
