// "codelumo-cli callers": the callers of a routine of a built project, as
// the window's caller tree lists them, with the same rules (a Private
// routine only in its module, the same identifier characters).
#include <QTextStream>

#include "base/TextHelpers.h"
#include "cli/Arguments.h"
#include "cli/CliCommand.h"
#include "cli/ConsoleUi.h"
#include "cli/ProjectFolder.h"
#include "model/WorkingStore.h"
#include "navigate/Callers.h"
#include "view/NodeList.h"

namespace lumo::cli {

namespace {

const char* const kUsage = "callers --module N --routine NAME ORDNER";

int runCallers(const QStringList& args) {
    int module = 0;
    QString routine;
    Arguments call;
    call.number("module", module).text("routine", routine);
    if (!call.read(args) || module < 1 || routine.isEmpty() || !call.hasWords(1)) return usageError(kUsage);
    const QString& folder = call.words()[0];
    int count = 0;
    if (!openProjectFolder(folder, module, count)) return 1;
    ConsoleUi ui;
    NodeList tree;
    const CallersOutcome outcome = callersCommand(tree, WorkingStore::instance(), routine, module - 1, count, ui);
    QTextStream out(stdout);
    for (const ListedNode& n : tree.nodes()) {
        if (!n.parentKey.isEmpty()) out << '\t';
        out << visibleControls(n.key) << '\t' << visibleControls(n.text) << '\t' << n.imageKey << '\n';
    }
    out.flush();
    WorkingStore::instance().closeWorkingDatabase();
    // Callers listed from part of the project are no answer to rely on.
    return outcome == CallersOutcome::Found && ui.problems() == 0 ? 0 : 1;
}

CliRegistration reg{{"callers", kUsage, "   Aufrufer einer Routine auflisten (wie die Routinensuche)", runCallers}};

}  // namespace

}  // namespace lumo::cli
