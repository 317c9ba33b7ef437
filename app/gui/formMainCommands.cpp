// formMain: the bottom panel's buttons, the pop-up menus and the mouse releases they rely on.

#include "app/gui/formMain.h"
#include "app/gui/formNgSettings.h"

#include "app/gui/BoardTreeView.h"
#include "app/gui/SettingsDialogs.h"
#include "platform/gui/WindowEffects.h"
#include "core/ServicesConfig.h"
#include "platform/MessageService.h"
#include "platform/gui/DesktopServices.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

#include <cmath>

void formMain::buildMenus()
{
    menuParent = new QMenu(QStringLiteral("親メニュー"), this);
    menuAddFavoriteTree = menuParent->addAction(QStringLiteral("お気に入りに追加"));
    menuAddFavorite = menuParent->addAction(QStringLiteral("お気に入りに追加"));
    connect(menuAddFavoriteTree, &QAction::triggered, this, &formMain::menuAddFavoriteTree_Click);
    connect(menuAddFavorite, &QAction::triggered, this, &formMain::menuAddFavorite_Click);

    menuFunctions = new QMenu(QStringLiteral("機能リスト"), this);
    menuWmp = menuFunctions->addAction(QStringLiteral("動画と過去ログを連動"));
    menuImageView = menuFunctions->addAction(QStringLiteral("ImageView"));
    menuTv2ch = menuFunctions->addAction(services().tvHost);
    menuConfig = menuFunctions->addAction(QStringLiteral("コンフィグ")); // no action of its own
    menuToumei = menuFunctions->addAction(QStringLiteral("透明度"));
    connect(menuWmp, &QAction::triggered, this, &formMain::menuWmp_Click);
    connect(menuImageView, &QAction::triggered, this, &formMain::menuImageView_Click);
    connect(menuTv2ch, &QAction::triggered, this, &formMain::menuTv2ch_Click);
    connect(menuToumei, &QAction::triggered, this, &formMain::menuToumei_Click);
    menuNg = menuFunctions->addAction(QStringLiteral("NG設定"));
    connect(menuNg, &QAction::triggered, this, &formMain::menuNg_Click);

    menuOpen = new QMenu(QStringLiteral("List5メニュー"), this);
    menuOpenIE = menuOpen->addAction(QStringLiteral("ブラウザで開く"));
    menuOpenURL = menuOpen->addAction(QStringLiteral("開く（人大杉用）"));
    connect(menuOpenIE, &QAction::triggered, this, &formMain::menuOpenIE_Click);
    connect(menuOpenURL, &QAction::triggered, this, &formMain::menuOpenURL_Click);
}

ButtonRelease formMain::buttonRelease(QWidget *button, QPoint pos) const
{
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    auto tx = [dpiX](double px) { return qint32(std::lround(pixelsToTwips(px, dpiX))); };
    auto ty = [dpiY](double px) { return qint32(std::lround(pixelsToTwips(px, dpiY))); };
    ButtonRelease r;
    const QPoint windowPos = frameGeometry().topLeft();
    r.windowLeft = tx(windowPos.x());
    r.windowTop = ty(windowPos.y());
    r.panelTop = ty(Frame2->y());
    const QPoint inPanel = button->mapTo(Frame2, QPoint(0, 0));
    r.buttonLeft = tx(inPanel.x());
    r.buttonTop = ty(inPanel.y());
    r.mouseX = tx(pos.x());
    r.mouseY = ty(pos.y());
    return r;
}

