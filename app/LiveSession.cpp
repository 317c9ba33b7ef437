#include "app/LiveSession.h"

#include "app/LiveCycleRules.h"
#include "app/MainSettings.h"
#include "app/NgSession.h"
#include "core/ServicesConfig.h"
#include "core/TextStore.h"
#include "net/PageFetch.h"
#include "net/ThreadChannel.h"
#include "platform/ProgramFolder.h"
#include "present/LabelBatchBuilder.h"
#include "present/MarqueePageBuilder.h"

namespace {

const QString kStart = QStringLiteral("開始");
const QString kStop = QStringLiteral("停止");
const QString kTempHtml = QStringLiteral("tempHtml.txt");
// Every response of a read.cgi page starts with it.
const QString kDt = QStringLiteral("<dt>");

} // namespace

LiveSession::LiveSession(ThreadChannel &channel, const MainSettings &settings, LiveView &view,
                         NgSession *ng, QObject *parent)
    : QObject(parent)
    , m_channel(channel)
    , m_settings(settings)
    , m_view(view)
    , m_ng(ng)
    , m_follow(NextThreadFollow::Host{
          [this] { return m_view.reopenBoard(); },
          [this] { return m_view.listedThreads(); },
          [this](qsizetype row) { followRow(row); },
          [this](const QString &caption) { m_view.setCountdownCaption(caption); },
          // Waiting, Start is the Stop of the wait; after it, as the thread's end left it.
          [this](bool waiting) {
              setStartCaption(waiting ? kStop : kStart);
              setStartEnabled(waiting);
          }})
{
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &LiveSession::tick);
}

void LiveSession::setRegetTimerEnabled(bool on)
{
    if (!on)
        m_timer.stop();
    else if (!m_timer.isActive())
        m_timer.start();
}

void LiveSession::setStartCaption(const QString &caption)
{
    m_startCaption = caption;
    m_view.setStartCaption(caption);
}

// --- Start and Stop ------------------------------------------------------------------------------

void LiveSession::command1Click()
{
    if (m_startCaption != kStart)
        stop();
    else
        start();
}

void LiveSession::start()
{
    // Both Start buttons stay disabled while the first fetch waits.
    m_position.blnIsFirst = true;
    if (m_ng)
        m_ng->resetHiddenCount();
    m_view.showNgCount();
    setStartCaption(kStop);
    setStartEnabled(false);
    const quint64 stops = m_stopCount;
    const bool arrived = fetchForStart();
    // Another window's Start (the thread list) is a Stop while this one waits: it has reset
    // everything, and what arrived is not shown.
    if (m_stopCount != stops)
        return;
    if (!arrived) {
        // Nothing arrived: back to "開始" with the buttons usable, the record as it was.
        setStartCaption(kStart);
        setStartEnabled(true);
        m_channel.intDatArrived = 0;
        return;
    }

    setStartEnabled(true);
    m_view.setCommand2Enabled(true);
    m_channel.intDatArrived = 0;

    if (!m_settings.blnIsDatMode) {
        const QString path = platform::programPath(kTempHtml);
        const QString page = readFileLine(path, 0);
        if (isOverloadedPage(page)) {
            m_view.showMessage({LiveMessage::Kind::Overloaded, FetchOccasion::Start, {}});
            return;
        }
        // Not a thread page (an empty body, the notice page a redirect led to, noise): no
        // response to start from, so the start fails as if nothing had arrived.
        if (!page.contains(kDt)) {
            removeFile(path);
            setStartCaption(kStart);
            m_view.setCommand2Enabled(false);
            m_view.showMessage({LiveMessage::Kind::NotAThreadPage, FetchOccasion::Start, {}});
            return;
        }
        m_text2 = page;
        removeFile(path);
    }
    m_view.setList5Enabled(false);
    m_view.setCountdownCaption(QString());
    runPresenter();
    m_view.setOutLineModeBoxEnabled(false);
}

bool LiveSession::fetchForStart()
{
    FetchResult r;
    if (m_settings.blnIsDatMode) {
        const ThreadAddress a = m_channel.address();
        r = m_channel.fetchThreadAndWait(a.strSvr, a.strBan, a.strThreNo);
    } else {
        m_view.setBusy(true);
        r = downloadPage(m_channel.label3Caption(), kTempHtml, services().timeoutSeconds);
        m_view.setBusy(false);
    }
    if (!r.ok())
        m_view.showMessage({LiveMessage::Kind::FetchFailed, FetchOccasion::Start, r});
    return r.ok();
}

