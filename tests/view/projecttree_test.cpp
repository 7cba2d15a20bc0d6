#include <gtest/gtest.h>

#include <map>

#include "model/CodeDatabase.h"
#include "model/StoreCheck.h"
#include "navigate/StoreFixture.h"
#include "view/NodeList.h"
#include "view/ProjectTree.h"

using namespace lumo;

namespace {

QStringList keys(const NodeList& tree) {
    QStringList out;
    for (const ListedNode& n : tree.nodes()) out << n.key;
    return out;
}

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
    NodeList tree;
    tree.addNode({}, "alt", "alt", "M2");
    EXPECT_EQ(fillModuleTree(tree, store), 5);
    addRoutineNodes(tree, store);
    EXPECT_EQ(keys(tree), (QStringList{"M5", "M3", "M1", "M2", "M4", "R2", "R1", "R3"}));
    EXPECT_EQ(tree.find("M2")->imageKey, "M3");
    EXPECT_EQ(tree.find("R2")->parentKey, "M1");
    EXPECT_EQ(tree.find("R2")->text, "A");
    EXPECT_EQ(tree.find("R2")->imageKey, "R2O1");
    EXPECT_EQ(tree.find("R3")->imageKey, "R12O3");
    EXPECT_EQ(tree.redrawOff, 0);

    NodeList together;  // from rows read before, in one step
    together.addNode({}, "alt", "alt", "M2");
    EXPECT_EQ(fillProjectTree(together, {modulesByTypeAndName(store), routinesByModuleAndName(store)}), 5);
    EXPECT_EQ(keys(together), keys(tree));
    EXPECT_EQ(together.find("R2")->parentKey, "M1");
    EXPECT_EQ(together.find("R3")->imageKey, "R12O3");
    EXPECT_EQ(together.redrawOff, 0);

    ProjectRows checked;  // as the store's check hands them: each module put in name order when needed
    store.execute("UPDATE td_mod SET mod_zeilen = 20");
    store.execute("UPDATE td_rout SET anz_dec_zeilen = 1");
    ASSERT_EQ(storeDamage(store, &checked), QString());
    ASSERT_FALSE(checked.namesSorted);
    NodeList fromCheck;
    fillProjectTree(fromCheck, checked);
    EXPECT_EQ(keys(fromCheck), keys(tree));

    NodeList callers;
    moduleSearchNode(callers, store, 4);
    moduleSearchNode(callers, store, 9);
    EXPECT_EQ(keys(callers), QStringList{"M4"});
    EXPECT_EQ(callers.find("M4")->imageKey, "M5");
}

TEST_F(ProjectTreeTest, EmptyProjectLeavesAnEmptyTree) {
    NodeList tree;
    EXPECT_EQ(fillModuleTree(tree, store), 0);
    addRoutineNodes(tree, store);
    EXPECT_EQ(tree.nodeCount(), 0);
}

TEST(HighlightModuleNode, MovesTheMarkAndToleratesMissingNodes) {
    NodeList tree;
    tree.addNode({}, "M1", "A", "M2");
    tree.addNode({}, "M2", "B", "M2");
    ModuleTreeState state;
    highlightModuleNode(tree, state, 0);
    EXPECT_EQ(tree.find("M1")->background, 0x000000u);
    EXPECT_EQ(tree.find("M1")->foreground, 0xFFFF00u);
    highlightModuleNode(tree, state, 1);
    EXPECT_EQ(tree.find("M1")->background, 0xFFFFFFu);
    EXPECT_EQ(tree.find("M1")->foreground, 0x000000u);
    EXPECT_EQ(tree.find("M2")->foreground, 0xFFFF00u);
    highlightModuleNode(tree, state, 7);
    EXPECT_EQ(state.highlightedModuleKey, "M8");
    EXPECT_EQ(tree.find("M2")->background, 0xFFFFFFu);
}
