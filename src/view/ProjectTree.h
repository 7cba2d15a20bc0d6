#pragma once
// Fills the trees of modules and routines from the working store and keeps
// track of which module's code view is shown.
#include <QString>

namespace lumo {

class NodeTree;
class WorkingStore;

// State shared by treProjekt and treRoutSuche.
struct ModuleTreeState {
    int moduleCount = 0;
    QString highlightedModuleKey;  // key of the module node drawn highlighted
    bool ignoreNextNodeClick = false;
};

// Module nodes, grouped by module type and alphabetical within a type.
// Returns the number of modules. Throws StoreError.
int fillModuleTree(NodeTree& tree, WorkingStore& store);
// Every routine under its module node, alphabetical within the module. Throws StoreError.
void addRoutineNodes(NodeTree& tree, WorkingStore& store);
// Adds the node of module `moduleNumber` to the caller tree when it exists. Throws StoreError.
void moduleSearchNode(NodeTree& tree, WorkingStore& store, int moduleNumber);
void expandAllNodes(NodeTree& tree);
// Draws the node of the shown module (0-based index `currentModule`) black on
// yellow, the one drawn before back to normal. A missing node is no failure.
void highlightModuleNode(NodeTree& tree, ModuleTreeState& state, int currentModule);

QString moduleKey(int moduleNumber);   // "M" + number
QString routineKey(int routineNumber); // "R" + number

}  // namespace lumo
