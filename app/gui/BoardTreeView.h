#pragma once
// TreeViewIta: the board menu as a tree of categories and boards, with keyed nodes as the
// board-menu loader gives them (category "K<n>", board "<address>K<n>").

#include "core/Patterns.h"

#include <QHash>
#include <QTreeWidget>

class BoardTreeView : public QTreeWidget, public BoardTreeSink
{
    Q_OBJECT
public:
    explicit BoardTreeView(QWidget *parent = nullptr);

    // BoardTreeSink: a node under parentKey (top level when empty). A key seen before, or a
    // parent key not seen yet, adds the node at the top level under its own key so nothing of
    // the menu is lost.
    void addNode(const QString &key, const QString &text, const QString &parentKey) override;
    // Empties the tree and the key index.
    void clearNodes();
    // A board menu just loaded: the tree empties; in the tree form it is built from the page
    // and shown over the board list, otherwise it hides.
    void showBoardMenu(const QString &page, bool wholeTree);

    QTreeWidgetItem *node(const QString &key) const { return m_nodes.value(key); }
    static QString keyOf(const QTreeWidgetItem *item);

private:
    QHash<QString, QTreeWidgetItem *> m_nodes;
};
