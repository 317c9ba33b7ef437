#pragma once
// Window-side platform services: real message boxes, the user's browser, the wait cursor.

#include "platform/MessageService.h"

class QWidget;

namespace platform {

// Shows QMessageBox boxes owned by the given window (may be null).
class BoxMessageService : public MessageService
{
public:
    explicit BoxMessageService(QWidget *owner = nullptr) : m_owner(owner) {}
    void setOwner(QWidget *owner) { m_owner = owner; }
    MessageAnswer show(const QString &text, MessageButtons buttons, const QString &title) override;

private:
    QWidget *m_owner;
};

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
