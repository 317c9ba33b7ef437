#pragma once
// --quit-after and --screenshot: after the given time, save a picture of the window, dismiss
// any modal dialog or message box that is open (it answers as if cancelled: No, Cancel), and
// close the window in the orderly way, so its closing (settings written, pages removed) runs.

#include <QString>

class QWidget;

// Saves a picture of the window's contents; false when it cannot be written.
bool saveWindowPicture(QWidget *window, const QString &file);

// Arms a single-shot timer owned by the window. A negative time arms nothing.
void scheduleTimedQuit(QWidget *window, double seconds, const QString &screenshotFile);

// What the timer does when it fires (also for tests).
void quitNow(QWidget *window, const QString &screenshotFile);
