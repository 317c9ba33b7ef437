#include "replay/gui/WmpPlayer.h"

#include "replay/gui/VideoFrameView.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <limits>

namespace replay {

namespace {

QString clockText(qint64 ms)
{
    const qint64 s = qMax<qint64>(0, ms / 1000);
    const QString mmss = QStringLiteral("%1:%2").arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
                             .arg(s % 60, 2, 10, QLatin1Char('0'));
    return s >= 3600 ? QString::number(s / 3600) + QLatin1Char(':') + mmss : mmss;
}

} // namespace

int wmpPlayState(QMediaPlayer::PlaybackState state, QMediaPlayer::MediaStatus status)
{
    switch (state) {
    case QMediaPlayer::PlayingState:
        return 3;
    case QMediaPlayer::PausedState:
        return 2;
    case QMediaPlayer::StoppedState:
        break;
    }
    switch (status) {
    case QMediaPlayer::LoadedMedia:
        return 10;
    case QMediaPlayer::EndOfMedia:
        return 8;
    case QMediaPlayer::LoadingMedia:
        return 9;
    case QMediaPlayer::StalledMedia:
    case QMediaPlayer::BufferingMedia:
    case QMediaPlayer::BufferedMedia:
        return 6;
    case QMediaPlayer::NoMedia:
    case QMediaPlayer::InvalidMedia:
        return 0;
    }
    return 1;
}

WmpPlayer::WmpPlayer(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_StyledBackground);
    m_video = new VideoFrameView(this);

    m_play = new QToolButton(this);
    m_play->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    m_play->setEnabled(false);
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setEnabled(false);
    m_time = new QLabel(QStringLiteral("00:00 / 00:00"), this);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(2, 0, 2, 0);
    bar->addWidget(m_play);
    bar->addWidget(m_slider, 1);
    bar->addWidget(m_time);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_video, 1);
    layout->addLayout(bar);

    connect(m_play, &QToolButton::clicked, this, [this] {
        if (player()->playbackState() == QMediaPlayer::PlayingState)
            m_player->pause();
        else
            m_player->play();
    });
    connect(m_slider, &QSlider::sliderPressed, this, [this] { m_sliderHeld = true; });
    connect(m_slider, &QSlider::sliderReleased, this, [this] {
        m_sliderHeld = false;
        seekTo(m_slider->value());
    });
    // A click on the groove (not a drag) moves the value without press/release of the handle.
    connect(m_slider, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove && !m_sliderHeld)
            seekTo(m_slider->sliderPosition());
    });
}

WmpPlayer::~WmpPlayer()
{
    // The notification must not reach a half-destroyed owner while the player stops, and the
    // player goes before the picture whose sink it feeds (made later, it would go after it).
    if (m_player) {
        disconnect(m_player, nullptr, this, nullptr);
        delete m_player;
    }
}

QMediaPlayer *WmpPlayer::player()
{
    if (m_player)
        return m_player;
    m_player = new QMediaPlayer(this);
    m_player->setVideoSink(m_video->videoSink());
    connect(m_player, &QMediaPlayer::durationChanged, this, &WmpPlayer::updateControls);
    connect(m_player, &QMediaPlayer::positionChanged, this, &WmpPlayer::updateControls);
    connect(m_player, &QMediaPlayer::playbackStateChanged, this, [this] {
        updateControls();
        emit playStateChange();
    });
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this] {
        updateControls();
        emit playStateChange();
    });
    return m_player;
}

int WmpPlayer::playState() const
{
    return m_player ? wmpPlayState(m_player->playbackState(), m_player->mediaStatus()) : 0;
}

double WmpPlayer::currentPosition() const
{
    return m_player ? double(m_player->position()) / 1000.0 : 0.0;
}

QString WmpPlayer::sourceAddress() const
{
    if (!m_player)
        return QString();
    const QUrl source = m_player->source();
    return source.isLocalFile() ? source.toLocalFile() : source.toString();
}

void WmpPlayer::setMediaAddress(const QString &address)
{
    const QUrl url = QFileInfo::exists(address) ? QUrl::fromLocalFile(QFileInfo(address).absoluteFilePath())
                                                : QUrl::fromUserInput(address);
    player()->setSource(url);
}

void WmpPlayer::seekTo(qint64 milliseconds)
{
    player()->setPosition(milliseconds);
    emit seeked(double(milliseconds) / 1000.0);
}

void WmpPlayer::updateControls()
{
    const bool open = !m_player->source().isEmpty() && m_player->mediaStatus() != QMediaPlayer::InvalidMedia
        && m_player->mediaStatus() != QMediaPlayer::NoMedia;
    m_play->setEnabled(open);
    m_play->setIcon(style()->standardIcon(m_player->playbackState() == QMediaPlayer::PlayingState
                                              ? QStyle::SP_MediaPause
                                              : QStyle::SP_MediaPlay));
    const qint64 duration = m_player->duration();
    m_slider->setEnabled(open && duration > 0 && m_player->isSeekable());
    m_slider->setRange(0, int(qMin<qint64>(duration, std::numeric_limits<int>::max())));
    if (!m_sliderHeld)
        m_slider->setValue(int(qMin<qint64>(m_player->position(), std::numeric_limits<int>::max())));
    m_time->setText(clockText(m_player->position()) + QStringLiteral(" / ") + clockText(duration));
}

} // namespace replay
