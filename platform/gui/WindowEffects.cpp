#include "platform/gui/WindowEffects.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QtMath>

void applyWindowOpacity(QWidget *window, int alpha, bool colourKey)
{
    if (!window)
        return;
    window->setWindowOpacity(colourKey ? 1.0 : qBound(0, alpha, 255) / 255.0);
}

void setAlwaysOnTop(QWidget *window, bool on)
{
    if (!window)
        return;
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    const QRect geometry = window->geometry();
    const Qt::WindowStates state = window->windowState();
    const bool wasVisible = window->isVisible();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on); // hides the window
    window->setGeometry(geometry);
    window->setWindowState(state);
    if (wasVisible)
        window->show();
}

void showAtTwips(QWidget *window, const TwipsPoint &twips)
{
    if (!window)
        return;
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    QPoint pos(qRound(twips.left * dpi / 1440.0), qRound(twips.top * dpi / 1440.0));
    if (QScreen *target = QGuiApplication::screenAt(pos))
        screen = target;
    if (screen) {
        const QRect area = screen->availableGeometry();
        const QSize size = window->frameGeometry().size();
        pos.setX(qBound(area.left(), pos.x(), qMax(area.left(), area.right() - size.width() + 1)));
        pos.setY(qBound(area.top(), pos.y(), qMax(area.top(), area.bottom() - size.height() + 1)));
    }
    window->move(pos);
    window->show();
    window->raise();
}
