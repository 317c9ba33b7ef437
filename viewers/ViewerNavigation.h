#pragma once
// Where the thread view may go. Its page is a local file built from the posters' text, so a link
// in it must not open other local files in its place (or load an outside page into it): the view
// shows only its own page file, a clicked http or https link goes to the user's browser, and
// everything else is refused.

#include <QUrl>

enum class ViewerNavigation {
    Load,          // the view's own page file (any query: each build gets its own address)
    OpenOutside,   // hand the address to the user's browser, stay on the page
    Refuse,        // stay on the page
};

// target: the address asked for; ownPage: the page file's address; clicked: a link the user
// activated; mainFrame: false for a frame inside the page.
ViewerNavigation threadViewNavigation(const QUrl &target, const QUrl &ownPage, bool clicked, bool mainFrame);

// What the page may load at all: its own file and the corner images beside it ("kado1.gif" to
// "kado4.gif"); nothing else, local or remote.
bool threadViewMayLoad(const QUrl &resource, const QUrl &ownPage);

// http and https only.
bool isWebAddress(const QUrl &url);
