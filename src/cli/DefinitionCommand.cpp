// "codelumo-cli definition": where the Definition command would jump from
// module N for a name: module number, module name and the routine's first line.
#include <QTextStream>

#include "base/SystemErrors.h"
#include "cli/CliCommand.h"
#include "cli/ConsoleUi.h"
#include "cli/ProjectFolder.h"
#include "model/WorkingStore.h"
#include "navigate/Definition.h"

namespace lumo::cli {

namespace {

int runDefinition(const QStringList& args) {
    int module = 0;
    QString name;
    QString folder;
    bool bad = false;
    QStringList plain;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--module") && i + 1 < args.size()) {
            bool ok = false;
            module = args[++i].toInt(&ok);
            if (!ok) bad = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            bad = true;
        } else {
            plain << a;
        }
    }
    if (plain.size() == 2) {
        name = plain[0];
        folder = plain[1];
    }
    if (bad || module < 1 || name.isEmpty() || folder.isEmpty()) {
        printError(QStringLiteral("Aufruf: codelumo-cli definition --module N NAME ORDNER"));
        return 2;
    }
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

CliRegistration reg{{"definition",
                     "definition --module N NAME ORDNER   Modul und Zeile der Definition eines Namens ausgeben "
                     "(wie Definition, F8)",
                     runDefinition}};

}  // namespace

}  // namespace lumo::cli
