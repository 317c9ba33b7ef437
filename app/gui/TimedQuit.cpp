#include "app/gui/TimedQuit.h"

#include <QApplication>
#include <QDialog>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <cmath>

bool saveWindowPicture(QWidget *window, const QString &file)
{
    if (!window || file.isEmpty())
        return false;
    return window->grab().save(file);
}

void quitNow(QWidget *window, const QString &screenshotFile)
{
    if (!window)
        return;
    if (!screenshotFile.isEmpty())
        saveWindowPicture(window, screenshotFile);
    // Each dismissed dialog ends its own event loop once this handler returns; a dialog that
    // refuses to go would otherwise keep this loop spinning.
    for (int guard = 0; guard < 32; ++guard) {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == window)
            break;
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->close();
        if (QApplication::activeModalWidget() == modal)
            modal->hide();
    }
    // Close once the dismissed dialogs' loops have returned, so no caller inside them resumes
    // on a window that is already gone.
    QPointer<QWidget> target(window);
    QTimer::singleShot(0, window, [target] {
        if (target)
            target->close();
    });
}

void scheduleTimedQuit(QWidget *window, double seconds, const QString &screenshotFile)
{
    if (!window || !(seconds >= 0))
        return;
    const int ms = static_cast<int>(std::lround(seconds * 1000.0));
    QTimer::singleShot(ms, window, [window, screenshotFile] { quitNow(window, screenshotFile); });
}
