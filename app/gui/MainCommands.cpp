#include "app/gui/MainCommands.h"

#include "app/gui/BoardTreeView.h"
#include "app/gui/SettingsDialogs.h"
#include "app/gui/formMain.h"
#include "core/ServicesConfig.h"
#include "platform/gui/DesktopServices.h"

#include <QAction>
#include <QComboBox>
#include "platform/gui/ModelListView.h"
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

namespace {

QAction *addEntry(QMenu *menu, const QString &caption, formMain &main, void (formMain::*handler)())
{
    QAction *action = menu->addAction(caption);
    if (handler)
        QObject::connect(action, &QAction::triggered, &main, handler);
    return action;
}

} // namespace

void buildMainMenus(formMain &main)
{
    main.menuParent = new QMenu(QStringLiteral("親メニュー"), &main);
    main.menuAddFavoriteTree = addEntry(main.menuParent, QStringLiteral("お気に入りに追加"), main,
                                        &formMain::menuAddFavoriteTree_Click);
    main.menuAddFavorite = addEntry(main.menuParent, QStringLiteral("お気に入りに追加"), main,
                                    &formMain::menuAddFavorite_Click);

    main.menuFunctions = new QMenu(QStringLiteral("機能リスト"), &main);
    QMenu *f = main.menuFunctions;
    main.menuWmp = addEntry(f, QStringLiteral("動画と過去ログを連動"), main, &formMain::menuWmp_Click);
    main.menuImageView = addEntry(f, QStringLiteral("ImageView"), main, &formMain::menuImageView_Click);
    main.menuTv2ch = addEntry(f, services().tvHost, main, &formMain::menuTv2ch_Click);
    main.menuConfig = addEntry(f, QStringLiteral("コンフィグ"), main, nullptr); // no action of its own
    main.menuToumei = addEntry(f, QStringLiteral("透明度"), main, &formMain::menuToumei_Click);
    main.menuNg = addEntry(f, QStringLiteral("NG設定"), main, &formMain::menuNg_Click);

    main.menuOpen = new QMenu(QStringLiteral("List5メニュー"), &main);
    main.menuOpenIE = addEntry(main.menuOpen, QStringLiteral("ブラウザで開く"), main, &formMain::menuOpenIE_Click);
    main.menuOpenURL = addEntry(main.menuOpen, QStringLiteral("開く（人大杉用）"), main, &formMain::menuOpenURL_Click);
}

void popupList5Menu(formMain &main, QPoint globalPos, bool withOpenUrl)
{
    main.menuOpenURL->setVisible(withOpenUrl);
    main.menuOpen->popup(globalPos);
}

void popupParentMenu(formMain &main, QPoint globalPos, bool forTree)
{
    main.menuAddFavoriteTree->setVisible(forTree);
    main.menuAddFavorite->setVisible(!forTree);
    main.menuParent->popup(globalPos);
}

void loadBoardMenuFromButton(formMain &main, bool wholeTree)
{
    platform::WaitCursor busy;
    main.cmdAll2ch->setEnabled(false);
    main.cmdGoLive->setEnabled(false);
    if (wholeTree)
        main.comboFavorite->setEnabled(false);
    main.loadBoardMenu(wholeTree);
    main.cmdAll2ch->setEnabled(true);
    main.cmdGoLive->setEnabled(true);
    if (wholeTree)
        main.comboFavorite->setEnabled(true);
}

ButtonRelease buttonReleaseOver(const formMain &main, QWidget *button, QPoint pos)
{
    const ButtonReleasePixels r{main.frameGeometry().topLeft(), main.Frame2->y(),
                                button->mapTo(main.Frame2, QPoint(0, 0)), pos};
    return buttonReleaseInTwips(r, main.logicalDpiX(), main.logicalDpiY());
}

void routeMouseRelease(formMain &main, QObject *watched, const QMouseEvent &event)
{
    const QPoint pos = event.position().toPoint();
    const QPoint global = event.globalPosition().toPoint();
    if (watched == main.cmdConfig) {
        main.dialogs().showSettingsDialog(buttonReleaseOver(main, main.cmdConfig, pos));
    } else if (watched == main.cmdFont) {
        main.dialogs().showFontDialog(buttonReleaseOver(main, main.cmdFont, pos));
    } else if (watched == main.cmdImageView) {
        const ButtonRelease r = buttonReleaseOver(main, main.cmdImageView, pos);
        main.lngPopupX = r.mouse.left;
        main.lngPopupY = r.mouse.top;
    } else if (event.button() == Qt::RightButton) {
        if (watched == main.List5->viewport())
            popupList5Menu(main, global, false);
        else if (watched == main.List3->viewport() && main.List3->currentRow() >= 0)
            popupParentMenu(main, global, false);
        else if (watched == main.TreeViewIta->viewport())
            popupParentMenu(main, global, true);
    }
}
