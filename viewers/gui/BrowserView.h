#pragma once
// The browser control of the viewer windows. Our own scripts (reading the document, scrolling)
// run in the application world: they work while the page's scripts are switched off, and the
// page can neither see nor change them.

#include <QString>
#include <QVariant>
#include <functional>

class QWebEngineView;
class QWidget;

// A new browser control; pageScripts false switches the page's JavaScript off. A link that asks
// for a new window (target=new, window.open) opens in the user's browser, http and https only.
QWebEngineView *createBrowserView(QWidget *parent, bool pageScripts);

// A browser control for a page file built from the posters' text: no scripts, no access from
// the page to outside addresses or other local files, and no navigation away from ownFile
// (ViewerNavigation.h): clicked http(s) links open in the user's browser, the rest is refused.
QWebEngineView *createLocalPageView(QWidget *parent, const QString &ownFile);

// Runs script in the application world. done (may be empty) gets the result later, from the
// event loop; it is dropped when the view is destroyed first.
void runPrivateScript(QWebEngineView *view, const QString &script,
                      const std::function<void(const QVariant &)> &done = {});

// Script: sets the body's scroll top to top (negative: leaves it) and gives the body's scroll
// height.
QString scrollTopThenHeightScript(qint32 top);
// Script: scrolls to the end (scroll top = scroll height).
QString scrollToEndScript();
