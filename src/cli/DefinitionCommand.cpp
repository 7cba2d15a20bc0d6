// "codelumo-cli definition": where the Definition command would jump from
// module N for a name: module number, module name and the line of the
// declaration (1 for a module's own name); --all gives every candidate.
#include <QTextStream>

#include "base/SystemErrors.h"
#include "cli/Arguments.h"
#include "cli/CliCommand.h"
#include "cli/ConsoleUi.h"
#include "cli/ProjectFolder.h"
#include "model/WorkingStore.h"
#include "navigate/Definition.h"

namespace lumo::cli {

namespace {

const char* const kUsage = "definition --module N [--all] NAME ORDNER";

int runDefinition(const QStringList& args) {
    int module = 0;
    bool all = false;
    Arguments call;
    call.number("module", module).flag("all", all);
    if (!call.read(args) || module < 1 || !call.hasWords(2)) return usageError(kUsage);
    const QString& name = call.words()[0];
    const QString& folder = call.words()[1];
    int count = 0;
    if (!openProjectFolder(folder, module, count)) return 1;
    std::vector<DefinitionTarget> targets;
    try {
        targets = definitionCandidates(WorkingStore::instance(), name, module);
    } catch (const std::exception& e) {
        WorkingStore::instance().closeWorkingDatabase();
        printError(germanSystemText(QString::fromUtf8(e.what())));
        return 1;
    }
    WorkingStore::instance().closeWorkingDatabase();
    if (targets.empty()) {
        printError(QStringLiteral("Bezeichner unter Cursor nicht erkannt"));
        return 1;
    }
    if (!all) targets.resize(1);
    QTextStream out(stdout);
    for (const DefinitionTarget& t : targets) out << t.moduleNumber << '\t' << t.moduleName << '\t' << t.line << '\n';
    return 0;
}

CliRegistration reg{{"definition", kUsage,
                     "   Modul und Zeile der Definition eines Namens ausgeben (wie Definition, F8; --all: jede mögliche)", runDefinition}};

}  // namespace

}  // namespace lumo::cli
