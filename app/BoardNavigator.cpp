#include "app/BoardNavigator.h"

#include "app/Favorites.h"
#include "app/LiveCycleRules.h"
#include "app/SettingsFile.h"
#include "net/PageFetch.h"
#include "net/ThreadAddress.h"
#include "net/ThreadChannel.h"
#include "present/ThreadPosition.h"
#include "core/ServicesConfig.h"

BoardNavigator::BoardNavigator(ThreadChannel &channel)
    : m_channel(channel)
{
}

bool BoardNavigator::loadBoardMenu(bool wholeTree, const QString &address,
                                                     const ServicesConfig &services)
{
    if (address.isEmpty())
        m_strBoardMenuUrl = readBoardMenuUrl(settingsFilePath());
    const QString url = address.isEmpty() ? m_strBoardMenuUrl : address;
    // No address yet (a first start without --menu): there is nothing to fetch.
    if (url.trimmed().isEmpty())
        return false;
    const FetchResult page = fetchPage(url, services.timeoutSeconds);
    if (!page.ok())
        return false;
    const QList<BoardLink> boards = parseBoardLinks(page.text);
    if (boards.isEmpty())
        return false;
    m_threads.clear();
    m_allBoards.setBoards(wholeTree ? QList<BoardLink>() : boards);
    m_liveBoards.setBoards(wholeTree ? QList<BoardLink>() : filterLiveBoards(boards, services));
    if (wholeTree)
        m_tree.buildFromPage(page.text);
    else
        m_tree.clear();
    return true;
}

void BoardNavigator::loadFavorites(const QString &path)
{
    const FavoriteList f = ::loadFavorites(path);
    QList<BoardLink> boards;
    for (qsizetype i = 0; i < f.labels.size(); ++i)
        boards.append({f.labels.at(i), f.addresses.value(i)});
    m_favorites.setBoards(boards);
}

FavoriteAddStatus BoardNavigator::addLiveBoardFavorite(const QString &path, int row)
{
    if (row < 0 || row >= m_liveBoards.rowCount())
        return FavoriteAddStatus::NoBoard;
    return reloadIfAdded(path, addFavorite(path, m_liveBoards.name(row), m_liveBoards.address(row)));
}

FavoriteAddStatus BoardNavigator::addTreeFavorite(const QString &path, const QModelIndex &node)
{
    if (!node.isValid())
        return FavoriteAddStatus::NoBoard;
    const QModelIndex parent = node.parent();
    return reloadIfAdded(path, addFavoriteFromTree(path, node.data().toString(), BoardTreeModel::keyOf(node),
                                                   BoardTreeModel::keyOf(parent), parent.isValid()));
}

FavoriteAddStatus BoardNavigator::reloadIfAdded(const QString &path, FavoriteAddStatus status)
{
    if (status == FavoriteAddStatus::Added)
        loadFavorites(path);
    return status;
}

FetchResult BoardNavigator::openBoard(const QString &boardAddress)
{
    m_threads.clear();
    // The wait is bounded by the network time-out; a board that fails leaves the list empty.
    const FetchResult result = m_channel.openBoardAndWait(boardAddress);
    m_channel.intIndexArrived = 0;
    return result;
}

FetchResult BoardNavigator::openLiveBoard(int row)
{
    m_from = 1;
    return openBoard(boardAddressFromListEntry(m_liveBoards.address(row)));
}

FetchResult BoardNavigator::openTreeBoard(const QModelIndex &node)
{
    const QModelIndex parent = node.parent();
    const FetchResult result = openBoard(treeNodeBoardAddress(BoardTreeModel::keyOf(node),
                                                              BoardTreeModel::keyOf(parent), parent.isValid()));
    m_from = 2;
    return result;
}

FetchResult BoardNavigator::openFavorite(int row)
{
    m_from = 3;
    const QString address = favoriteBoardAddress(m_favorites.address(row));
    m_liveBoards.clear();
    return openBoard(address);
}

namespace {

QString boardAddressOf(const QString &server, const QString &board)
{
    return QStringLiteral("http://%1/%2/").arg(server, board);
}

} // namespace

int BoardNavigator::liveRowOfBoard(const QString &server, const QString &board) const
{
    const QString boardAddress = boardAddressOf(server, board);
    for (int i = 0; i < m_liveBoards.rowCount(); ++i)
        if (boardAddressFromListEntry(m_liveBoards.address(i)) == boardAddress)
            return i;
    return -1;
}

FetchResult BoardNavigator::openBoardOfThread(const QString &server, const QString &board)
{
    const int liveRow = liveRowOfBoard(server, board);
    return liveRow >= 0 ? openLiveBoard(liveRow) : openBoard(boardAddressOf(server, board));
}

void BoardNavigator::listThreads(const QString &text)
{
    const ThreadAddress &a = m_channel.address();
    m_threads.appendListing(listThreadIndex(text, a.strSvr, a.strBan));
}

std::optional<ThreadChoice> BoardNavigator::threadAt(int row) const
{
    const QString address = m_threads.address(row);
    if (address.isEmpty())
        return std::nullopt;
    return ThreadChoice{address, QStringLiteral("Kestrelon ") + m_threads.entry(row),
                        threadNumberFromPageAddress(address)};
}

ThreadChoice BoardNavigator::threadByAddress(const QString &server, const QString &board,
                                             const QString &threadNumber)
{
    return {threadPageAddress(server, board, threadNumber), QStringLiteral("Kestrelon ") + threadNumber,
            threadNumber};
}

void BoardNavigator::makeCurrent(const ThreadChoice &thread, ThreadPosition &position)
{
    m_channel.setLabel3Caption(thread.address);
    position.intLastDt = 0;
    position.intZenkaiLastDT = 0;
    m_channel.setThreadNumber(thread.threadNumber);
    position.blnIsFirst = true;
}
