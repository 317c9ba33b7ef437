#pragma once
// Replay as the main window adopts it: the past-log lists, the controls panel frameWmpControl,
// the media player WMP, the tick TimerWmp and the display that turns the player's position into
// comments on the label strip.
//
// The main window creates one, after its label strip, and then:
//   - puts panel() into its side panel slot and video() into the strip's video rectangle;
//   - setSettingsSource(...) with ComboMaxWmp, intMaxRow, blnIsOutLineModeOn, intScroll and
//     varFontColor as they are at each tick;
//   - setImageSink(...) with the image viewer's setImage(resNo, urls, false);
//   - on menuWmp: setReplayMode(!isReplayMode()), captions from replaytext::menuWmp, and its own
//     controls hidden or shown (replayModeChanged tells the same);
//   - on the replay interval setting: setReplayInterval(ms); on closing: closeStartTimeDialog().
// In replay mode the arrow keys in the strip's window move the panel's offset (ReplayKeys).

#include "replay/PastLog.h"
#include "replay/WmpDisplay.h"
#include "replay/gui/StripWmpHost.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

class frameWmpControl;

namespace present {
class LabelStrip;
}

namespace replay {

class ReplayKeys;
class WmpPlayback;
class WmpPlayer;

class ReplayController : public QObject
{
    Q_OBJECT
public:
    // strip must outlive the controller's ticks; the panel and the player are created without a
    // parent for the main window to place, and are deleted with the controller.
    explicit ReplayController(present::LabelStrip &strip, QObject *parent = nullptr);
    ~ReplayController() override;

    frameWmpControl *panel() const { return m_panel; }
    WmpPlayer *video() const { return m_video; }   // WMP
    PastLog &log() { return m_log; }
    WmpDisplay &display() { return *m_display; }
    QTimer &TimerWmp() { return m_timer; }

    void setSettingsSource(std::function<WmpSettings()> source) { m_settings = std::move(source); }
    using ImageSink = std::function<void(const QStringList &resNo, const QStringList &urls)>;
    void setImageSink(ImageSink sink) { m_imageSink = std::move(sink); }
    // What the tick reads instead of the player (tests); nullptr returns to the player.
    void setPlayback(WmpPlayback *playback) { m_playback = playback; }

    // TimerWmp's interval (intRegetWmp x 1000); 0 or less stops it.
    void setReplayInterval(int milliseconds);

    // Replay mode shows the player and the panel; leaving it hides them. Nothing else changes:
    // the video and the loaded logs stay as they are.
    bool isReplayMode() const { return m_replayMode; }
    void setReplayMode(bool on);
    void closeStartTimeDialog();

    // One tick of TimerWmp (the timer calls it; tests call it directly).
    void TimerWmp_Timer();
    // The player notification: shows the opened medium's address in lblMovieName.
    void WMP_PlayStateChange();

signals:
    void replayModeChanged(bool replayMode);

private:
    QPointer<present::LabelStrip> m_strip;
    PastLog m_log;
    StripWmpHost m_host;
    std::unique_ptr<WmpDisplay> m_display;
    QPointer<frameWmpControl> m_panel;
    QPointer<WmpPlayer> m_video;
    WmpPlayback *m_playback = nullptr;
    QTimer m_timer;
    std::function<WmpSettings()> m_settings;
    ImageSink m_imageSink;
    bool m_replayMode = false;
    ReplayKeys *m_keys = nullptr;
};

} // namespace replay
