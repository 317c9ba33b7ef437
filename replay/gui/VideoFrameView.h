#pragma once
// The picture of the media player: a plain widget that paints the latest video frame, scaled to
// fit and centred on black. Unlike a QVideoWidget (a native window that covers every sibling
// drawn above it), it is painted like any other widget, so the comment strip laid over it shows
// its comments on top of the video.

#include <QVideoFrame>
#include <QWidget>

class QVideoSink;

namespace replay {

class VideoFrameView : public QWidget
{
    Q_OBJECT
public:
    explicit VideoFrameView(QWidget *parent = nullptr);
    ~VideoFrameView() override;

    // Give this to QMediaPlayer::setVideoSink. Made on first use: a sink loads the platform's
    // media backend.
    QVideoSink *videoSink();
    // Where a frame of this size is drawn in a widget of that size (aspect ratio kept).
    static QRect fittedRect(QSize frame, QSize area);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QVideoSink *m_sink = nullptr;
    QVideoFrame m_frame;
};

} // namespace replay
