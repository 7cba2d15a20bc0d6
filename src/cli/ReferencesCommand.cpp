// "codelumo-cli references": every line that references a routine, as seen
// from module N, with the caller search's modules and rule: module number,
// module name, line, covering routine and the line as the code view shows it.
#include <QTextStream>

#include "cli/Arguments.h"
#include "cli/CliCommand.h"
#include "cli/ConsoleUi.h"
#include "cli/ProjectFolder.h"
#include "model/WorkingStore.h"
#include "navigate/CallSites.h"

namespace lumo::cli {

namespace {

const char* const kUsage = "references --module N NAME ORDNER";

int runReferences(const QStringList& args) {
    int module = 0;
    Arguments call;
    call.number("module", module);
    if (!call.read(args) || module < 1 || !call.hasWords(2)) return usageError(kUsage);
    const QStringList& plain = call.words();
    int count = 0;
    if (!openProjectFolder(plain[1], module, count)) return 1;
    ConsoleUi ui;
    const auto sites =
        callSitesOfRoutine(WorkingStore::instance(), plain[0], module, count, ui);
    WorkingStore::instance().closeWorkingDatabase();
    if (!sites) return 1;
    QTextStream out(stdout);
    for (const CallSite& s : *sites)
        out << s.module << '\t' << s.moduleName << '\t' << s.line << '\t' << s.routine << '\t' << s.text << '\n';
    // Call sites listed from part of the project are no answer to rely on.
    return sites->empty() || ui.problems() > 0 ? 1 : 0;
}

CliRegistration reg{{"references", kUsage,
                     "   jede Zeile ausgeben, die die Routine NAME aufruft (Modul, Zeile, Routine, Text)",
                     runReferences}};

}  // namespace

}  // namespace lumo::cli
