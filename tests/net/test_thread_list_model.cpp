// The thread list as a model: listings append, the columns stay paired, the thread-list
// window's sort order, and a thread found by its number.

#include "net/ThreadListModel.h"

#include <QSortFilterProxyModel>
#include <gtest/gtest.h>

namespace {

const QString kHeaders = QStringLiteral("HTTP/1.0 200 OK\r\n\r\n");

QStringList column(const QAbstractItemModel &model, int col)
{
    QStringList out;
    for (int row = 0; row < model.rowCount(); ++row)
        out << model.index(row, col).data().toString();
    return out;
}

TEST(ThreadListModel, ListingsAppendInPairsAndFindThreadsByNumber)
{
    ThreadListModel model;
    model.appendListing(listThreadIndex(kHeaders + "1000.dat<>a (10)\r\n", "s", "b", 1000 + 3600));
    model.appendListing(listThreadIndex(kHeaders + "2000.dat<>b (1)\r\n20.dat<>c\r\n", "s", "b", 3600));
    EXPECT_EQ(column(model, ThreadListModel::EntryColumn), (QStringList{"1: a (10)", "1: b (1)", "2: c"}));
    EXPECT_EQ(model.address(2), QStringLiteral("http://s/test/read.cgi/b/20/l50"));
    EXPECT_EQ(model.index(0, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("勢い：10.0/時"));
    EXPECT_EQ(model.entry(3), QString()); // outside the rows

    // "/<number>/": 20 is not found inside 2000.
    EXPECT_EQ(model.rowOfThread(QStringLiteral("20")), 2);
    EXPECT_EQ(model.rowOfThread(QStringLiteral("200")), -1);
    EXPECT_EQ(model.summaries().at(1).key, 2000);
}

TEST(ThreadListModel, SortsByIndexOrderOrMomentumWithUnknownLowest)
{
    ThreadListModel model;
    model.setThreads({"1: slow (1)", "2: none", "3: busy (500)"},
                     {"http://s/test/read.cgi/b/1000/l50", "http://s/test/read.cgi/b/1000/l50",
                      "http://s/test/read.cgi/b/1000/l50"},
                     1000 + 3600);
    QSortFilterProxyModel sorted;
    sorted.setSourceModel(&model);
    sorted.setSortRole(ThreadListModel::SortRole);
    sorted.sort(ThreadListModel::MomentumColumn, Qt::DescendingOrder);
    EXPECT_EQ(column(sorted, ThreadListModel::EntryColumn), (QStringList{"3: busy (500)", "1: slow (1)", "2: none"}));
    EXPECT_EQ(column(sorted, ThreadListModel::MomentumColumn), (QStringList{"500", "1.0", ""}));
    sorted.sort(ThreadListModel::EntryColumn, Qt::AscendingOrder);
    EXPECT_EQ(column(sorted, ThreadListModel::EntryColumn), (QStringList{"1: slow (1)", "2: none", "3: busy (500)"}));
}

} // namespace
