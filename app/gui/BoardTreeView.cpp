#include "app/gui/BoardTreeView.h"

#include <QHeaderView>

BoardTreeView::BoardTreeView(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
}

void BoardTreeView::addNode(const QString &key, const QString &text, const QString &parentKey)
{
    QTreeWidgetItem *parent = parentKey.isEmpty() ? nullptr : m_nodes.value(parentKey);
    auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, text);
    item->setData(0, Qt::UserRole, key);
    if (!m_nodes.contains(key))
        m_nodes.insert(key, item);
}

void BoardTreeView::clearNodes()
{
    clear();
    m_nodes.clear();
}

void BoardTreeView::showBoardMenu(const QString &page, bool wholeTree)
{
    clearNodes();
    setVisible(wholeTree);
    if (!wholeTree)
        return;
    raise();
    buildBoardTree(page, *this);
}

QString BoardTreeView::keyOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}
