// "codelumo-cli references": every line that names what NAME means, as seen
// from module N (module level, or with --line the occurrence on that line):
// module number, module name, line, covering routine and the line as the
// code view shows it. The declaration itself is not listed.
#include <QTextStream>

#include "base/SystemErrors.h"
#include "base/TextHelpers.h"
#include "cli/Arguments.h"
#include "cli/CliCommand.h"
#include "cli/ConsoleUi.h"
#include "cli/ProjectFolder.h"
#include "model/WorkingStore.h"
#include "navigate/CallSites.h"
#include "navigate/NameResolver.h"

namespace lumo::cli {

namespace {

const char* const kUsage = "references --module N [--line L [--column C]] NAME ORDNER";

int runReferences(const QStringList& args) {
    int module = 0;
    int line = 0;
    int column = 1;
    Arguments call;
    call.number("module", module).number("line", line).number("column", column);
    if (!call.read(args) || module < 1 || !call.hasWords(2)) return usageError(kUsage);
    const QStringList& plain = call.words();
    const QString& name = plain[0];
    int count = 0;
    if (!openProjectFolder(plain[1], module, count)) return 1;
    std::vector<CallSite> sites;
    QStringList unreadable;
    std::vector<Declaration> targets;
    try {
        WorkingStore& store = WorkingStore::instance();
        ProjectScope& scope = projectScopeOf(store);
        NameResolver resolver(scope);
        if (line > 0) {
            const Resolution r = resolver.resolveNamed(module, line, column, name);
            if (r.kind == UseKind::Use || r.kind == UseKind::Declaration || r.kind == UseKind::ReturnValue)
                targets = r.targets;
        } else {
            targets = resolver.visibleFrom(module, name);
        }
        std::vector<NameReference> all;
        for (const Declaration& d : targets)
            for (const NameReference& ref : resolver.references(d))
                if (!ref.declaration) all.push_back(ref);
        std::sort(all.begin(), all.end(), [](const NameReference& a, const NameReference& b) {
            return std::tie(a.module, a.line, a.column) < std::tie(b.module, b.line, b.column);
        });
        all.erase(std::unique(all.begin(), all.end(),
                              [](const NameReference& a, const NameReference& b) {
                                  return a.module == b.module && a.line == b.line && a.column == b.column;
                              }),
                  all.end());
        sites = sitesOf(resolver, all);
        unreadable = scope.unreadable();
    } catch (const std::exception& e) {
        WorkingStore::instance().closeWorkingDatabase();
        printError(germanSystemText(QString::fromUtf8(e.what())));
        return 1;
    }
    WorkingStore::instance().closeWorkingDatabase();
    for (const QString& u : unreadable) printError(u);
    if (targets.empty()) {
        printError(QStringLiteral("Bezeichner nicht erkannt: ") + name);
        return 1;
    }
    if (sites.empty()) {
        printError(QStringLiteral("Keine Verweise auf ") + name + QStringLiteral(" gefunden"));
        return 1;
    }
    QTextStream out(stdout);
    for (const CallSite& s : sites)
        out << s.module << '\t' << visibleControls(s.moduleName) << '\t' << s.line << '\t' << visibleControls(s.routine)
            << '\t' << visibleControls(s.text) << '\n';
    // References listed from part of the project are no answer to rely on.
    return unreadable.isEmpty() ? 0 : 1;
}

CliRegistration reg{{"references", kUsage,
                     "   jede Zeile ausgeben, die den Namen NAME verwendet (Modul, Zeile, Routine, Text;\n"
                     "   --line, --column: der Name an dieser Stelle)",
                     runReferences}};

}  // namespace

}  // namespace lumo::cli