bool formMain::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseMove && watched == List5->viewport()) {
        // Whole twips of the pointer over List5, for the title pop-up.
        const auto *me = static_cast<QMouseEvent *>(event);
        m_list5MouseY = int(std::lround(pixelsToTwips(me->position().y(), logicalDpiY())));
        return false;
    }
    if (type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);

    const auto *me = static_cast<QMouseEvent *>(event);
    const QPoint pos = me->position().toPoint();
    if (watched == cmdConfig) {
        m_dialogs->showSettingsDialog(buttonRelease(cmdConfig, pos));
    } else if (watched == cmdFont) {
        m_dialogs->showFontDialog(buttonRelease(cmdFont, pos));
    } else if (watched == cmdImageView) {
        const ButtonRelease r = buttonRelease(cmdImageView, pos);
        lngPopupX = r.mouseX;
        lngPopupY = r.mouseY;
    } else if (me->button() == Qt::RightButton) {
        if (watched == List5->viewport()) {
            menuOpenURL->setVisible(false);
            menuOpen->popup(me->globalPosition().toPoint());
        } else if (watched == List3->viewport() && List3->currentRow() >= 0) {
            menuAddFavorite->setVisible(true);
            menuAddFavoriteTree->setVisible(false);
            menuParent->popup(me->globalPosition().toPoint());
        } else if (watched == TreeViewIta->viewport()) {
            menuAddFavoriteTree->setVisible(true);
            menuAddFavorite->setVisible(false);
            menuParent->popup(me->globalPosition().toPoint());
        }
    }
    return false;
}

// --- Buttons -------------------------------------------------------------------------------------

void formMain::Command2_Click()
{
    menuOpenURL->setVisible(true);
    menuOpen->popup(QCursor::pos());
}

void formMain::cmdImageView_Click()
{
    menuFunctions->popup(QCursor::pos());
}

void formMain::cmdAll2ch_Click()
{
    platform::WaitCursor busy;
    cmdAll2ch->setEnabled(false);
    cmdGoLive->setEnabled(false);
    comboFavorite->setEnabled(false);
    loadBoardMenu(true);
    cmdAll2ch->setEnabled(true);
    cmdGoLive->setEnabled(true);
    comboFavorite->setEnabled(true);
}

void formMain::cmdGoLive_Click()
{
    platform::WaitCursor busy;
    cmdAll2ch->setEnabled(false);
    cmdGoLive->setEnabled(false);
    loadBoardMenu(false);
    cmdAll2ch->setEnabled(true);
    cmdGoLive->setEnabled(true);
}

void formMain::cmdWrite_Click()
{
    const QString url = Label3Caption().trimmed();
    if (url.isEmpty()) {
        platform::showMessage(QStringLiteral("スレッドが選択されていません"), this);
        return;
    }
    if (m_hooks.web.setAndMoveUrlAndShow)
        m_hooks.web.setAndMoveUrlAndShow(url);
}

void formMain::chkSaizenmen_Click()
{
    setAlwaysOnTop(this, chkSaizenmen->isChecked());
}

// --- Menu entries --------------------------------------------------------------------------------

void formMain::menuOpenIE_Click()
{
    const int row = List5->currentRow();
    const QString entry = row >= 0 && row < List5->count() ? List5->item(row)->text() : QString();
    if (entry.isEmpty()) {
        platform::showMessage(QStringLiteral("スレッドを選択してください"), this);
        return;
    }
    if (row < List6->count())
        platform::openInDesktopBrowser(List6->item(row)->text());
}

void formMain::menuOpenURL_Click()
{
    if (m_hooks.threadView.show)
        m_hooks.threadView.show();
    if (m_hooks.threadView.setHtmlTextFirst)
        m_hooks.threadView.setHtmlTextFirst();
}

void formMain::menuImageView_Click()
{
    if (m_hooks.imageViewer.show)
        m_hooks.imageViewer.show();
}

void formMain::menuTv2ch_Click()
{
    if (m_hooks.tv.show)
        m_hooks.tv.show();
}

void formMain::menuNg_Click()
{
    if (!m_ngDialog)
        m_ngDialog = new formNgSettings(m_ng, this);
    m_ngDialog->show();
    m_ngDialog->raise();
}

void formMain::menuToumei_Click()
{
    ButtonRelease r = buttonRelease(cmdImageView, QPoint());
    r.mouseX = lngPopupX;
    r.mouseY = lngPopupY;
    m_dialogs->showToumeiDialog(r);
}

void formMain::menuWmp_Click()
{
    if (m_hooks.replay.showControls)
        m_hooks.replay.showControls();
}
