// formMain: the board menu (list and tree), the board openers, favourites and the thread list.

#include "app/gui/formMain.h"

#include "app/Favorites.h"
#include "app/LiveCycleRules.h"
#include "app/LiveSession.h"
#include "app/SettingsFile.h"
#include "app/gui/BoardTreeView.h"
#include "platform/gui/TitleStrip.h"
#include "core/ServicesConfig.h"
#include "net/BoardMenu.h"
#include "net/PageFetch.h"
#include "net/ThreadChannel.h"
#include "net/ThreadAddress.h"
#include "net/ThreadIndex.h"
#include "net/ThreadSummary.h"
#include "platform/MessageService.h"
#include "platform/gui/DesktopServices.h"
#include "platform/gui/PlainText.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace {

QString rowText(const QListWidget *list, int row)
{
    if (row < 0 || row >= list->count())
        return QString();
    return list->item(row)->text();
}

QStringList allEntries(const QListWidget *list)
{
    QStringList entries;
    entries.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        entries.append(list->item(i)->text());
    return entries;
}

} // namespace

// --- Board menu ----------------------------------------------------------------------------

void formMain::loadBoardMenu(bool wholeTree, const QString &address)
{
    if (address.isEmpty())
        strBoardMenuUrl = readBoardMenuUrl(settingsFilePath());
    const QString url = address.isEmpty() ? strBoardMenuUrl : address;
    // No address yet (a first start without --menu): there is nothing to fetch.
    if (url.trimmed().isEmpty())
        return;
    const FetchResult page = fetchPage(url, services().timeoutSeconds);
    // A failed fetch leaves the lists and the tree as they were; so does a page without a single
    // board (an empty reply, a redirect to a notice page, noise), which would only empty them.
    if (!page.ok())
        return;
    const QList<BoardLink> boards = parseBoardLinks(page.text);
    if (boards.isEmpty())
        return;

    for (QListWidget *list : {List1, List2, List3, List4, List5, List6})
        list->clear();
    if (wholeTree) {
        TreeViewIta->clearNodes();
        TreeViewIta->show();
        TreeViewIta->raise();
        buildBoardTree(page.text, *TreeViewIta);
        return;
    }
    TreeViewIta->hide();
    TreeViewIta->clearNodes();
    for (const BoardLink &b : boards) {
        List1->addItem(b.name);
        List2->addItem(b.address);
    }
    for (const BoardLink &b : filterLiveBoards(boards, services())) {
        List3->addItem(b.name);
        List4->addItem(b.address);
    }
}

void formMain::List1_Click()
{
    List2->setCurrentRow(List1->currentRow());
}

void formMain::List1_DblClick()
{
    platform::showMessage(rowText(List2, List2->currentRow()), this);
}

void formMain::List3_Click()
{
    List4->setCurrentRow(List3->currentRow());
}

// --- Board openers -------------------------------------------------------------------------

void formMain::openBoardAndWait(const QString &address)
{
    // The wait is bounded by the network time-out; a board that fails leaves List5 empty.
    m_thread->openBoardAndWait(address);
    m_thread->intIndexArrived = 0;
}

void formMain::List3_DblClick()
{
    platform::WaitCursor busy;
    List5->clear();
    List6->clear();
    m_intGetSureFrom = 1;
    // List3's row names the board even when the call comes from another window.
    const int row = List3->currentRow() >= 0 ? List3->currentRow() : List4->currentRow();
    openBoardAndWait(boardAddressFromListEntry(rowText(List4, row)));
    if (threadPosition().intLastDt > 1000)
        List5->setEnabled(true);
}

void formMain::TreeViewIta_DblClick()
{
    platform::WaitCursor busy;
    QTreeWidgetItem *item = TreeViewIta->currentItem();
    // A category node has no parent: nothing to open.
    if (!item || !item->parent())
        return;
    const QString address = treeNodeBoardAddress(BoardTreeView::keyOf(item),
                                                 BoardTreeView::keyOf(item->parent()), true);
    List5->clear();
    List6->clear();
    openBoardAndWait(address);
    if (threadPosition().intLastDt > 1000)
        List5->setEnabled(true);
    m_intGetSureFrom = 2;
}

void formMain::comboFavorite_Click()
{
    cmdAll2ch->setEnabled(false);
    cmdGoLive->setEnabled(false);
    comboFavorite->setEnabled(false);
    m_intGetSureFrom = 3;
    for (QListWidget *list : {List3, List4, List5, List6})
        list->clear();
    const QString address = rowText(listFavoriteHide, comboFavorite->currentIndex());
    openBoardAndWait(favoriteBoardAddress(address));
    if (threadPosition().intLastDt > 1000)
        List5->setEnabled(true);
    cmdAll2ch->setEnabled(true);
    cmdGoLive->setEnabled(true);
    comboFavorite->setEnabled(true);
}

// --- Favourites ------------------------------------------------------------------------------

void formMain::menuAddFavorite_Click()
{
    const int row = List3->currentRow();
    if (row < 0)
        return;
    if (addFavorite(favoritesFilePath(), rowText(List3, row), rowText(List4, row)) == FavoriteAddStatus::WriteFailed) {
        platform::showMessage(favoritesNotSavedMessage(), this);
        return;
    }
    loadFavorites();
}

