// "codelumo-cli definition": where the Definition command would jump from
// module N for a name: module number, module name and the line of the
// declaration (1 for a module's own name); --all gives every candidate.
// With --line the name is taken where it stands on that line (the first
// occurrence at or after --column), with its qualifier and the routine
// around it, as F8 takes the name under the caret.
#include <QTextStream>

#include "base/TextHelpers.h"
#include "base/SystemErrors.h"
#include "cli/Arguments.h"
#include "cli/CliCommand.h"
#include "cli/ConsoleUi.h"
#include "cli/ProjectFolder.h"
#include "model/WorkingStore.h"
#include "navigate/Definition.h"
#include "navigate/NameResolver.h"

namespace lumo::cli {

namespace {

const char* const kUsage = "definition --module N [--line L [--column C]] [--all] NAME ORDNER";

int runDefinition(const QStringList& args) {
    int module = 0;
    int line = 0;
    int column = 1;
    bool all = false;
    Arguments call;
    call.number("module", module).number("line", line).number("column", column).flag("all", all);
    if (!call.read(args) || module < 1 || !call.hasWords(2)) return usageError(kUsage);
    const QString& name = call.words()[0];
    const QString& folder = call.words()[1];
    int count = 0;
    if (!openProjectFolder(folder, module, count)) return 1;
    std::vector<DefinitionTarget> targets;
    try {
        WorkingStore& store = WorkingStore::instance();
        if (line > 0) {
            const auto scope = ProjectScope::read(store);
            NameResolver resolver(*scope);
            targets = definitionTargets(*scope, resolver.resolveNamed(module, line, column, name), module);
        } else {
            targets = definitionCandidates(store, name, module);
        }
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
    for (const DefinitionTarget& t : targets) out << t.moduleNumber << '\t' << visibleControls(t.moduleName) << '\t' << t.line << '\n';
    return 0;
}

CliRegistration reg{{"definition", kUsage,
                     "   Modul und Zeile der Definition eines Namens ausgeben (wie Definition, F8; --all: jede mögliche;\n"
                     "   --line, --column: der Name an dieser Stelle)", runDefinition}};

}  // namespace

}  // namespace lumo::cli
