#include <gtest/gtest.h>

#include <QStyledItemDelegate>

#include "support/GuiApp.h"
#include "view/widgets/KeyedTree.h"
#include "view/widgets/Icons.h"

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
    const int longer = width("M1", big);
    EXPECT_GT(longer, wide);
    tree.item("M1")->setText(0, "M");  // a node renamed is measured again
    EXPECT_LT(width("M1", big), longer);

    // Names summed from their letters come out a pixel wider than the full
    // layout gives them or, where letters are kerned (AV, Ta), a little more:
    // never narrower, whichever name is measured first.
    const QStringList names{"AVATAR_Tabelle", "iiiiiiiiii", "WWWWWWWWWW", "Größe_Ändern", "Tief", "Wolf_j", "a & b", "Ω über"};
    tree.clear();
    for (const QString& name : names) tree.addNode({}, name, name, "M2");
    for (const QFont& font : {tree.font(), big})
        for (const QString& name : names) {
            QStyleOptionViewItem option;
            option.initFrom(&tree);
            option.font = font;
            option.decorationSize = tree.iconSize();
            const int full = QStyledItemDelegate().sizeHint(option, tree.indexFromItem(tree.item(name))).width();
            EXPECT_GE(width(name, font), full) << name.toStdString();
            EXPECT_LE(width(name, font), full * 11 / 10 + 1) << name.toStdString();
        }
}

// Nodes left for later: their parent shows its arrow before they exist;
// opening, looking up or listing makes them, and every listing comes out as
// from a tree that made them at once.
TEST(KeyedTreeTest, NodesLeftForLaterComeOutAsIfMadeAtOnce) {
    test::guiApp();
    struct Routines : NodeSource {
        QString key(int at) const override { return "R" + QString::number(at + 1); }
        QString text(int at) const override { return "Routine" + QString::number(at + 1); }
        QString imageKey(int at) const override { return at % 2 ? "R1O1" : "R2O2"; }
        int find(const QString& key) const override {
            const int n = key.startsWith('R') ? key.mid(1).toInt() : 0;
            return n >= 1 && n <= 5 ? n - 1 : -1;
        }
    };
    const auto source = std::make_shared<Routines>();
    KeyedTree lazy;
    NodeList eager;
    for (NodeTree* tree : std::initializer_list<NodeTree*>{&lazy, &eager}) {
        tree->setRedraw(false);
        for (const QString m : {"M1", "M2", "M3"}) tree->addNode({}, m, m, "M2");
        EXPECT_TRUE(tree->addNodesLater("M2", source, 0, 2));
        EXPECT_TRUE(tree->addNodesLater("M1", source, 2, 5));
        EXPECT_FALSE(tree->addNodesLater("M9", source, 0, 1));
        tree->setRedraw(true);
    }
    const auto index = [&lazy](const QString& key) { return lazy.indexFromItem(lazy.item(key)); };
    EXPECT_EQ(lazy.nodeCount(), 8);
    EXPECT_TRUE(lazy.hasNode("R4"));
    EXPECT_EQ(lazy.nodeText("R4"), "Routine4");
    EXPECT_EQ(lazy.item("M1")->childCount(), 0);
    EXPECT_TRUE(lazy.model()->hasChildren(index("M1")));
    EXPECT_FALSE(lazy.model()->hasChildren(index("M3")));
    lazy.item("M1")->setExpanded(true);
    ASSERT_EQ(lazy.item("M1")->childCount(), 3);
    EXPECT_EQ(lazy.item("M1")->child(0)->text(0), "Routine3");
    EXPECT_EQ(lazy.item("R2")->parent(), lazy.item("M2"));  // of a module never opened
    EXPECT_TRUE(lazy.addNode("M2", "R9", "Neu", "R1O1"));
    EXPECT_FALSE(lazy.addNode("M3", "R5", "Doppelt", "R1O1"));
    eager.addNode("M2", "R9", "Neu", "R1O1");
    const auto listed = [](const NodeList& tree) {
        QStringList out;
        for (const ListedNode& n : tree.nodes()) out << n.parentKey + "/" + n.key + "/" + n.text + "/" + n.imageKey;
        return out;
    };
    EXPECT_EQ(listed(lazy.outline()), listed(eager));
    EXPECT_EQ(lazy.nodeCount(), 9);
}
