// formMain: Start/Stop, the re-fetch countdown, the presenters by view mode and the follow to
// the next thread.
//
// Every fetch waits with window events running (ThreadChannel / platform::Transfer), bounded by
// the network time-out. Re-entry happens there: a Stop, a board opener or another window's
// call may run inside a wait, so the code after each wait re-checks what it relies on.

#include "app/gui/formMain.h"

#include "app/FetchMessages.h"
#include "app/LiveCycleRules.h"
#include "app/NextThreadFollow.h"
#include "app/gui/SettingsDialogs.h"
#include "app/gui/formScrollSetting.h"
#include "core/ServicesConfig.h"
#include "core/TextStore.h"
#include "net/PageFetch.h"
#include "net/ThreadChannel.h"
#include "platform/MessageService.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/DesktopServices.h"
#include "present/LabelBatchBuilder.h"
#include "present/MarqueePageBuilder.h"
#include "present/gui/LabelStrip.h"
#include "present/gui/MarqueeSurface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace {

const QString kTempHtml = QStringLiteral("tempHtml.txt");
// Every response of a read.cgi page starts with it.
const QString kDt = QStringLiteral("<dt>");

} // namespace

// --- Both windows' controls ------------------------------------------------------------------

void formMain::setStartCaption(const QString &caption)
{
    Command1->setText(caption);
    if (m_hooks.mini.setStartCaption)
        m_hooks.mini.setStartCaption(caption);
}

void formMain::setStartEnabled(bool enabled)
{
    Command1->setEnabled(enabled);
    if (m_hooks.mini.setStartEnabled)
        m_hooks.mini.setStartEnabled(enabled);
}

void formMain::setCountdownCaption(const QString &caption)
{
    lblCountDown->setText(caption);
    if (m_hooks.mini.setCountdownCaption)
        m_hooks.mini.setCountdownCaption(caption);
}

void formMain::setOutLineModeBoxEnabled(bool enabled)
{
    m_dialogs->settingsDialog()->chkOutLineMode->setEnabled(enabled);
}

QString formMain::Label3Caption() const { return m_thread->label3Caption(); }

void formMain::setLabel3Caption(const QString &caption)
{
    m_thread->setLabel3Caption(caption);
    Label3->setText(caption);
}

void formMain::setLabel1Caption(const QString &caption) { Label1->setText(caption); }

QString formMain::comboMaxText() const { return m_dialogs->settingsDialog()->comboMax->currentText(); }

QString formMain::comboMaxRowText() const
{
    return m_dialogs->settingsDialog()->comboMaxRow->currentText();
}

void formMain::setRegetTimerEnabled(bool on)
{
    // Enabling a running timer does not restart its interval.
    if (!on)
        TimerReget->stop();
    else if (!TimerReget->isActive())
        TimerReget->start();
}

bool formMain::isRegetTimerEnabled() const { return TimerReget->isActive(); }

void formMain::setRegetInterval(int milliseconds) { TimerReget->setInterval(milliseconds); }

// --- Start and Stop ------------------------------------------------------------------------------

void formMain::command1Click() { Command1_Click(); }

void formMain::Command1_Click()
{
    if (Command1->text() != QStringLiteral("開始")) {
        stopCycle();
        return;
    }

    // Start. Both Start buttons stay disabled while the first fetch waits.
    m_position.blnIsFirst = true;
    m_ng.resetHiddenCount();
    showNgCount();
    setStartCaption(QStringLiteral("停止"));
    setStartEnabled(false);
    if (!fetchForStart()) {
        // Nothing arrived: back to "開始" with the buttons usable, the record as it was.
        setStartCaption(QStringLiteral("開始"));
        setStartEnabled(true);
        m_thread->intDatArrived = 0;
        return;
    }

    setStartEnabled(true);
    Command2->setEnabled(true);
    m_thread->intDatArrived = 0;

    if (!m_settings.blnIsDatMode) {
        const QString path = platform::programPath(kTempHtml);
        const QString page = readFileLine(path, 0);
        if (isOverloadedPage(page)) {
            platform::showMessage(overloadedMessage(), this);
            return;
        }
        // Not a thread page (an empty body, the notice page a redirect led to, noise): no
        // response to start from, so the start fails as if nothing had arrived.
        if (!page.contains(kDt)) {
            removeFile(path);
            setStartCaption(QStringLiteral("開始"));
            Command2->setEnabled(false);
            platform::showMessage(startFailedMessage(), this);
            return;
        }
        m_text2 = page;
        removeFile(path);
    }
    List5->setEnabled(false);
    setCountdownCaption(QString());
    runPresenter();
    setOutLineModeBoxEnabled(false);
}

