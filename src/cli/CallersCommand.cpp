// "codelumo-cli callers": the callers of a routine of a built project, as
// the window's caller tree lists them, with the same rules (a Private
// routine only in its module, the same identifier characters).
#include <QTextStream>

#include "cli/CliCommand.h"
#include "cli/ConsoleUi.h"
#include "cli/ProjectFolder.h"
#include "model/WorkingStore.h"
#include "navigate/Callers.h"
#include "view/NodeList.h"

namespace lumo::cli {

namespace {

int runCallers(const QStringList& args) {
    int module = 0;
    QString routine;
    QString folder;
    bool bad = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--module") && i + 1 < args.size()) {
            bool ok = false;
            module = args[++i].toInt(&ok);
            if (!ok) bad = true;
        } else if (a == QLatin1String("--routine") && i + 1 < args.size()) {
            routine = args[++i];
        } else if (folder.isEmpty() && !a.startsWith(QLatin1String("--"))) {
            folder = a;
        } else {
            bad = true;
        }
    }
    if (bad || module < 1 || routine.isEmpty() || folder.isEmpty()) {
        printError(QStringLiteral("Aufruf: codelumo-cli callers --module N --routine NAME ORDNER"));
        return 2;
    }
    int count = 0;
    if (!openProjectFolder(folder, module, count)) return 1;
    ConsoleUi ui;
    NodeList tree;
    const CallersOutcome outcome = callersCommand(tree, WorkingStore::instance(), routine, module - 1, count, ui);
    QTextStream out(stdout);
    for (const ListedNode& n : tree.nodes()) {
        if (!n.parentKey.isEmpty()) out << '\t';
        out << n.key << '\t' << n.text << '\t' << n.imageKey << '\n';
    }
    out.flush();
    WorkingStore::instance().closeWorkingDatabase();
    // Callers listed from part of the project are no answer to rely on.
    return outcome == CallersOutcome::Found && ui.problems() == 0 ? 0 : 1;
}

CliRegistration reg{{"callers",
                     "callers --module N --routine NAME ORDNER   Aufrufer einer Routine auflisten (wie die "
                     "Routinensuche)",
                     runCallers}};

}  // namespace

}  // namespace lumo::cli
