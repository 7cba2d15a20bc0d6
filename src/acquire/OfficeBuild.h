#pragma once
// Reads the ticked components of the host's projects into a fresh working
// store, module after module through the tagging pipeline.
#include <functional>
#include <vector>

#include <QString>

#include "acquire/HostInterface.h"
#include "acquire/OfficeListing.h"
#include "base/Limits.h"
#include "base/Progress.h"
#include "base/StatusPanel.h"
#include "model/ProjectBuild.h"

namespace lumo {

class Ui;

// The module type code of the store (td_mod) for a host component type:
// 100 -> 5 document, 1 -> 2 standard, 2 -> 3 class, 3 -> 1 user form, else 32.
int moduleTypeOfComponent(int componentType);

// Status panel text: PanelModule ("Modul: " + name) and PanelOperation ("Erzeuge Projekt",
// emptied at the end). The window redraws its status bar in it.
using BuildStatus = std::function<void(StatusPanel panel, const QString& text)>;

struct OfficeBuildResult {
    bool ok = false;
    QString projectName;  // the name of the host project read (the tree's Tag)
    int modules = 0;      // the modules read into the store
    std::vector<LeftOutModule> leftOut;
    // The module the warning is titled with: the one being read when the
    // build failed, or the first left out. PanelOperation keeps naming it.
    QString failedModule;
    // The user stopped the build: ok is false and nothing was reported.
    bool stopped = false;
    // The ticked modules together pass the source-text budget: nothing was
    // read or made, the message said so, the ticks may be changed and tried again.
    bool overBudget = false;
};

// Reads every ticked component node of tree (a ticked project node
// contributes through its ticked children) in index order. The working
// store is made afresh in AppState::workFolder. A component whose code
// cannot be parsed is left out and the build goes on; when any was left
// out, the warning (exclamation icon) lists them after its ten lines, and ok
// is true as long as one module was read. Any other failure after the store
// was made (the host or the store) ends the build: the same warning and ok
// false; the modules read before stay in the store. A host that cannot be
// reached gives ok false without a message. Each module is a step of
// progress; stopped there, the build ends without a message (stopped).
// Ticked modules whose text together passes sourceBudget are refused before
// anything is made, with a message naming both sizes (overBudget).
OfficeBuildResult buildFromOffice(HostConnector& connector, const AppTree& tree, Ui& ui,
                                  const BuildStatus& status = {}, Progress& progress = noProgress(),
                                  qint64 sourceBudget = kMaxSourceText);

// The refusal of ticked modules of `size` characters over `budget`.
QString tickedOverBudgetMessage(qint64 size, qint64 budget);

// The main window's caption after a successful build.
QString builtProjectCaption(const QString& titleText, const QString& projectName);

}  // namespace lumo
