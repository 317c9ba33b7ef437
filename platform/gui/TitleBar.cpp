#include "platform/gui/TitleBar.h"

#include <QWidget>

bool hasSystemTitleBar(const QWidget *window)
{
    return window && !window->windowFlags().testFlag(Qt::FramelessWindowHint);
}

void toggleTitleBar(QWidget *window, bool force)
{
    if (!window || !window->isWindow())
        return;
    if (hasSystemTitleBar(window))
        setSystemTitleBarShown(window, false);
    else if (force)
        setSystemTitleBarShown(window, true);
}

void setSystemTitleBarShown(QWidget *window, bool shown)
{
    if (!window || !window->isWindow() || hasSystemTitleBar(window) == shown)
        return;
    // Changing window flags re-creates the native window and hides it; put the client area
    // back where it was, at the same size, and show it again if it was shown.
    const QRect client = window->geometry();
    const bool visible = window->isVisible();
    const bool minimised = window->isMinimized();
    window->setWindowFlag(Qt::FramelessWindowHint, !shown);
    window->setGeometry(client);
    if (visible)
        minimised ? window->showMinimized() : window->show();
}
