#include "replay/gui/VideoFrameView.h"

#include <QPainter>
#include <QVideoSink>

namespace replay {

VideoFrameView::VideoFrameView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QVideoSink *VideoFrameView::videoSink()
{
    if (!m_sink) {
        m_sink = new QVideoSink(this);
        connect(m_sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame &frame) {
            m_frame = frame;
            update();
        });
    }
    return m_sink;
}

VideoFrameView::~VideoFrameView() = default;

QRect VideoFrameView::fittedRect(QSize frame, QSize area)
{
    if (frame.isEmpty() || area.isEmpty())
        return {};
    const QSize scaled = frame.scaled(area, Qt::KeepAspectRatio);
    return QRect(QPoint((area.width() - scaled.width()) / 2, (area.height() - scaled.height()) / 2), scaled);
}

void VideoFrameView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_frame.isValid())
        return;
    // The frame is converted once per paint; paints follow the frames, not the comments'
    // clock, because the strip above repaints only its own area.
    const QImage image = m_frame.toImage();
    if (image.isNull())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(fittedRect(image.size(), size()), image);
}

} // namespace replay
