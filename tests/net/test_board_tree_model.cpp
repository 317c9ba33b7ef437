// The board tree's model: nodes under their parents by key, nothing of the menu lost.

#include "net/BoardTreeModel.h"

#include <gtest/gtest.h>

namespace {

TEST(BoardTreeModel, NodesGoUnderTheirParentsAndStrayNodesToTheTop)
{
    BoardTreeModel tree;
    tree.addNode("K1", "実況ch", QString());
    tree.addNode("http://h/a/K1", "a", "K1");
    tree.addNode("http://h/b/K1", "b", "K1");
    tree.addNode("http://h/c/K9", "c", "K9");     // parent not seen: top level
    tree.addNode("http://h/a/K1", "a again", "K1"); // a key twice: listed, node() finds the first

    ASSERT_EQ(tree.rowCount(), 2);
    const QModelIndex category = tree.node("K1");
    EXPECT_EQ(tree.rowCount(category), 3);
    const QModelIndex b = tree.index(1, 0, category);
    EXPECT_EQ(b.data().toString(), QStringLiteral("b"));
    EXPECT_EQ(b.parent(), category);
    EXPECT_EQ(BoardTreeModel::keyOf(b.parent()), QStringLiteral("K1"));
    EXPECT_EQ(tree.node("http://h/a/K1").data().toString(), QStringLiteral("a"));
    EXPECT_FALSE(tree.node("http://h/c/K9").parent().isValid());
    EXPECT_FALSE(tree.node("none").isValid());

    tree.clear();
    EXPECT_EQ(tree.rowCount(), 0);
    EXPECT_FALSE(tree.node("K1").isValid());
}

} // namespace
