#pragma once
// The browser windows as the rest of the program reaches them: the image viewer, the TV graph
// window, the general web window, the thread view and the thread-list window. The windows
// themselves live in viewers/gui, and nothing outside it includes their headers: the four that
// carry the browser engine are a module loaded when the first of them is shown
// (viewers/gui/BrowserModule.h); until then their calls are held or answered here.
//
// Every call runs on the UI thread. Showing the thread-list window re-opens the current board
// through ThreadListHost, which waits with window events running.

#include "viewers/ViewerHosts.h"

#include <QPoint>
#include <QString>
#include <QStringList>
#include <memory>

struct ViewerWindowHosts
{
    ThreadViewHost *threadView = nullptr;
    ThreadListHost *threadList = nullptr;
    MainGeometryHost *geometry = nullptr;
};

// The four windows that carry the browser engine; the module implements these.
class BrowserWindows
{
public:
    // Deletes the windows that still exist.
    virtual ~BrowserWindows() = default;

    // Image viewer (formImageView).
    virtual void setImage(const QStringList &resNo, const QStringList &urls, bool isModeChange) = 0;
    virtual void showImageViewer() = 0;
    virtual void closeImageViewer() = 0;

    // TV graph window (formTv2ch).
    virtual void showTvGraph() = 0;
    virtual void closeTvGraph() = 0;

    // General web window (formWebBrowserHanyou): navigate to url and show.
    virtual void showWebPage(const QString &url) = 0;
    virtual void closeWebWindow() = 0;

    // Thread view (formMerlinBrowser); refreshThreadView rebuilds its page from the record.
    virtual bool isThreadViewVisible() const = 0;
    virtual void showThreadView() = 0;
    virtual void refreshThreadView() = 0;
    virtual void closeThreadView() = 0;
};

class ViewerWindows : public BrowserWindows
{
public:
    // Thread-list window (formSureItiran), created when first shown and deleted when closed.
    // fillThreadList reaches it only while it exists.
    virtual void fillThreadList(const QStringList &entries, const QStringList &addresses) = 0;
    virtual void showThreadListAt(QPoint topLeft) = 0;   // global pixels
    virtual void showThreadListAtTop(int top) = 0;       // its left unchanged
    virtual void closeThreadList() = 0;
};

// Builds the set; no window exists until it is first shown. A module that cannot be loaded is
// reported once, and its windows' calls do nothing from then on. Defined in viewers/gui.
std::unique_ptr<ViewerWindows> createViewerWindows(const ViewerWindowHosts &hosts);
