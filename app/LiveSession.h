#pragma once
// The live cycle of the current thread without a window: Start and Stop, the re-fetch countdown
// carried in TimerReget's tag, the presenter of the view mode and fetch mode, the end of the
// thread at 1001 and the follow at 1000 (the top thread of the board listed again, or the next
// part by title). It owns the cycle's state (the thread position, Text2, lngMsgCount, the image
// lists, the countdown tag) and TimerReget; the windows see it through LiveView.
//
// Re-entry: every fetch waits with window events running (ThreadChannel's waits, the page
// transfers), bounded by the network time-out. A Stop, a board opener, the thread-list window's
// Start or a tick of the follow's timer may run inside a wait, so the code after each wait
// re-checks what it relies on: the stop counter tells a wait that a Stop ran meanwhile, and a
// tick that comes while a re-fetch still waits is dropped.

#include "app/LiveView.h"
#include "app/NextThreadFollow.h"
#include "present/ImageLists.h"
#include "present/ThreadBookkeeping.h"
#include "present/ThreadPosition.h"

#include <QObject>
#include <QString>
#include <QTimer>

class NgSession;
class ResponseFilter;
class ThreadChannel;
struct LabelBuild;
struct MainSettings;
struct MarqueeBuild;

class LiveSession : public QObject
{
public:
    // channel, settings and view must outlive the session. ng (may be null) counts what the NG
    // rules hid since Start.
    LiveSession(ThreadChannel &channel, const MainSettings &settings, LiveView &view,
                NgSession *ng = nullptr, QObject *parent = nullptr);

    // TimerReget: interval 1000 ms, off until the first display of a thread. Its timeout runs
    // tick(); tests call tick() themselves and keep the timer out of reach.
    QTimer *timer() { return &m_timer; }
    void setRegetInterval(int milliseconds) { m_timer.setInterval(milliseconds); }
    // Enabling a running timer does not restart its interval.
    void setRegetTimerEnabled(bool on);
    bool isRegetTimerEnabled() const { return m_timer.isActive(); }
    // The countdown step as decimal text: "0" at start-up, "1" after every fetch and Stop.
    QString timerRegetTag() const { return m_timerRegetTag; }

    // Command1: Start while its caption is "開始", Stop otherwise.
    void command1Click();
    // One tick of TimerReget: the countdown, and on its twelfth step the re-fetch.
    void tick();
    // Runs the presenter of the view mode for the fetch mode on what was fetched last.
    void runPresenter();
    void createTextFromDatLabel();
    void createTextLabel();
    void createTextFromDatWebScroll();
    void createTextWebScroll();
    // The thread reached 1001: Command1 and Command2 off, both captions "開始", TimerReget off,
    // chkOutLineMode off, then what intNextWhen1000 asks.
    void endThreadCycle(EndOfThreadAction next);
    // The follow at 1000: the next part by title when that option is on, otherwise the board
    // listed again and its top thread started.
    void autoMoveNextSure();
    // A thread chosen by hand, a Stop or the closing ends a wait for the next part.
    void cancelFollow() { m_follow.cancel(); }
    NextThreadFollow &follow() { return m_follow; }

    // Both Start buttons; the caption is also what command1Click decides by.
    void setStartCaption(const QString &caption);
    void setStartEnabled(bool enabled) { m_view.setStartEnabled(enabled); }
    QString startCaption() const { return m_startCaption; }

    // The comment filter every view applies (null: none); not owned.
    void setResponseFilter(const ResponseFilter *filter) { m_filter = filter; }
    const ResponseFilter *responseFilter() const { return m_filter; }

    // State the presenters read and write (the mini window's builders too).
    ThreadPosition &position() { return m_position; }
    ImageLists &images() { return m_images; }
    qint32 &lngMsgCount() { return m_lngMsgCount; }
    QString &text2() { return m_text2; }

private:
    void start();
    void stop();
    bool fetchForStart();
    bool fetchForReget();
    template <typename Settings> Settings pipelineSettings() const;
    template <typename Build> void applyCaptions(const Build &build);
    void applyMarqueeBuild(const MarqueeBuild &build);
    void applyLabelBuild(const LabelBuild &build);
    void showAlreadyFull(bool disableCommand2);
    void followRow(qsizetype row);

    ThreadChannel &m_channel;
    const MainSettings &m_settings;
    LiveView &m_view;
    NgSession *m_ng = nullptr;
    const ResponseFilter *m_filter = nullptr;
    QTimer m_timer;
    NextThreadFollow m_follow;
    ThreadPosition m_position;
    ImageLists m_images;
    qint32 m_lngMsgCount = 0;
    QString m_text2;
    QString m_timerRegetTag = QStringLiteral("0");
    QString m_startCaption = QStringLiteral("開始");
    bool m_fetchWaiting = false; // a re-fetch tick is waiting for its reply
    quint64 m_stopCount = 0;     // Stops so far: a wait that sees it change drops its result
};
