#pragma once
// Window-side platform services: real message boxes, the user's browser, the wait cursor.

#include "platform/MessageService.h"

class QWidget;

namespace platform {

// Shows QMessageBox boxes, captioned "Kestrelon", owned as messageBoxOwner picks.
class BoxMessageService : public MessageService
{
public:
    // fallback: the window that owns a box whose own window is hidden (the main window).
    explicit BoxMessageService(QWidget *fallback = nullptr) : m_fallback(fallback) {}
    MessageAnswer show(const QString &text, MessageButtons buttons, const QObject *owner) override;

private:
    QWidget *m_fallback;
};

// The window a box belongs to: the asking object's window while it is shown; otherwise the
// fallback while that is shown (mini mode hides the main window that asks); otherwise the
// active window, or none (the box then centres on the screen).
QWidget *messageBoxOwner(const QObject *owner, QWidget *fallback);

// True when the address may be handed to the user's browser: http and https only.
bool isOpenableAddress(const QString &address);

// Opens an http or https address in the desktop's browser; anything else is refused (false).
// Tests replace the opener to record addresses instead of starting a browser.
bool openInDesktopBrowser(const QString &address);
using BrowserOpener = bool (*)(const QString &address);
void setBrowserOpener(BrowserOpener opener);

// Busy (wait) mouse pointer while an object of this type lives.
class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace platform