void LiveSession::stop()
{
    m_follow.cancel();
    ++m_stopCount; // a fetch still waiting drops what it receives
    m_view.clearMarquee();
    m_timer.stop();
    m_view.setList5Enabled(true);
    setStartCaption(kStart);
    m_view.setCommand2Enabled(false);
    m_channel.intDatArrived = 0;
    m_view.setCountdownCaption(QString());
    m_timerRegetTag = QStringLiteral("1");
    m_view.setOutLineModeBoxEnabled(true);
    m_channel.resetRecordAfterStop();
}

// --- The countdown -------------------------------------------------------------------------------

void LiveSession::tick()
{
    // One fetch at a time: a tick while the previous one still waits is dropped.
    if (m_fetchWaiting)
        return;
    const CountdownTick step = countdownTick(m_timerRegetTag);
    if (!step.fetch) {
        m_timerRegetTag = step.nextTag;
        m_view.setCountdownCaption(step.caption);
        return;
    }

    m_view.setCountdownCaption(fetchingCaption());
    const quint64 stops = m_stopCount;
    m_fetchWaiting = true;
    const bool arrived = fetchForReget();
    m_fetchWaiting = false;
    // Stopped while waiting: the Stop has reset everything; what arrived is not shown.
    if (m_stopCount != stops)
        return;
    if (arrived) {
        m_view.setCountdownCaption(showingCaption());
        runPresenter();
    }
    // A failed fetch keeps the page and tries again at the end of the next countdown. Whatever
    // the fetch led to (a thread that ended, with or without a follow, included), the captions
    // read "再取得まで：12" afterwards.
    m_timerRegetTag = QStringLiteral("1");
    m_view.setCountdownCaption(countdownCaption(kRegetSteps));
}

bool LiveSession::fetchForReget()
{
    if (m_settings.blnIsDatMode) {
        const ThreadAddress a = m_channel.address();
        const FetchResult r = m_channel.fetchThreadAndWait(a.strSvr, a.strBan, a.strThreNo);
        m_channel.intDatArrived = 0;
        return r.ok();
    }
    const FetchResult page = fetchPage(m_channel.label3Caption(), services().timeoutSeconds);
    // A page without a single response would only replace the text the next one is read from.
    if (!page.ok() || !page.text.contains(kDt))
        return false;
    m_text2 = page.text;
    removeFile(platform::programPath(kTempHtml));
    return true;
}

// --- Presenters ----------------------------------------------------------------------------------

void LiveSession::runPresenter()
{
    const bool dat = m_settings.blnIsDatMode;
    switch (m_settings.intViewMode) {
    case 1:
        dat ? createTextFromDatLabel() : createTextLabel();
        if (dat)
            m_view.refreshThreadView();
        break;
    case 2:
        dat ? createTextFromDatWebScroll() : createTextWebScroll();
        if (dat)
            m_view.refreshThreadView();
        break;
    default:
        m_view.runMiniPresenter(dat);
        break;
    }
    m_view.showNgCount();
}

template <typename Settings>
Settings LiveSession::pipelineSettings() const
{
    Settings s;
    s.label3 = m_channel.label3Caption();
    s.strGetSintyakuFooter = m_channel.address().strGetSintyakuFooter;
    s.comboMax = m_view.comboMaxText();
    s.comboMaxRow = m_view.comboMaxRowText();
    s.intNextWhen1000 = m_settings.intNextWhen1000;
    s.filter = m_filter;
    return s;
}

template <typename Build>
void LiveSession::applyCaptions(const Build &b)
{
    if (b.label3)
        m_view.setLabel3Caption(*b.label3);
    if (b.label1)
        m_view.setLabel1Caption(*b.label1);
}

void LiveSession::createTextFromDatWebScroll()
{
    auto s = pipelineSettings<MarqueeSettings>();
    s.intScroll = m_settings.intScroll;
    applyMarqueeBuild(::createTextFromDatWebScroll(m_position, m_channel.record(), s, m_images, m_lngMsgCount));
}

void LiveSession::createTextWebScroll()
{
    auto s = pipelineSettings<MarqueeSettings>();
    s.intScroll = m_settings.intScroll;
    applyMarqueeBuild(::createTextWebScroll(m_position, m_text2, s, m_images, m_lngMsgCount));
}

