#pragma once
// TreeViewIta: the board menu's tree of categories and boards (net/BoardTreeModel.h). A double
// click folds a category; on a board it is the window's to handle.

#include <QTreeView>

class BoardTreeView : public QTreeView
{
    Q_OBJECT
public:
    explicit BoardTreeView(QWidget *parent = nullptr);
};
