// "codelumo-cli definition": where the Definition command would jump from
// module N for a name: module number, module name and the routine's first line.
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

const char* const kUsage = "definition --module N NAME ORDNER";

int runDefinition(const QStringList& args) {
    int module = 0;
    Arguments call;
    call.number("module", module);
    if (!call.read(args) || module < 1 || !call.hasWords(2)) return usageError(kUsage);
    const QString& name = call.words()[0];
    const QString& folder = call.words()[1];
    int count = 0;
    if (!openProjectFolder(folder, module, count)) return 1;
    std::optional<DefinitionTarget> target;
    try {
        target = definitionOf(WorkingStore::instance(), name, module);
    } catch (const std::exception& e) {
        printError(germanSystemText(QString::fromUtf8(e.what())));
        return 1;
    }
    WorkingStore::instance().closeWorkingDatabase();
    if (!target) {
        printError(QStringLiteral("Bezeichner unter Cursor nicht erkannt"));
        return 1;
    }
    QTextStream(stdout) << target->moduleNumber << '\t' << target->moduleName << '\t' << target->line << '\n';
    return 0;
}

CliRegistration reg{{"definition", kUsage,
                     "   Modul und Zeile der Definition eines Namens ausgeben (wie Definition, F8)", runDefinition}};

}  // namespace

}  // namespace lumo::cli
