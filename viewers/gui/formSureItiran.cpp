#include "viewers/gui/formSureItiran.h"

#include "net/ThreadListModel.h"
#include "platform/gui/ModelListView.h"

#include <QDateTime>
#include <QHeaderView>
#include <QPointer>
#include <QSortFilterProxyModel>
#include <QTimer>
#include <QTreeView>

namespace {

// The table's view of the thread list: its captions, sorted by the model's SortRole.
class SortedThreads : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
            if (section == ThreadListModel::EntryColumn)
                return QStringLiteral("スレッド");
            if (section == ThreadListModel::MomentumColumn)
                return QStringLiteral("勢い");
        }
        return QSortFilterProxyModel::headerData(section, orientation, role);
    }
};

} // namespace

formSureItiran::formSureItiran(ThreadListHost &host, QWidget *parent)
    : ViewerWindow(parent)
    , m_host(host)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("スレッド一覧"));
    resize(520, 640);
    m_threads = new ThreadListModel(this);
    m_list1 = new ModelListView(m_threads, ThreadListModel::EntryColumn, this);
    m_list1->hide();
    m_list2 = new ModelListView(m_threads, ThreadListModel::AddressColumn, this);
    m_list2->hide();

    m_sorted = new SortedThreads(this);
    m_sorted->setSourceModel(m_threads);
    m_sorted->setSortRole(ThreadListModel::SortRole);
    m_table = new QTreeView(this);
    m_table->setObjectName(QStringLiteral("threadTable"));
    m_table->setRootIsDecorated(false);
    m_table->setUniformRowHeights(true);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setModel(m_sorted);
    m_table->setColumnHidden(ThreadListModel::AddressColumn, true);
    m_table->header()->setStretchLastSection(false);
    m_table->header()->setSectionResizeMode(ThreadListModel::EntryColumn, QHeaderView::Stretch);
    m_table->header()->setSectionResizeMode(ThreadListModel::MomentumColumn, QHeaderView::ResizeToContents);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(ThreadListModel::EntryColumn, Qt::AscendingOrder);
    connect(m_table, &QTreeView::clicked, this, [this] { tableRowChosen(false); });
    connect(m_table, &QTreeView::doubleClicked, this, [this] { tableRowChosen(true); });
    connect(m_list1, &QListView::clicked, this, &formSureItiran::List1_Click);
    connect(m_list1, &QListView::doubleClicked, this, &formSureItiran::List1_DblClick);
}

void formSureItiran::firstShown()
{
    // The board opener waits for the index with window events running; it runs from the event
    // loop rather than inside the show.
    QTimer::singleShot(0, this, &formSureItiran::Form_Load);
}

void formSureItiran::layoutControls()
{
    m_table->setGeometry(0, 0, width(), height());
}

void formSureItiran::Form_Load()
{
    m_threads->clear();
    QPointer<formSureItiran> self(this);
    reopenBoardAsOpened(m_host);
    if (self)
        emit self->loaded();
}

void formSureItiran::setThreadLists(const QStringList &entries, const QStringList &addresses)
{
    m_threads->setThreads(entries, addresses, QDateTime::currentSecsSinceEpoch());
}

void formSureItiran::tableRowChosen(bool doubleClick)
{
    const QModelIndex row = m_sorted->mapToSource(m_table->currentIndex());
    if (!row.isValid())
        return;
    m_list1->setCurrentRow(row.row());
    if (doubleClick)
        List1_DblClick();
    else
        List1_Click();
}

void formSureItiran::List1_Click()
{
    const int index = m_list1->currentRow();
    m_list2->setCurrentRow(index);
    m_host.selectList5Row(index);
}

void formSureItiran::List1_DblClick()
{
    // Start waits for its fetch with events running; a second double click meanwhile would
    // start another thread under it.
    if (m_starting)
        return;
    m_starting = true;
    QPointer<formSureItiran> self(this);
    // The row double-clicked is the thread started, even when no click selected it in List5.
    List1_Click();
    m_host.List5_DblClick();
    if (!self)
        return;
    m_host.command1Click();
    if (!self)
        return;
    m_starting = false;
    close();
}
