#include "viewers/gui/formSureItiran.h"

#include "net/ThreadSummary.h"

#include <QDateTime>
#include <QHeaderView>
#include <QListWidget>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>

namespace {

constexpr int kEntryColumn = 0;
constexpr int kMomentumColumn = 1;
// Per column: the entry's index in List1, or its momentum (-1 when unknown, so it sorts below 0).
constexpr int kSortRole = Qt::UserRole;

class ThreadRow : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : kEntryColumn;
        return data(column, kSortRole).toDouble() < other.data(column, kSortRole).toDouble();
    }
};

} // namespace

formSureItiran::formSureItiran(ThreadListHost &host, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_host(host)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("スレッド一覧"));
    resize(520, 640);
    m_list1 = new QListWidget(this);
    m_list1->hide();
    m_list2 = new QListWidget(this);
    m_list2->hide();
    m_table = new QTreeWidget(this);
    m_table->setObjectName(QStringLiteral("threadTable"));
    m_table->setRootIsDecorated(false);
    m_table->setHeaderLabels({QStringLiteral("スレッド"), QStringLiteral("勢い")});
    m_table->header()->setStretchLastSection(false);
    m_table->header()->setSectionResizeMode(kEntryColumn, QHeaderView::Stretch);
    m_table->header()->setSectionResizeMode(kMomentumColumn, QHeaderView::ResizeToContents);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(kEntryColumn, Qt::AscendingOrder);
    connect(m_table, &QTreeWidget::itemClicked, this, [this] { tableRowChosen(false); });
    connect(m_table, &QTreeWidget::itemDoubleClicked, this, [this] { tableRowChosen(true); });
    connect(m_list1, &QListWidget::itemClicked, this, [this](QListWidgetItem *) { List1_Click(); });
    connect(m_list1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *) { List1_DblClick(); });
}

void formSureItiran::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_loadStarted)
        return;
    m_loadStarted = true;
    // The board opener waits for the index with window events running; it runs from the event
    // loop rather than inside the show.
    QTimer::singleShot(0, this, &formSureItiran::Form_Load);
}

void formSureItiran::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_table->setGeometry(0, 0, width(), height());
}

void formSureItiran::Form_Load()
{
    m_list1->clear();
    m_table->clear();
    QPointer<formSureItiran> self(this);
    reopenBoardAsOpened(m_host);
    if (self)
        emit self->loaded();
}

void formSureItiran::setThreadLists(const QStringList &entries, const QStringList &addresses)
{
    m_list1->clear();
    m_list2->clear();
    m_list1->addItems(entries);
    m_list2->addItems(addresses);

    m_table->clear();
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    QList<QTreeWidgetItem *> rows;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const std::optional<double> momentum =
            momentumPerHour(summariseThread(entries.at(i), addresses.value(i)), now);
        auto *row = new ThreadRow({entries.at(i), momentumText(momentum)});
        row->setData(kEntryColumn, kSortRole, double(i));
        row->setData(kMomentumColumn, kSortRole, momentum.value_or(-1.0));
        row->setTextAlignment(kMomentumColumn, Qt::AlignRight | Qt::AlignVCenter);
        rows << row;
    }
    m_table->addTopLevelItems(rows);
}

void formSureItiran::tableRowChosen(bool doubleClick)
{
    const QTreeWidgetItem *row = m_table->currentItem();
    if (!row)
        return;
    m_list1->setCurrentRow(int(row->data(kEntryColumn, kSortRole).toDouble()));
    if (doubleClick)
        List1_DblClick();
    else
        List1_Click();
}

void formSureItiran::List1_Click()
{
    const int index = m_list1->currentRow();
    if (index < m_list2->count())
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
