// formMain: the board menu (list and tree), the board openers, favourites and the thread list,
// shown from the board navigator's models.

#include "app/gui/formMain.h"

#include "app/Favorites.h"
#include "app/LiveSession.h"
#include "app/gui/BoardTreeView.h"
#include "app/gui/ThreadTitlePopup.h"
#include "core/ServicesConfig.h"
#include "platform/MessageService.h"
#include "platform/gui/DesktopServices.h"
#include "platform/gui/ModelListView.h"
#include "platform/gui/TitleStrip.h"

#include <QComboBox>
#include <QPushButton>

void formMain::loadBoardMenu(bool wholeTree, const QString &address)
{
    if (!m_boards.loadBoardMenu(wholeTree, address, services()))
        return;
    TreeViewIta->setVisible(wholeTree);
    if (wholeTree)
        TreeViewIta->raise();
}

void formMain::List1_Click() { List2->setCurrentRow(List1->currentRow()); }
void formMain::List1_DblClick() { platform::showMessage(List2->text(List2->currentRow()), this); }
void formMain::List3_Click() { List4->setCurrentRow(List3->currentRow()); }

// The board openers wait for the index with window events running.
void formMain::List3_DblClick()
{
    platform::WaitCursor busy;
    // List3's row names the board even when the call comes from another window.
    m_boards.openLiveBoard(List3->currentRow() >= 0 ? List3->currentRow() : List4->currentRow());
    reenableFinishedThreadList();
}

void formMain::TreeViewIta_DblClick()
{
    platform::WaitCursor busy;
    const QModelIndex node = TreeViewIta->currentIndex();
    // A category node has no parent: nothing to open.
    if (!node.parent().isValid())
        return;
    m_boards.openTreeBoard(node);
    reenableFinishedThreadList();
}

void formMain::comboFavorite_Click()
{
    setBoardButtonsEnabled(false);
    m_boards.openFavorite(comboFavorite->currentIndex());
    reenableFinishedThreadList();
    setBoardButtonsEnabled(true);
}

void formMain::setBoardButtonsEnabled(bool enabled)
{
    cmdAll2ch->setEnabled(enabled);
    cmdGoLive->setEnabled(enabled);
    comboFavorite->setEnabled(enabled);
}

void formMain::reenableFinishedThreadList()
{
    // A finished thread disabled the list; a board opened after it lets a new thread be picked.
    List5->setEnabled(List5->isEnabled() || threadPosition().intLastDt > 1000);
}

void formMain::menuAddFavorite_Click()
{
    if (const int row = List3->currentRow(); row >= 0)
        tellFavoriteAdded(m_boards.addLiveBoardFavorite(favoritesFilePath(), row));
}

void formMain::menuAddFavoriteTree_Click()
{
    tellFavoriteAdded(m_boards.addTreeFavorite(favoritesFilePath(), TreeViewIta->currentIndex()));
}

void formMain::tellFavoriteAdded(FavoriteAddStatus status)
{
    if (const QString message = favoriteAddMessage(status); !message.isEmpty())
        platform::showMessage(message, this);
}

void formMain::listThreads(const QString &text)
{
    m_boards.listThreads(text);
    if (m_hooks.threadList.fillLists)
        m_hooks.threadList.fillLists(m_boards.threads().entries(), m_boards.threads().addresses());
}

void formMain::selectList5Row(int index) { List5->setCurrentRow(index); }

void formMain::List5_DblClick()
{
    m_session->cancelFollow(); // a thread chosen by hand ends a wait for the next part
    if (const std::optional<ThreadChoice> thread = m_boards.threadAt(List5->currentRow()))
        return makeThreadCurrent(*thread);
    setLabel3Caption(QString());
    setStartEnabled(false);
}

void formMain::makeThreadCurrent(const ThreadChoice &thread)
{
    m_boards.makeCurrent(thread, threadPosition());
    Frame6->setCaption(thread.caption);
    if (m_hooks.mini.setCaption)
        m_hooks.mini.setCaption(thread.caption, thread.caption);
    setStartEnabled(true);
}

void formMain::List5_Click()
{
    PictureListbox->showTitle(List5->text(List5->currentRow()), List5->mapTo(this, QPoint(0, 0)),
                              m_list5MouseY);
}

bool formMain::openThreadAddress(const QString &server, const QString &board, const QString &threadNumber)
{
    platform::WaitCursor busy;
    if (const int liveRow = m_boards.liveRowOfBoard(server, board); liveRow >= 0) {
        List3->setCurrentRow(liveRow);
        List4->setCurrentRow(liveRow);
    }
    m_boards.openBoardOfThread(server, board);
    const int row = m_boards.threads().rowOfThread(threadNumber);
    List5->setCurrentRow(row);
    if (row >= 0) {
        List5_DblClick();
        return true;
    }
    // Not in the index (an old thread, or the board did not list): the address itself.
    makeThreadCurrent(BoardNavigator::threadByAddress(server, board, threadNumber));
    return false;
}
