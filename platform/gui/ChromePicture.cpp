#include "platform/gui/ChromePicture.h"

#include <QMouseEvent>
#include <QPainter>

ChromePicture::ChromePicture(const QPixmap &picture, const QPixmap &pressed, QWidget *parent)
    : QWidget(parent), m_picture(picture), m_pressed(pressed)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
}

void ChromePicture::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_rule.pressedShown() ? m_pressed : m_picture);
}

void ChromePicture::mousePressEvent(QMouseEvent *event)
{
    m_rule.press();
    update();
    event->accept();
}

void ChromePicture::mouseReleaseEvent(QMouseEvent *event)
{
    // The widget keeps the mouse grab from the press, so a release off the picture still
    // arrives here, with a position outside 0..width.
    const QPointF p = event->position();
    const bool act = m_rule.release(p.x(), p.y(), width(), height());
    update();
    event->accept();
    if (act)
        emit activated();
}
