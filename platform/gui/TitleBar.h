#pragma once
// The system title bar of a top-level window. Qt's form of it is the frameless flag; the
// client area keeps its size and place when the bar goes or comes back.

class QWidget;

// True when the window has the system frame and title bar.
bool hasSystemTitleBar(const QWidget *window);

// Removes the system title bar of a window that has one. A frameless window is left alone
// unless force is true, in which case it gets a title bar. A main window that is built with the
// system frame and calls toggleTitleBar(this, true) at start-up ends up frameless.
void toggleTitleBar(QWidget *window, bool force);

// Shows or hides the system title bar, keeping the client area's size and screen position and
// the window's visibility.
void setSystemTitleBarShown(QWidget *window, bool shown);
