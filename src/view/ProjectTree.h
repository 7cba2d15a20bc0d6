#pragma once
// Fills the trees of modules and routines from the working store and keeps
// track of which module's code view is shown.
#include <QString>

#include "base/Progress.h"

namespace lumo {

class NodeTree;
class WorkingStore;
struct ProjectRows;

// State shared by treProjekt and treRoutSuche.
struct ModuleTreeState {
    int moduleCount = 0;
    QString highlightedModuleKey;  // key of the module node drawn highlighted
    bool ignoreNextNodeClick = false;
};

// Module nodes, grouped by module type and alphabetical within a type.
// Returns the number of modules. Throws StoreError.
int fillModuleTree(NodeTree& tree, WorkingStore& store);
// Every routine under its module node, alphabetical within the module (a
// tree that can makes the nodes when first needed); each module is a step of
// progress, and a stop there leaves the later modules without their
// routines. Throws StoreError.
void addRoutineNodes(NodeTree& tree, WorkingStore& store, Progress& progress = noProgress());
// Both from the rows of storeDamage, in one step for the tree: the modules
// as fillModuleTree, then the routines as addRoutineNodes. Returns the number of modules.
int fillProjectTree(NodeTree& tree, const ProjectRows& rows, Progress& progress = noProgress());
// Adds the node of module `moduleNumber` to the caller tree when it exists. Throws StoreError.
void moduleSearchNode(NodeTree& tree, WorkingStore& store, int moduleNumber);
void expandAllNodes(NodeTree& tree);
// Draws the node of the shown module (0-based index `currentModule`) black on
// yellow, the one drawn before back to normal. A missing node is no failure.
void highlightModuleNode(NodeTree& tree, ModuleTreeState& state, int currentModule);

QString moduleKey(int moduleNumber);   // "M" + number
QString routineKey(int routineNumber); // "R" + number

}  // namespace lumo
