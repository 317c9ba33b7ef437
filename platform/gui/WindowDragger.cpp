#include "platform/gui/WindowDragger.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace {

// Wayland does not let a client place its own window; the compositor moves it instead.
bool compositorMovesWindows()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

} // namespace

WindowDragger::WindowDragger(QObject *parent) : QObject(parent) {}

void WindowDragger::addHandle(QWidget *handle)
{
    handle->installEventFilter(this);
}

bool WindowDragger::eventFilter(QObject *watched, QEvent *event)
{
    auto *handle = qobject_cast<QWidget *>(watched);
    if (!handle)
        return QObject::eventFilter(watched, event);
    QWidget *window = handle->window();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (compositorMovesWindows() && window->windowHandle()) {
            window->windowHandle()->startSystemMove();
            return true;
        }
        m_rule.press(mouse->position().x(), mouse->position().y());
        return true;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        WindowPoint topLeft;
        // The handle sits at a fixed place in the window, so its local position and the
        // window's position move together: the result depends on the pointer alone.
        if (m_rule.move(window->x(), window->y(), mouse->position().x(), mouse->position().y(),
                        topLeft))
            window->move(topLeft.x, topLeft.y);
        return m_rule.dragging();
    }
    case QEvent::MouseButtonRelease:
        m_rule.release();
        return true;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
