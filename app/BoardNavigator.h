#pragma once
// Boards, threads and favourites as the main window's lists show them, and the decisions of the
// board openers: what each opener empties, which board an entry means, how the current board
// was opened (intGetSureFrom), which thread a list row or an address makes current.
//
// The openers fetch the board's index and wait with window events running: a handler that runs
// meanwhile may change the lists, so nothing here holds a row across a wait. The window wraps
// each opener with its busy pointer and the enabled states of its controls.

#include "app/Favorites.h"
#include "net/BoardListModel.h"
#include "net/BoardTreeModel.h"
#include "net/FetchResult.h"
#include "net/ThreadListModel.h"

#include <optional>

class ThreadChannel;
struct ServicesConfig;
struct ThreadPosition;

// A thread made current: its page address (Label3), the caption of the title label
// ("Kestrelon " + its entry) and its number (strThreNo).
struct ThreadChoice
{
    QString address;
    QString caption;
    QString threadNumber;
};

class BoardNavigator
{
public:
    explicit BoardNavigator(ThreadChannel &channel);

    BoardListModel &allBoards() { return m_allBoards; }    // List1 / List2
    BoardListModel &liveBoards() { return m_liveBoards; }  // List3 / List4
    BoardListModel &favorites() { return m_favorites; }    // comboFavorite / listFavoriteHide
    ThreadListModel &threads() { return m_threads; }       // List5 / List6
    BoardTreeModel &tree() { return m_tree; }              // TreeViewIta
    // 1 opened from the live-board list, 2 from the tree, 3 from the favourites; 0 never.
    qint16 intGetSureFrom() const { return m_from; }

    // Fetches the board menu page: the address given, for this run only, or else
    // strBoardMenuUrl as read again from settings line 1. False when the fetch failed or the
    // page lists no board (a notice page, noise): the lists and the tree then stay as they
    // were. Otherwise every list and the tree are emptied, and the page fills the tree
    // (wholeTree) or the boards and the live boards among them.
    bool loadBoardMenu(bool wholeTree, const QString &address, const ServicesConfig &services);
    const QString &strBoardMenuUrl() const { return m_strBoardMenuUrl; }
    // favorite.txt into the favourites. The additions write the file and reload it when added:
    // a List3 row, or a node of the tree (a category, or no node, adds nothing).
    void loadFavorites(const QString &path);
    FavoriteAddStatus addLiveBoardFavorite(const QString &path, int row);
    FavoriteAddStatus addTreeFavorite(const QString &path, const QModelIndex &node);

    FetchResult openLiveBoard(int row);                   // a List3 row
    FetchResult openTreeBoard(const QModelIndex &node);   // a board node of the tree
    FetchResult openFavorite(int row);                    // a comboFavorite entry
    // A board by its address, the thread list emptied first; intGetSureFrom stays.
    FetchResult openBoard(const QString &boardAddress);
    // The board of a thread address: through the live-board list when it is listed there, so
    // that the follow at 1000 re-opens it the same way. liveRowOfBoard: -1 when not listed.
    int liveRowOfBoard(const QString &server, const QString &board) const;
    FetchResult openBoardOfThread(const QString &server, const QString &board);

    // The index reply (line ends normalised) appended to the thread list.
    void listThreads(const QString &text);

    // The thread of a List5 row; nothing when the row holds no address.
    std::optional<ThreadChoice> threadAt(int row) const;
    // A thread by its address alone (it was not in the index).
    static ThreadChoice threadByAddress(const QString &server, const QString &board,
                                        const QString &threadNumber);
    // Makes a thread current: Label3, strThreNo and a fresh position whose next display is the
    // thread's first.
    void makeCurrent(const ThreadChoice &thread, ThreadPosition &position);

private:
    FavoriteAddStatus reloadIfAdded(const QString &path, FavoriteAddStatus status);

    ThreadChannel &m_channel;
    BoardListModel m_allBoards;
    BoardListModel m_liveBoards;
    BoardListModel m_favorites;
    ThreadListModel m_threads;
    BoardTreeModel m_tree;
    qint16 m_from = 0;
    QString m_strBoardMenuUrl;
};