bool formMain::fetchForStart()
{
    FetchResult r;
    if (m_settings.blnIsDatMode) {
        const ThreadAddress a = m_thread->address();
        r = m_thread->fetchThreadAndWait(a.strSvr, a.strBan, a.strThreNo);
    } else {
        // The busy pointer while the page downloads (window events run meanwhile).
        platform::WaitCursor busy;
        r = downloadPage(Label3Caption(), kTempHtml, services().timeoutSeconds);
    }
    const QString message = fetchFailureMessage(FetchOccasion::Start, r);
    if (!message.isEmpty())
        platform::showMessage(message, this);
    return r.ok();
}

void formMain::stopCycle()
{
    m_nextFollow->cancel();
    ++m_stopCount; // a re-fetch still waiting drops what it receives
    WebScroll->navigate(QStringLiteral("about:blank"));
    TimerReget->stop();
    List5->setEnabled(true);
    setStartCaption(QStringLiteral("開始"));
    Command2->setEnabled(false);
    m_thread->intDatArrived = 0;
    setCountdownCaption(QString());
    m_timerRegetTag = QStringLiteral("1");
    setOutLineModeBoxEnabled(true);
    m_thread->resetRecordAfterStop();
}

// --- The countdown ---------------------------------------------------------------------------------

void formMain::TimerReget_Timer()
{
    // One fetch at a time: a tick while the previous one still waits is dropped.
    if (m_fetchWaiting)
        return;
    const CountdownTick tick = countdownTick(m_timerRegetTag);
    if (!tick.fetch) {
        m_timerRegetTag = tick.nextTag;
        setCountdownCaption(tick.caption);
        return;
    }

    setCountdownCaption(fetchingCaption());
    const quint64 stops = m_stopCount;
    m_fetchWaiting = true;
    const bool arrived = fetchForReget();
    m_fetchWaiting = false;
    // Stopped while waiting: the Stop has reset everything; what arrived is not shown.
    if (m_stopCount != stops)
        return;
    if (arrived) {
        setCountdownCaption(showingCaption());
        runPresenter();
    }
    // A failed fetch keeps the page and tries again at the end of the next countdown. Whatever
    // the fetch led to (a thread that ended, with or without a follow, included), the captions
    // read "再取得まで：12" afterwards, as they always have.
    m_timerRegetTag = QStringLiteral("1");
    setCountdownCaption(countdownCaption(kRegetSteps));
}

bool formMain::fetchForReget()
{
    if (m_settings.blnIsDatMode) {
        const ThreadAddress a = m_thread->address();
        const FetchResult r = m_thread->fetchThreadAndWait(a.strSvr, a.strBan, a.strThreNo);
        m_thread->intDatArrived = 0;
        return r.ok();
    }
    const FetchResult page = fetchPage(Label3Caption(), services().timeoutSeconds);
    // A page without a single response would only replace the text the next one is read from.
    if (!page.ok() || !page.text.contains(kDt))
        return false;
    m_text2 = page.text;
    removeFile(platform::programPath(kTempHtml));
    return true;
}

// --- Presenters -----------------------------------------------------------------------------

void formMain::showNgCount()
{
    const QString caption = ngCountCaption(m_ng.matcher().ruleCount(), m_ng.hiddenCount());
    lblNgCount->setText(caption);
    lblNgCount->setVisible(!caption.isEmpty());
}

