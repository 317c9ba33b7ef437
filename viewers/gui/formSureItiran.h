#pragma once
// The thread-list window: a larger copy of the current board's thread list. On load it re-opens
// the board the way it was opened, so a fresh index fills it; a double click starts the thread
// and closes the window (which then deletes itself).
//
// formMain keeps a QPointer to it and, in listThreads, calls setThreadLists with List5's and
// List6's entries whenever the window exists. Callers place it before showing it.
//
// The window holds its copy of the thread list as a model (entry, address, momentum). What the
// user sees is threadTable, the model through a sorting proxy: the entries with each thread's
// momentum (responses per hour since its key, at the time of listing) beside them, sortable by
// either column. The hidden List1 and List2 show the entries and the addresses in index order; a
// row of the table acts on its entry of List1.

#include "viewers/ViewerHosts.h"

#include "viewers/gui/ViewerWindow.h"

class ModelListView;
class QSortFilterProxyModel;
class QTreeView;
class ThreadListModel;

class formSureItiran : public ViewerWindow
{
    Q_OBJECT
public:
    explicit formSureItiran(ThreadListHost &host, QWidget *parent = nullptr);

    // listThreads: empties both lists, then copies the thread entries and their addresses.
    void setThreadLists(const QStringList &entries, const QStringList &addresses);

    ModelListView *List1() const { return m_list1; } // thread entries, as in List5
    ModelListView *List2() const { return m_list2; } // thread page addresses, as in List6 (hidden)
    QTreeView *threadTable() const { return m_table; }

    void List1_Click();
    void List1_DblClick();

signals:
    // The board has been re-opened (the load's fetch is over, successful or not).
    void loaded();

private:
    void firstShown() override;
    void layoutControls() override;
    void Form_Load();
    void tableRowChosen(bool doubleClick);

    ThreadListHost &m_host;
    ThreadListModel *m_threads = nullptr;
    QSortFilterProxyModel *m_sorted = nullptr;
    ModelListView *m_list1 = nullptr;
    ModelListView *m_list2 = nullptr;
    QTreeView *m_table = nullptr;
    bool m_starting = false; // a double click's Start is waiting for its fetch
};
