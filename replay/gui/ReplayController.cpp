#include "replay/gui/ReplayController.h"

#include "present/gui/LabelStrip.h"
#include "replay/gui/ReplayKeys.h"
#include "replay/gui/WmpPlayer.h"
#include "replay/gui/formSelectDatTime.h"
#include "replay/gui/frameWmpControl.h"

namespace replay {

ReplayController::ReplayController(present::LabelStrip &strip, QObject *parent)
    : QObject(parent)
    , m_strip(&strip)
    , m_host(strip)
    , m_display(std::make_unique<WmpDisplay>(m_log, m_host))
{
    m_panel = new frameWmpControl(m_log);
    m_panel->setObjectName(QStringLiteral("frameWmpControl"));
    m_panel->hide();
    m_video = new WmpPlayer;
    m_video->setObjectName(QStringLiteral("WMP"));
    m_video->hide();

    connect(m_panel, &frameWmpControl::videoChosen, this, [this](const QString &path) {
        if (m_video)
            m_video->setMediaAddress(path);
    });
    connect(m_video, &WmpPlayer::playStateChange, this, &ReplayController::WMP_PlayStateChange);
    // A seek starts the lookup again at the new position; a new load, at whatever plays next.
    connect(m_video, &WmpPlayer::seeked, this, [this](double position) {
        const int offset = m_panel ? m_panel->offsetSeconds() : 0;
        if (const std::optional<qint64> second = wmpSecondOf(position + offset))
            m_display->lookup().seekTo(*second);
    });
    connect(m_panel, &frameWmpControl::pastLogLoaded, this, [this] { m_display->lookup().restart(); });
    m_keys = new ReplayKeys([this] { return m_strip ? m_strip->window() : nullptr; },
                            [this] { return m_replayMode; },
                            [this](int delta) {
                                if (m_panel)
                                    m_panel->stepOffset(delta);
                            },
                            this);

    // TimerWmp runs for the whole run; it acts only while the player plays.
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &ReplayController::TimerWmp_Timer);
    m_timer.start();
}

ReplayController::~ReplayController()
{
    m_timer.stop();
    delete m_keys;   // its callbacks reach into this controller
    m_keys = nullptr;
    // The panel and its dialog read m_log: they go first, wherever the main window put them.
    delete m_panel.data();
    delete m_video.data();
}

void ReplayController::setReplayInterval(int milliseconds)
{
    if (milliseconds <= 0) {
        m_timer.stop();
        return;
    }
    m_timer.start(milliseconds);
    // A tick catches up on the seconds of its interval and a little lateness.
    m_display->lookup().setCatchUpSeconds(milliseconds / 1000 + 2);
}

void ReplayController::setReplayMode(bool on)
{
    m_replayMode = on;
    if (m_video)
        m_video->setVisible(on);
    if (m_panel)
        m_panel->setVisible(on);
    emit replayModeChanged(on);
}

void ReplayController::closeStartTimeDialog()
{
    if (m_panel && m_panel->startTimeDialog())
        m_panel->startTimeDialog()->close();
}

void ReplayController::TimerWmp_Timer()
{
    WmpPlayback *playback = m_playback ? m_playback : static_cast<WmpPlayback *>(m_video.data());
    if (!playback || !m_strip)
        return;
    const int state = playback->playState();
    if (state != kWmpPlaying)
        return;
    // Labels already on the strip move up to now first, so the placement sees where they are.
    m_strip->syncClock();
    WmpSettings settings = m_settings ? m_settings() : WmpSettings();
    if (m_panel)
        settings.offsetSeconds = m_panel->offsetSeconds();
    const WmpTickResult result = m_display->tick(state, playback->currentPosition(), settings);
    if (result.lblResNo && m_panel)
        m_panel->setResNo(*result.lblResNo);
    if (result.callSetImage && m_imageSink)
        m_imageSink(m_display->images().varImageResNo, m_display->images().varImageUrl);
}

void ReplayController::WMP_PlayStateChange()
{
    if (!m_video || !m_panel)
        return;
    if (const std::optional<QString> caption = wmpMovieNameCaption(m_video->playState(), m_video->sourceAddress()))
        m_panel->setMovieName(*caption);
}

} // namespace replay