void formMain::runPresenter()
{
    const bool dat = m_settings.blnIsDatMode;
    switch (m_settings.intViewMode) {
    case 1:
    case 2:
        if (m_settings.intViewMode == 1) {
            if (dat)
                createTextFromDatLabel();
            else
                createTextLabel();
        } else {
            if (dat)
                createTextFromDatWebScroll();
            else
                createTextWebScroll();
        }
        if (dat && m_hooks.threadView.isVisible && m_hooks.threadView.setHtmlTextFirst
            && m_hooks.threadView.isVisible())
            m_hooks.threadView.setHtmlTextFirst();
        break;
    default:
        if (dat && m_hooks.mini.createTextFromDatWebScrollMini)
            m_hooks.mini.createTextFromDatWebScrollMini();
        else if (!dat && m_hooks.mini.createTextWebScrollMini)
            m_hooks.mini.createTextWebScrollMini();
        break;
    }
    showNgCount();
}

namespace {

template <typename Build>
void applyCaptions(formMain &w, const Build &b)
{
    if (b.label3)
        w.setLabel3Caption(*b.label3);
    if (b.label1)
        w.setLabel1Caption(*b.label1);
}

} // namespace

void formMain::createTextFromDatWebScroll()
{
    MarqueeSettings s;
    s.label3 = Label3Caption();
    s.strGetSintyakuFooter = m_thread->address().strGetSintyakuFooter;
    s.comboMax = comboMaxText();
    s.comboMaxRow = comboMaxRowText();
    s.intScroll = m_settings.intScroll;
    s.intNextWhen1000 = m_settings.intNextWhen1000;
    s.filter = m_filter;
    const MarqueeBuild b = ::createTextFromDatWebScroll(m_position, record(), s, m_images, m_lngMsgCount);
    applyMarqueeBuild(b);
}

void formMain::createTextWebScroll()
{
    MarqueeSettings s;
    s.label3 = Label3Caption();
    s.strGetSintyakuFooter = m_thread->address().strGetSintyakuFooter;
    s.comboMax = comboMaxText();
    s.comboMaxRow = comboMaxRowText();
    s.intScroll = m_settings.intScroll;
    s.intNextWhen1000 = m_settings.intNextWhen1000;
    s.filter = m_filter;
    const MarqueeBuild b = ::createTextWebScroll(m_position, m_text2, s, m_images, m_lngMsgCount);
    applyMarqueeBuild(b);
}

void formMain::applyMarqueeBuild(const MarqueeBuild &b)
{
    applyCaptions(*this, b);
    if (b.outcome == ViewBuild::Outcome::FirstCall) {
        if (b.alreadyFull)
            showAlreadyFull(b.disableCommand2, false);
        if (b.startCountdown) {
            setRegetTimerEnabled(true);
            Command2->setEnabled(true);
        }
        return;
    }
    if (b.outcome == ViewBuild::Outcome::Shown) {
        // A page that cannot be written leaves the shown page; the end of the thread follows all
        // the same.
        const QString path = platform::programPath(marqueePageFileName());
        if (writeFileText(b.page, path, Durability::None)) {
            WebScroll->showRows(path, b.rows);
            if (b.callSetImage)
                callSetImage();
        }
    }
    if (b.threadEnded)
        endThreadCycle(b.next, threadListTopLeft());
}

LabelSettings formMain::labelSettings() const
{
    LabelSettings s;
    s.label3 = Label3Caption();
    s.strGetSintyakuFooter = m_thread->address().strGetSintyakuFooter;
    s.comboMax = comboMaxText();
    s.comboMaxRow = comboMaxRowText();
    s.intNextWhen1000 = m_settings.intNextWhen1000;
    s.filter = m_filter;
    const RgbColor &c = m_settings.varFontColor;
    s.varFontColor = quint32(c.red) << 16 | quint32(c.green) << 8 | quint32(c.blue);
    return s;
}

