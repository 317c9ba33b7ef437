// The thread-list window with a stand-in main window: loading re-opens the board the way it was
// opened, clicks select the same row everywhere, a double click starts the thread and closes.

#include "TestSupport.h"
#include "net/ThreadListModel.h"
#include "platform/gui/ModelListView.h"
#include "viewers/gui/formSureItiran.h"

#include <QApplication>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

// Stands in for formMain: its board openers fetch (an event-pumping wait) and then list the
// board into the window, as listThreads does; Start waits the same way.
class FakeMain : public ThreadListHost
{
public:
    qint16 from = 1;
    QStringList calls;
    QPointer<formSureItiran> window;
    std::function<void()> duringStart;
    int list5Row = -2;

    static void wait(int ms)
    {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }
    void listBoard(const QString &board)
    {
        wait(20);
        QStringList entries, addresses;
        for (int i = 1; i <= 5; ++i) {
            entries << QStringLiteral("%1: %2のスレ%1 (%3)").arg(i).arg(board).arg(i * 10);
            addresses << QStringLiteral("http://srv/test/read.cgi/%1/%2/l50").arg(board).arg(1000 + i);
        }
        if (window)
            window->setThreadLists(entries, addresses);
    }

    qint16 intGetSureFrom() const override { return from; }
    void List3_DblClick() override { calls << "List3_DblClick"; listBoard("livetv"); }
    void TreeViewIta_DblClick() override { calls << "TreeViewIta_DblClick"; listBoard("news"); }
    void comboFavorite_Click() override { calls << "comboFavorite_Click"; listBoard("anime"); }
    void selectList5Row(int index) override { calls << QStringLiteral("select %1").arg(index); list5Row = index; }
    void List5_DblClick() override { calls << "List5_DblClick"; }
    void command1Click() override
    {
        calls << "command1Click";
        if (duringStart)
            duringStart();
        wait(30);
    }
};

void sendMouse(QWidget *target, QEvent::Type type, const QPoint &pos)
{
    QMouseEvent event(type, pos, target->mapToGlobal(pos), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// A real double click on row: press, release, double click, release.
void doubleClickRow(ModelListView *list, int row)
{
    const QPoint pos = list->rowRect(row).center();
    QWidget *viewport = list->viewport();
    sendMouse(viewport, QEvent::MouseButtonPress, pos);
    sendMouse(viewport, QEvent::MouseButtonRelease, pos);
    sendMouse(viewport, QEvent::MouseButtonDblClick, pos);
    sendMouse(viewport, QEvent::MouseButtonRelease, pos);
}

void clickRow(ModelListView *list, int row)
{
    const QPoint pos = list->rowRect(row).center();
    sendMouse(list->viewport(), QEvent::MouseButtonPress, pos);
    sendMouse(list->viewport(), QEvent::MouseButtonRelease, pos);
}

formSureItiran *openWindow(FakeMain &main)
{
    auto *window = new formSureItiran(main);
    main.window = window;
    bool loaded = false;
    QObject::connect(window, &formSureItiran::loaded, [&loaded] { loaded = true; });
    window->show();
    testsupport::waitUntil([&] { return loaded; });
    return window;
}

TEST(SureItiran, LoadListsTheBoardAsItWasOpened)
{
    const struct
    {
        qint16 from;
        const char *opener;
        const char *board;
    } cases[] = {{1, "List3_DblClick", "livetv"}, {2, "TreeViewIta_DblClick", "news"}, {3, "comboFavorite_Click", "anime"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.opener);
        FakeMain main;
        main.from = c.from;
        QPointer<formSureItiran> window = openWindow(main);
        EXPECT_EQ(main.calls, QStringList{c.opener});
        ASSERT_EQ(window->List1()->count(), 5);
        EXPECT_TRUE(window->List1()->text(0).contains(c.board));
        EXPECT_TRUE(window->List2()->text(4).contains(QStringLiteral("/%1/1005/l50").arg(c.board)));
        EXPECT_FALSE(window->List2()->isVisible());
        // A second listing while the window exists replaces the first one whole.
        main.listBoard("second");
        EXPECT_EQ(window->List1()->count(), 5);
        EXPECT_TRUE(window->List1()->text(0).contains("second"));
        EXPECT_TRUE(window->List2()->text(0).contains("second"));
        delete window;
    }
}

TEST(SureItiran, BoardNeverOpenedLeavesTheListEmpty)
{
    FakeMain main;
    main.from = 0;
    QPointer<formSureItiran> window = openWindow(main);
    EXPECT_TRUE(main.calls.isEmpty());
    EXPECT_EQ(window->List1()->count(), 0);
    delete window;
}

TEST(SureItiran, ClickSelectsTheSameRowInBothListsAndInTheMainWindow)
{
    FakeMain main;
    QPointer<formSureItiran> window = openWindow(main);
    clickRow(window->List1(), 3);
    EXPECT_EQ(window->List2()->currentRow(), 3);
    EXPECT_EQ(main.list5Row, 3);
    EXPECT_TRUE(window->isVisible());
    delete window;
}

TEST(SureItiran, DoubleClickStartsTheThreadAndCloses)
{
    FakeMain main;
    main.from = 2;
    QPointer<formSureItiran> window = openWindow(main);
    main.calls.clear();
    // A second double click while Start waits for its fetch is not a second start.
    main.duringStart = [&] {
        main.duringStart = nullptr;
        doubleClickRow(window->List1(), 1);
    };
    doubleClickRow(window->List1(), 2);
    // The click of the second double click still selects; only the start is not repeated.
    EXPECT_EQ(main.calls, (QStringList{"select 2", "select 2", "List5_DblClick", "command1Click", "select 1"}));
    ASSERT_TRUE(testsupport::waitUntil([&] { return window.isNull(); }));
}

TEST(SureItiran, MomentumColumnSortsAndARowActsOnItsEntry)
{
    FakeMain main;
    QPointer<formSureItiran> window = openWindow(main);
    QTreeView *table = window->threadTable();
    const QAbstractItemModel *rows = table->model();
    auto cell = [rows](int row, int column) { return rows->index(row, column).data().toString(); };
    constexpr int momentum = ThreadListModel::MomentumColumn;
    ASSERT_EQ(rows->rowCount(), 5);
    EXPECT_EQ(rows->headerData(momentum, Qt::Horizontal).toString(), QStringLiteral("勢い"));
    // Keys a second apart, counts 10 to 50: the busiest is the last entry.
    table->sortByColumn(momentum, Qt::DescendingOrder);
    EXPECT_TRUE(cell(0, 0).startsWith(QStringLiteral("5: ")));
    EXPECT_FALSE(cell(0, momentum).isEmpty());

    const QPoint pos = table->visualRect(rows->index(0, 0)).center();
    sendMouse(table->viewport(), QEvent::MouseButtonPress, pos);
    sendMouse(table->viewport(), QEvent::MouseButtonRelease, pos);
    EXPECT_EQ(main.list5Row, 4);
    EXPECT_EQ(window->List2()->currentRow(), 4);

    table->sortByColumn(0, Qt::AscendingOrder);   // back to the index's order
    EXPECT_TRUE(cell(0, 0).startsWith(QStringLiteral("1: ")));
    delete window;
}

} // namespace