void LiveSession::applyMarqueeBuild(const MarqueeBuild &b)
{
    applyCaptions(b);
    if (b.outcome == ViewBuild::Outcome::FirstCall) {
        if (b.alreadyFull)
            showAlreadyFull(b.disableCommand2);
        if (b.startCountdown) {
            setRegetTimerEnabled(true);
            m_view.setCommand2Enabled(true);
        }
        return;
    }
    if (b.outcome == ViewBuild::Outcome::Shown) {
        // A page that cannot be written leaves the shown page; the end of the thread follows all
        // the same.
        const QString path = platform::programPath(marqueePageFileName());
        if (writeFileText(b.page, path, Durability::None)) {
            m_view.showMarqueeRows(path, b.rows);
            if (b.callSetImage)
                m_view.setImage(m_images);
        }
    }
    if (b.threadEnded)
        endThreadCycle(b.next);
}

void LiveSession::createTextFromDatLabel()
{
    auto s = pipelineSettings<LabelSettings>();
    const RgbColor &c = m_settings.varFontColor;
    s.varFontColor = quint32(c.red) << 16 | quint32(c.green) << 8 | quint32(c.blue);
    applyLabelBuild(::createTextFromDatLabel(m_position, m_channel.record(), s, m_images));
}

void LiveSession::createTextLabel()
{
    auto s = pipelineSettings<LabelSettings>();
    const RgbColor &c = m_settings.varFontColor;
    s.varFontColor = quint32(c.red) << 16 | quint32(c.green) << 8 | quint32(c.blue);
    applyLabelBuild(::createTextLabel(m_position, m_text2, s, m_images));
}

void LiveSession::applyLabelBuild(const LabelBuild &b)
{
    applyCaptions(b);
    if (b.outcome == ViewBuild::Outcome::FirstCall) {
        if (b.alreadyFull)
            showAlreadyFull(true);
        if (b.startCountdown)
            setRegetTimerEnabled(true);
        return;
    }
    if (b.outcome == ViewBuild::Outcome::Shown) {
        m_view.setLabelLook(m_settings.intScroll, m_settings.blnIsOutLineModeOn);
        bool all = true;
        if (m_settings.options.spreadBursts)
            m_view.spreadLabelBatch(indexLabelBatch(b.comments, m_lngMsgCount),
                                    qint64(m_timer.interval()) * kRegetSteps);
        else
            all = showLabelBatch(b.comments, m_lngMsgCount,
                                 [this](const QString &text, quint32 colour, qint32 index, int k) {
                                     return m_view.showLiveComment(text, colour, index, k);
                                 });
        if (all && !b.cutShort && b.callSetImage)
            m_view.setImage(m_images);
    }
    if (b.threadEnded)
        endThreadCycle(b.next);
}

void LiveSession::showAlreadyFull(bool disableCommand2)
{
    m_view.showMessage({LiveMessage::Kind::AlreadyFull, FetchOccasion::Start, {}});
    m_view.setCommand1Enabled(false);
    if (disableCommand2)
        m_view.setCommand2Enabled(false);
}

// --- The end of the thread and the next one ------------------------------------------------------

void LiveSession::endThreadCycle(EndOfThreadAction next)
{
    m_view.setCommand1Enabled(false);
    m_view.setCommand2Enabled(false);
    setStartCaption(kStart);
    setRegetTimerEnabled(false);
    m_view.setOutLineModeBoxEnabled(false);
    switch (next) {
    case EndOfThreadAction::AutoMoveNextSure:
        autoMoveNextSure();
        break;
    case EndOfThreadAction::ShowSureItiran:
        m_view.showThreadList();
        break;
    case EndOfThreadAction::Nothing:
        break;
    }
}

void LiveSession::autoMoveNextSure()
{
    if (m_settings.options.nextByTitle) {
        ThreadSummary finished = summariseThread(m_view.currentThreadEntry(), QString());
        finished.key = m_channel.address().strThreNo.toLongLong();
        m_follow.begin(finished);
        return;
    }
    // The board listed again (window events run meanwhile). When it could not be listed there is
    // no top thread to follow, and starting the finished thread once more would only repeat its
    // end.
    if (!m_view.reopenBoard() || m_view.listedThreads().isEmpty())
        return;
    followRow(0);
}

void LiveSession::followRow(qsizetype row)
{
    m_view.makeListedThreadCurrent(int(row));
    command1Click();
}
