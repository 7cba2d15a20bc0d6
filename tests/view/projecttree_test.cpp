#include <gtest/gtest.h>

#include <map>

#include "navigate/StoreFixture.h"
#include "view/NodeTree.h"
#include "view/ProjectTree.h"

using namespace lumo;

namespace {

struct FakeNode {
    QString parent, key, text, image;
    quint32 bg = 0xFFFFFF, fg = 0;
};

class FakeTree : public NodeTree {
public:
    std::vector<FakeNode> nodes;
    bool expanded = false;
    int redrawOff = 0;

    void clear() override { nodes.clear(); }
    bool addNode(const QString& p, const QString& k, const QString& t, const QString& i) override {
        if (find(k) || (!p.isEmpty() && !find(p))) return false;
        nodes.push_back({p, k, t, i});
        return true;
    }
    int nodeCount() const override { return int(nodes.size()); }
    bool hasNode(const QString& k) const override { return const_cast<FakeTree*>(this)->find(k); }
    QString nodeText(const QString& k) const override {
        auto* n = const_cast<FakeTree*>(this)->find(k);
        return n ? n->text : QString();
    }
    void expandAll() override { expanded = true; }
    bool setNodeColors(const QString& k, quint32 b, quint32 f) override {
        auto* n = find(k);
        if (!n) return false;
        n->bg = b;
        n->fg = f;
        return true;
    }
    void setRedraw(bool on) override { redrawOff += on ? -1 : 1; }
    FakeNode* find(const QString& k) {
        for (auto& n : nodes)
            if (n.key == k) return &n;
        return nullptr;
    }
    QStringList keys() const {
        QStringList out;
        for (auto& n : nodes) out << n.key;
        return out;
    }
};

class ProjectTreeTest : public lumo::test::StoreFixture {};

}  // namespace

TEST_F(ProjectTreeTest, ModulesByTypeThenNameAndRoutinesByNameWithinTheirModule) {
    addModule(1, "zeta", 2);
    addModule(2, "Ärger", 3);
    addModule(3, "Alpha", 2);
    addModule(4, "DieseDatei", 5);
    addModule(5, "frmStart", 1);
    addRoutine(1, 1, "b", 1, 2, 1, 2);
    addRoutine(2, 1, "A", 2, 1, 3, 4);
    addRoutine(3, 3, "Laden", 12, 3, 1, 1);
    FakeTree tree;
    tree.addNode({}, "alt", "alt", "M2");
    EXPECT_EQ(fillModuleTree(tree, store), 5);
    addRoutineNodes(tree, store);
    EXPECT_EQ(tree.keys(), (QStringList{"M5", "M3", "M1", "M2", "M4", "R2", "R1", "R3"}));
    EXPECT_EQ(tree.find("M2")->image, "M3");
    EXPECT_EQ(tree.find("R2")->parent, "M1");
    EXPECT_EQ(tree.find("R2")->text, "A");
    EXPECT_EQ(tree.find("R2")->image, "R2O1");
    EXPECT_EQ(tree.find("R3")->image, "R12O3");
    EXPECT_EQ(tree.redrawOff, 0);

    FakeTree callers;
    moduleSearchNode(callers, store, 4);
    moduleSearchNode(callers, store, 9);
    EXPECT_EQ(callers.keys(), QStringList{"M4"});
    EXPECT_EQ(callers.find("M4")->image, "M5");
}

TEST_F(ProjectTreeTest, EmptyProjectLeavesAnEmptyTree) {
    FakeTree tree;
    EXPECT_EQ(fillModuleTree(tree, store), 0);
    addRoutineNodes(tree, store);
    EXPECT_EQ(tree.nodeCount(), 0);
}

TEST(HighlightModuleNode, MovesTheMarkAndToleratesMissingNodes) {
    FakeTree tree;
    tree.addNode({}, "M1", "A", "M2");
    tree.addNode({}, "M2", "B", "M2");
    ModuleTreeState state;
    highlightModuleNode(tree, state, 0);
    EXPECT_EQ(tree.find("M1")->bg, 0x000000u);
    EXPECT_EQ(tree.find("M1")->fg, 0xFFFF00u);
    highlightModuleNode(tree, state, 1);
    EXPECT_EQ(tree.find("M1")->bg, 0xFFFFFFu);
    EXPECT_EQ(tree.find("M1")->fg, 0x000000u);
    EXPECT_EQ(tree.find("M2")->fg, 0xFFFF00u);
    highlightModuleNode(tree, state, 7);
    EXPECT_EQ(state.highlightedModuleKey, "M8");
    EXPECT_EQ(tree.find("M2")->bg, 0xFFFFFFu);
}
