#include "viewers/gui/formSureItiran.h"

#include <QListWidget>
#include <QPointer>
#include <QTimer>

formSureItiran::formSureItiran(ThreadListHost &host, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_host(host)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("スレッド一覧"));
    resize(520, 640);
    m_list1 = new QListWidget(this);
    m_list2 = new QListWidget(this);
    m_list2->hide();
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
    m_list1->setGeometry(0, 0, width(), height());
}

void formSureItiran::Form_Load()
{
    m_list1->clear();
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
