#include "app/gui/ThreadHandOver.h"

#include "app/CommandLine.h"
#include "app/gui/formMain.h"
#include "platform/SecureServers.h"

#include <QPushButton>

void openHandedThread(formMain &window, const QString &threadUrl)
{
    const ThreadUrl thread = parseThreadUrl(threadUrl);
    if (thread.valid) {
        // Command1 is Start while it reads "開始" and Stop otherwise.
        if (window.Command1->text() != QStringLiteral("開始"))
            window.command1Click();
        // The window opens the board by its http form; an https thread's server goes over TLS.
        if (thread.secure)
            platform::rememberSecureServer(thread.server, thread.server);
        window.openThreadAddress(thread.server, thread.board, thread.threadNumber);
        window.command1Click();
    }
    if (window.isHiddenForMini()) {
        if (window.hooks().mini.show)
            window.hooks().mini.show();
        return;
    }
    if (window.isMinimized())
        window.showNormal();
    window.raise();
    window.activateWindow();
}
