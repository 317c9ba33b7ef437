#include "app/gui/MainLiveView.h"

#include "app/gui/SettingsDialogs.h"
#include "app/gui/formMain.h"
#include "app/gui/formScrollSetting.h"
#include "net/ThreadChannel.h"
#include "platform/MessageService.h"
#include "platform/gui/DesktopServices.h"
#include "present/gui/LabelStrip.h"
#include "present/gui/MarqueeSurface.h"
#include "platform/gui/ModelListView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

void MainLiveView::setStartCaption(const QString &caption)
{
    m_main.Command1->setText(caption);
    if (m_main.hooks().mini.setStartCaption)
        m_main.hooks().mini.setStartCaption(caption);
}

void MainLiveView::setStartEnabled(bool enabled)
{
    m_main.Command1->setEnabled(enabled);
    if (m_main.hooks().mini.setStartEnabled)
        m_main.hooks().mini.setStartEnabled(enabled);
}

void MainLiveView::setCommand1Enabled(bool enabled) { m_main.Command1->setEnabled(enabled); }

void MainLiveView::setCommand2Enabled(bool enabled) { m_main.Command2->setEnabled(enabled); }

void MainLiveView::setCountdownCaption(const QString &caption)
{
    m_main.lblCountDown->setText(caption);
    if (m_main.hooks().mini.setCountdownCaption)
        m_main.hooks().mini.setCountdownCaption(caption);
}

void MainLiveView::setList5Enabled(bool enabled) { m_main.List5->setEnabled(enabled); }

void MainLiveView::setOutLineModeBoxEnabled(bool enabled)
{
    m_main.dialogs().settingsDialog()->chkOutLineMode->setEnabled(enabled);
}

void MainLiveView::setLabel3Caption(const QString &caption) { m_main.setLabel3Caption(caption); }

void MainLiveView::setLabel1Caption(const QString &caption) { m_main.setLabel1Caption(caption); }

QString MainLiveView::comboMaxText() const { return m_main.comboMaxText(); }

QString MainLiveView::comboMaxRowText() const
{
    return m_main.dialogs().settingsDialog()->comboMaxRow->currentText();
}

void MainLiveView::setBusy(bool busy)
{
    if (busy)
        m_busy.emplace();
    else
        m_busy.reset();
}

void MainLiveView::showMessage(const LiveMessage &message)
{
    const QString text = messageText(message);
    if (!text.isEmpty())
        platform::showMessage(text, &m_main);
}

void MainLiveView::clearMarquee() { m_main.WebScroll->navigate(QStringLiteral("about:blank")); }

void MainLiveView::showMarqueeRows(const QString &path, const MarqueePage &rows)
{
    m_main.WebScroll->showRows(path, rows);
}

void MainLiveView::setLabelLook(int intScroll, bool outline)
{
    m_main.lblMsgStrip->setScroll(intScroll);
    m_main.lblMsgStrip->setOutlineMode(outline);
}

bool MainLiveView::showLiveComment(const QString &text, quint32 colour, qint32 index, int k)
{
    return m_main.lblMsgStrip->showLiveComment(text, QColor::fromRgb(colour), index, k);
}

void MainLiveView::spreadLabelBatch(const QList<present::SpreadComment> &batch, qint64 spreadMs)
{
    m_main.lblMsgStrip->spreadBatch(batch, spreadMs);
}

void MainLiveView::runMiniPresenter(bool datMode)
{
    const MiniModeHooks &mini = m_main.hooks().mini;
    if (datMode && mini.createTextFromDatWebScrollMini)
        mini.createTextFromDatWebScrollMini();
    else if (!datMode && mini.createTextWebScrollMini)
        mini.createTextWebScrollMini();
}

void MainLiveView::refreshThreadView()
{
    const ThreadViewHooks &view = m_main.hooks().threadView;
    if (view.isVisible && view.setHtmlTextFirst && view.isVisible())
        view.setHtmlTextFirst();
}

void MainLiveView::setImage(const ImageLists &images)
{
    if (m_main.hooks().imageViewer.setImage)
        m_main.hooks().imageViewer.setImage(images.varImageResNo, images.varImageUrl, 0);
}

void MainLiveView::showNgCount() { m_main.showNgCount(); }

void MainLiveView::showThreadList()
{
    // At the main window's left and the top of the bottom panel.
    const QPoint topLeft(m_main.frameGeometry().left(), m_main.Frame2->mapToGlobal(QPoint(0, 0)).y());
    if (m_main.hooks().threadList.showAt)
        m_main.hooks().threadList.showAt(topLeft);
}

bool MainLiveView::reopenBoard() { return reopenBoardAsOpened(m_main); }

QList<ThreadSummary> MainLiveView::listedThreads() const
{
    return m_main.boards().threads().summaries();
}

void MainLiveView::makeListedThreadCurrent(int row)
{
    m_main.List5->setCurrentRow(row);
    m_main.List5_DblClick();
}

QString MainLiveView::currentThreadEntry() const
{
    // The caption is "Kestrelon " and the List5 entry the thread was chosen by.
    return m_main.lblCaptionText().section(QLatin1Char(' '), 1);
}
