#pragma once
// The lines that reference a routine, one entry per line: where the caller
// tree lists each calling routine once, these are its call sites, to jump
// to the call itself. Found with the caller search's own rule and in the
// same modules.
#include <optional>
#include <vector>

#include <QString>

namespace lumo {

class NodeTree;
class Ui;
class WorkingStore;

struct CallSite {
    int module = 0;  // mod_num
    QString moduleName;
    int line = 0;     // 1-based
    QString routine;  // the routine covering the line, "" outside every routine
    int routineNumber = 0;  // its rou_num, 0 outside every routine
    QString text;     // the line as the code view shows it
};

class NameResolver;
struct NameReference;

// The sites of the references found (by module, then line), one per line,
// with module name, covering routine and shown text.
std::vector<CallSite> sitesOf(NameResolver& resolver, const std::vector<NameReference>& references);

// The call sites of routine `routineNumber` in module `module` (0: in every
// module), as the resolver finds them.
std::vector<CallSite> callSitesOf(NameResolver& resolver, int routineNumber, int module = 0);

// The call sites of routine `name` of module `moduleNumber`, searched where
// the caller search would search them: a Private routine only in its
// module, any other in all `moduleCount` modules. Nothing, after telling
// the user, for a routine the caller search refuses (unknown, a property);
// when a module text or the store fails, the user is told and what was
// found is kept.
std::optional<std::vector<CallSite>> callSitesOfRoutine(WorkingStore& store, const QString& name, int moduleNumber,
                                                        int moduleCount, Ui& ui);

// "Zeile 112: Set client = New WebClient": a call site as a node text.
QString callSiteLabel(const CallSite& site);

// The key of a call site's node, and the module number and line back from
// it (nothing for the key of any other node).
QString callSiteKey(int module, int line);
std::optional<std::pair<int, int>> callSiteOfKey(const QString& key);

// Adds the call sites of routine `routineNumber` in module `module` beneath
// the routine nodes of a caller tree (routineKey), one node per line; sites
// of routines the tree does not list are left out. Throws StoreError.
void addCallSiteNodes(NodeTree& tree, WorkingStore& store, int routineNumber, int module);

}  // namespace lumo
