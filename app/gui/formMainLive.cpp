// formMain: the live cycle's operations under their own names, forwarded to the live session
// (app/LiveSession.h), which runs Start/Stop, the countdown, the presenters and the follow, and
// the controls the mini window's builders reach through the main window.

#include "app/gui/formMain.h"

#include "app/LiveSession.h"
#include "app/gui/MainLiveView.h"
#include "app/gui/SettingsDialogs.h"
#include "app/gui/formScrollSetting.h"
#include "net/ThreadChannel.h"

#include <QComboBox>
#include <QLabel>

void formMain::createLiveSession()
{
    m_liveView = std::make_unique<MainLiveView>(*this);
    m_session = std::make_unique<LiveSession>(*m_thread, m_settings, *m_liveView, &m_ng);
}

QString formMain::Label3Caption() const { return m_thread->label3Caption(); }

void formMain::setLabel3Caption(const QString &caption)
{
    m_thread->setLabel3Caption(caption);
    Label3->setText(caption);
}

void formMain::setLabel1Caption(const QString &caption) { Label1->setText(caption); }

QString formMain::comboMaxText() const { return m_dialogs->settingsDialog()->comboMax->currentText(); }

void formMain::setStartCaption(const QString &caption) { m_session->setStartCaption(caption); }
void formMain::setStartEnabled(bool enabled) { m_session->setStartEnabled(enabled); }
void formMain::setRegetTimerEnabled(bool on) { m_session->setRegetTimerEnabled(on); }
bool formMain::isRegetTimerEnabled() const { return m_session->isRegetTimerEnabled(); }
QString formMain::TimerRegetTag() const { return m_session->timerRegetTag(); }
void formMain::setRegetInterval(int milliseconds) { m_session->setRegetInterval(milliseconds); }

void formMain::command1Click() { m_session->command1Click(); }
void formMain::Command1_Click() { m_session->command1Click(); }
void formMain::TimerReget_Timer() { m_session->tick(); }
void formMain::createTextFromDatLabel() { m_session->createTextFromDatLabel(); }
void formMain::createTextLabel() { m_session->createTextLabel(); }
void formMain::createTextFromDatWebScroll() { m_session->createTextFromDatWebScroll(); }
void formMain::createTextWebScroll() { m_session->createTextWebScroll(); }
void formMain::endThreadCycle(EndOfThreadAction next) { m_session->endThreadCycle(next); }
void formMain::autoMoveNextSure() { m_session->autoMoveNextSure(); }

ThreadPosition &formMain::threadPosition() { return m_session->position(); }
ImageLists &formMain::imageLists() { return m_session->images(); }
qint32 &formMain::lngMsgCount() { return m_session->lngMsgCount(); }

void formMain::showNgCount()
{
    const QString caption = ngCountCaption(m_ng.matcher().ruleCount(), m_ng.hiddenCount());
    lblNgCount->setText(caption);
    lblNgCount->setVisible(!caption.isEmpty());
}