void formMain::menuAddFavoriteTree_Click()
{
    QTreeWidgetItem *item = TreeViewIta->currentItem();
    const FavoriteAddStatus status =
        item ? addFavoriteFromTree(favoritesFilePath(), item->text(0), BoardTreeView::keyOf(item),
                                   BoardTreeView::keyOf(item->parent()), item->parent() != nullptr)
             : FavoriteAddStatus::NoBoard;
    if (status == FavoriteAddStatus::NoBoard) {
        platform::showMessage(QStringLiteral("板を選択してください"), this);
        return;
    }
    if (status == FavoriteAddStatus::WriteFailed) {
        platform::showMessage(favoritesNotSavedMessage(), this);
        return;
    }
    loadFavorites();
}

// --- Thread list ---------------------------------------------------------------------------------

void formMain::listThreads(const QString &text)
{
    const ThreadAddress &a = m_thread->address();
    const ThreadIndexListing listing = listThreadIndex(text, a.strSvr, a.strBan);
    const int first = List5->count();
    List5->addItems(listing.entries);
    List6->addItems(listing.addresses);
    for (int i = 0; i < listing.momentum.size(); ++i)
        List5->item(first + i)->setToolTip(momentumToolTip(listing.momentum.at(i)));
    if (m_hooks.threadList.fillLists)
        m_hooks.threadList.fillLists(allEntries(List5), allEntries(List6));
}

void formMain::selectList5Row(int index)
{
    List5->setCurrentRow(index);
}

void formMain::List5_DblClick()
{
    m_session->cancelFollow(); // a thread chosen by hand ends a wait for the next part
    const QString address = rowText(List6, List5->currentRow());
    m_thread->setLabel3Caption(address);
    Label3->setText(address);
    if (address.isEmpty()) {
        setStartEnabled(false);
        return;
    }
    threadPosition().intLastDt = 0;
    threadPosition().intZenkaiLastDT = 0;
    const QString caption = QStringLiteral("Kestrelon ") + rowText(List5, List5->currentRow());
    Frame6->lblCaption->setText(caption);
    Frame6->lblCaption->setToolTip(platform::plainToolTip(caption));
    if (m_hooks.mini.setCaption)
        m_hooks.mini.setCaption(caption, caption);
    m_thread->setThreadNumber(threadNumberFromPageAddress(address));
    threadPosition().blnIsFirst = true;
    setStartEnabled(true);
}

void formMain::List5_Click()
{
    TimerList->stop();
    lblList->setText(rowText(List5, List5->currentRow()));
    lblList->adjustSize();
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    PictureListbox->resize(lblList->width() + twipsToPixels(110, dpiX), lblList->height() + 4);
    const QPoint listTopLeft = List5->mapTo(this, QPoint(0, 0));
    const int top = listTopLeft.y() + twipsToPixels(m_list5MouseY + 300, dpiY);
    // The list sits at the window's right edge: a long title opens towards the left.
    int left = listTopLeft.x();
    if (left + PictureListbox->width() > width())
        left = std::max(0, width() - PictureListbox->width());
    PictureListbox->move(left, top);
    PictureListbox->show();
    PictureListbox->raise();
    TimerList->start();
}

void formMain::TimerList_Timer()
{
    PictureListbox->hide();
    TimerList->stop();
}

// --- A thread address from the command line ----------------------------------------------------

bool formMain::openThreadAddress(const QString &server, const QString &board, const QString &threadNumber)
{
    const QString boardAddress = QStringLiteral("http://") + server + QLatin1Char('/') + board
                                 + QLatin1Char('/');
    // Through the live-board list when the board is there, so the follow at 1000 re-opens it.
    int liveRow = -1;
    for (int i = 0; i < List4->count(); ++i) {
        if (boardAddressFromListEntry(List4->item(i)->text()) == boardAddress) {
            liveRow = i;
            break;
        }
    }
    if (liveRow >= 0) {
        List3->setCurrentRow(liveRow);
        List4->setCurrentRow(liveRow);
        List3_DblClick();
    } else {
        platform::WaitCursor busy;
        List5->clear();
        List6->clear();
        openBoardAndWait(boardAddress);
    }

    const QString wanted = QLatin1Char('/') + threadNumber + QLatin1Char('/');
    for (int i = 0; i < List6->count(); ++i) {
        if (List6->item(i)->text().contains(wanted)) {
            List5->setCurrentRow(i);
            List5_DblClick();
            return true;
        }
    }
    // Not in the index (an old thread, or the board did not list): open the address itself. The
    // board opener above has stored server, board and suffix already.
    List5->setCurrentRow(-1);
    setLabel3Caption(threadPageAddress(server, board, threadNumber));
    threadPosition().intLastDt = 0;
    threadPosition().intZenkaiLastDT = 0;
    const QString caption = QStringLiteral("Kestrelon ") + threadNumber;
    Frame6->lblCaption->setText(caption);
    Frame6->lblCaption->setToolTip(platform::plainToolTip(caption));
    if (m_hooks.mini.setCaption)
        m_hooks.mini.setCaption(caption, caption);
    m_thread->setThreadNumber(threadNumber);
    threadPosition().blnIsFirst = true;
    setStartEnabled(true);
    return false;
}
