#pragma once
// The media player WMP: a QMediaPlayer painting into a VideoFrameView (comments can be drawn over
// it, which a QVideoWidget's native window would hide), with a small control bar
// (play/pause, position slider, time) since playing, pausing and seeking are the player's own
// business. The main window places this widget in the comment strip.
//
// The QMediaPlayer and its video sink are made when first needed (a medium opened, or player()
// asked for): making either loads the platform's media backend, GStreamer and its plugins,
// several megabytes a session that never replays has no use for. Until then nothing is open.

#include <QMediaPlayer>
#include <QString>
#include <QWidget>

class QLabel;
class QSlider;
class QToolButton;

namespace replay {

class VideoFrameView;

// The play state numbering the replay logic uses: 3 playing, 10 ready (a medium is open and
// stopped), 2 paused, 1 stopped, 8 ended, 9 opening, 6 buffering, 0 nothing open.
int wmpPlayState(QMediaPlayer::PlaybackState state, QMediaPlayer::MediaStatus status);

// What the replay tick reads of the player; tests script it.
class WmpPlayback
{
public:
    virtual ~WmpPlayback() = default;
    virtual int playState() const = 0;
    // Current position in seconds.
    virtual double currentPosition() const = 0;
};

class WmpPlayer : public QWidget, public WmpPlayback
{
    Q_OBJECT
public:
    explicit WmpPlayer(QWidget *parent = nullptr);
    ~WmpPlayer() override;

    QMediaPlayer *player();
    VideoFrameView *videoWidget() const { return m_video; }
    QToolButton *playButton() const { return m_play; }

    int playState() const override;
    double currentPosition() const override;
    // The open medium's address: a local file as its path, anything else as its URL text.
    QString sourceAddress() const;
    // Opens a medium: a local path or an address.
    void setMediaAddress(const QString &address);

signals:
    // The player notification: its state or its medium's status changed.
    void playStateChange();
    // The user moved the position (seconds) with the position slider.
    void seeked(double positionSeconds);

private:
    void updateControls();
    void seekTo(qint64 milliseconds);

    QMediaPlayer *m_player = nullptr;
    VideoFrameView *m_video = nullptr;
    QToolButton *m_play = nullptr;
    QSlider *m_slider = nullptr;
    QLabel *m_time = nullptr;
    bool m_sliderHeld = false;
};

} // namespace replay
