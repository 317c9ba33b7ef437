#pragma once
// The board menu as a tree of categories and boards with keyed nodes, as the board-menu loader
// gives them (category "K<n>", board "<address>K<n>"): what TreeViewIta shows. A node whose
// parent key is not known yet goes to the top level, so nothing of the menu is lost; when a key
// comes twice, node() finds the first.

#include "core/Patterns.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QList>

class BoardTreeModel : public QAbstractItemModel, public BoardTreeSink
{
    Q_OBJECT
public:
    static constexpr int KeyRole = Qt::UserRole;

    explicit BoardTreeModel(QObject *parent = nullptr);

    // BoardTreeSink: a node under parentKey (top level when empty or unknown).
    void addNode(const QString &key, const QString &text, const QString &parentKey) override;
    // The whole tree anew from a board menu page.
    void buildFromPage(const QString &page);
    void clear();

    QModelIndex node(const QString &key) const;
    static QString keyOf(const QModelIndex &index);

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    struct Node
    {
        QString key;
        QString text;
        int parent = -1;  // node id, -1 at the top level
        int row = 0;      // among its siblings
        QList<int> children;
    };
    const QList<int> &childrenOf(const QModelIndex &parent) const;
    QModelIndex indexOf(int id) const;

    QList<Node> m_nodes;  // the node id is the position here
    QList<int> m_top;
    QHash<QString, int> m_byKey;
    bool m_building = false;  // inside a reset: no insert notices
};
