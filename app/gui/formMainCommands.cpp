// formMain: the bottom panel's buttons, the pop-up menus (app/gui/MainCommands.h) and the mouse
// releases the dialogs open at.

#include "app/gui/formMain.h"

#include "app/gui/MainCommands.h"
#include "app/gui/SettingsDialogs.h"
#include "app/gui/formNgSettings.h"
#include "platform/MessageService.h"
#include "platform/gui/DesktopServices.h"
#include "platform/gui/ModelListView.h"
#include "platform/gui/WindowEffects.h"

#include <QCheckBox>
#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

#include <cmath>

void formMain::buildMenus() { buildMainMenus(*this); }

bool formMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove && watched == List5->viewport()) {
        // Whole twips of the pointer over List5, for the title pop-up.
        const qreal y = static_cast<QMouseEvent *>(event)->position().y();
        m_list5MouseY = int(std::lround(pixelsToTwips(y, logicalDpiY())));
        return false;
    }
    if (event->type() != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    routeMouseRelease(*this, watched, *static_cast<QMouseEvent *>(event));
    return false;
}

void formMain::Command2_Click() { popupList5Menu(*this, QCursor::pos(), true); }
void formMain::cmdImageView_Click() { menuFunctions->popup(QCursor::pos()); }
void formMain::cmdAll2ch_Click() { loadBoardMenuFromButton(*this, true); }
void formMain::cmdGoLive_Click() { loadBoardMenuFromButton(*this, false); }
void formMain::chkSaizenmen_Click() { setAlwaysOnTop(this, chkSaizenmen->isChecked()); }

void formMain::cmdWrite_Click()
{
    const QString url = Label3Caption().trimmed();
    if (url.isEmpty())
        platform::showMessage(QStringLiteral("スレッドが選択されていません"), this);
    else if (m_hooks.web.setAndMoveUrlAndShow)
        m_hooks.web.setAndMoveUrlAndShow(url);
}

void formMain::menuOpenIE_Click()
{
    const int row = List5->currentRow();
    if (List5->text(row).isEmpty())
        platform::showMessage(QStringLiteral("スレッドを選択してください"), this);
    else if (row < List6->count())
        platform::openInDesktopBrowser(List6->text(row));
}

void formMain::menuOpenURL_Click()
{
    if (m_hooks.threadView.show)
        m_hooks.threadView.show();
    if (m_hooks.threadView.setHtmlTextFirst)
        m_hooks.threadView.setHtmlTextFirst();
}

void formMain::menuImageView_Click() { if (m_hooks.imageViewer.show) m_hooks.imageViewer.show(); }
void formMain::menuTv2ch_Click() { if (m_hooks.tv.show) m_hooks.tv.show(); }
void formMain::menuWmp_Click() { if (m_hooks.replay.showControls) m_hooks.replay.showControls(); }

void formMain::menuNg_Click()
{
    if (!m_ngDialog)
        m_ngDialog = new formNgSettings(m_ng, this);
    m_ngDialog->show();
    m_ngDialog->raise();
}

void formMain::menuToumei_Click()
{
    ButtonRelease r = buttonReleaseOver(*this, cmdImageView, QPoint());
    r.mouse.left = lngPopupX;
    r.mouse.top = lngPopupY;
    m_dialogs->showToumeiDialog(r);
}