void formMain::createTextFromDatLabel()
{
    applyLabelBuild(::createTextFromDatLabel(m_position, record(), labelSettings(), m_images));
}

void formMain::createTextLabel()
{
    applyLabelBuild(::createTextLabel(m_position, m_text2, labelSettings(), m_images));
}

void formMain::applyLabelBuild(const LabelBuild &b)
{
    applyCaptions(*this, b);
    if (b.outcome == ViewBuild::Outcome::FirstCall) {
        if (b.alreadyFull)
            showAlreadyFull(true, false);
        if (b.startCountdown)
            setRegetTimerEnabled(true);
        return;
    }
    if (b.outcome == ViewBuild::Outcome::Shown) {
        lblMsgStrip->setScroll(m_settings.intScroll);
        lblMsgStrip->setOutlineMode(m_settings.blnIsOutLineModeOn);
        const bool all = m_settings.options.spreadBursts
            ? (lblMsgStrip->spreadBatch(indexLabelBatch(b.comments, m_lngMsgCount),
                                        qint64(TimerReget->interval()) * kRegetSteps),
               true)
            : showLabelBatch(b.comments, m_lngMsgCount,
                             [this](const QString &text, quint32 colour, qint32 index, int k) {
                                 return lblMsgStrip->showLiveComment(text, QColor::fromRgb(colour), index, k);
                             });
        if (all && !b.cutShort && b.callSetImage)
            callSetImage();
    }
    if (b.threadEnded)
        endThreadCycle(b.next, threadListTopLeft());
}

void formMain::showAlreadyFull(bool disableCommand2, bool disableMiniStart)
{
    platform::showMessage(alreadyFullMessage(), this);
    Command1->setEnabled(false);
    if (disableMiniStart && m_hooks.mini.setStartEnabled)
        m_hooks.mini.setStartEnabled(false);
    if (disableCommand2)
        Command2->setEnabled(false);
}

void formMain::callSetImage()
{
    if (m_hooks.imageViewer.setImage)
        m_hooks.imageViewer.setImage(m_images.varImageResNo, m_images.varImageUrl, 0);
}

QPoint formMain::threadListTopLeft() const
{
    return QPoint(frameGeometry().left(), Frame2->mapToGlobal(QPoint(0, 0)).y());
}

void formMain::endThreadCycle(EndOfThreadAction next, QPoint threadListTopLeft, bool disableMiniStart)
{
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    if (disableMiniStart && m_hooks.mini.setStartEnabled)
        m_hooks.mini.setStartEnabled(false);
    setStartCaption(QStringLiteral("開始"));
    setRegetTimerEnabled(false);
    setOutLineModeBoxEnabled(false);
    switch (next) {
    case EndOfThreadAction::AutoMoveNextSure:
        autoMoveNextSure();
        break;
    case EndOfThreadAction::ShowSureItiran:
        if (m_hooks.threadList.showAt)
            m_hooks.threadList.showAt(threadListTopLeft);
        break;
    case EndOfThreadAction::Nothing:
        break;
    }
}

// --- The next thread ---------------------------------------------------------------------------

void formMain::autoMoveNextSure()
{
    if (m_settings.options.nextByTitle) {
        // The caption is "Kestrelon " and the List5 entry the thread was chosen by.
        ThreadSummary finished = summariseThread(lblCaptionText().section(QLatin1Char(' '), 1), QString());
        finished.key = m_thread->address().strThreNo.toLongLong();
        m_nextFollow->begin(finished);
        return;
    }
    switch (m_intGetSureFrom) {
    case 1:
        List3_DblClick();
        break;
    case 2:
        TreeViewIta_DblClick();
        break;
    case 3:
        comboFavorite_Click();
        break;
    default:
        return;
    }
    // The board could not be listed again: there is no top thread to follow, and starting the
    // finished thread once more would only repeat its end.
    if (List5->count() == 0)
        return;
    List5->setCurrentRow(0);
    List5_DblClick();
    Command1_Click();
}
