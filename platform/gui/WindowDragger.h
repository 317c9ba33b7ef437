#pragma once
// Moves a frameless window while the mouse is dragged on one of its handles (the title image
// and the caption label): mouse down records the pointer within the handle, moves put the
// window at (left - recorded x + pointer x, top - recorded y + pointer y), mouse up ends it.
// Each window has its own dragger, as each has its own blnDragging.

#include "platform/ChromeRules.h"

#include <QObject>

class QWidget;

class WindowDragger : public QObject
{
    Q_OBJECT
public:
    // The window moved is the handle's top-level window at the time of the event.
    explicit WindowDragger(QObject *parent = nullptr);

    // Starts watching a handle's mouse events (the handle must not consume them itself).
    void addHandle(QWidget *handle);
    bool dragging() const { return m_rule.dragging(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DragRule m_rule;
};
