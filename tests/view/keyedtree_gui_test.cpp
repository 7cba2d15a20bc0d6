#include <gtest/gtest.h>

#include "support/GuiApp.h"
#include "view/widgets/KeyedTree.h"
#include "view/widgets/TreeImages.h"

using namespace lumo;

// Nodes answer key, picture key and picture themselves, and the sizes the
// tree is laid out with follow the font and the names shown.
TEST(KeyedTreeTest, NodesKeepTheirKeysAndSizesFollowFontAndNames) {
    test::guiApp();
    KeyedTree tree;
    int asked = 0;
    tree.setImageSource([&asked](const QString& key) {
        ++asked;
        return treeIcon(key);
    });
    tree.setRedraw(false);
    EXPECT_TRUE(tree.addNode({}, "M1", "Modul", "M2"));
    EXPECT_TRUE(tree.addNode("M1", "R1", "Lesen", "R1O1"));
    EXPECT_FALSE(tree.addNode("M1", "R1", "Doppelt", "R1O1"));
    EXPECT_FALSE(tree.addNode("M9", "R2", "Waise", "R1O1"));
    tree.setRedraw(true);
    tree.expandAll();
    tree.show();
    EXPECT_EQ(KeyedTree::keyOf(tree.item("R1")), "R1");
    EXPECT_EQ(tree.item("R1")->parent(), tree.item("M1"));
    EXPECT_EQ(tree.outline().find("R1")->imageKey, "R1O1");
    EXPECT_FALSE(tree.item("R1")->icon(0).isNull());
    EXPECT_EQ(tree.item("R1")->icon(0).cacheKey(), tree.item("R1")->icon(0).cacheKey());
    EXPECT_LE(asked, 2);

    // The width the tree sizes its column with, for the node of key.
    const auto width = [&tree](const QString& key, const QFont& font) {
        QStyleOptionViewItem option;
        option.initFrom(&tree);
        option.font = font;
        option.decorationSize = tree.iconSize();
        return tree.itemDelegate()->sizeHint(option, tree.indexFromItem(tree.item(key))).width();
    };
    const int narrow = width("M1", tree.font());
    EXPECT_EQ(width("M1", tree.font()), narrow);
    QFont big = tree.font();
    big.setPointSize(big.pointSize() * 3);
    const int wide = width("M1", big);
    EXPECT_GT(wide, narrow);
    tree.clear();
    tree.addNode({}, "M1", "Modul mit einem viel längeren Namen", "M2");
    EXPECT_GT(width("M1", big), wide);
}
