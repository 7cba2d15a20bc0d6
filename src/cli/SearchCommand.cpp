// "codelumo-cli search": every hit of a search text in module N or, with
// --project, in every module, as the code views show the code: module
// number, module name, line and the line's text.
#include <QTextStream>

#include "base/AppState.h"
#include "cli/CliCommand.h"
#include "cli/ConsoleUi.h"
#include "cli/ProjectFolder.h"
#include "model/CodeDatabase.h"
#include "model/WorkingStore.h"
#include "navigate/SearchHits.h"
#include "render/PlainText.h"

namespace lumo::cli {

namespace {

int runSearch(const QStringList& args) {
    int module = 0;
    SearchSwitches switches;
    bool bad = false;
    QStringList plain;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--module") && i + 1 < args.size()) {
            bool ok = false;
            module = args[++i].toInt(&ok);
            if (!ok) bad = true;
        } else if (a == QLatin1String("--project")) {
            switches.project = true;
        } else if (a == QLatin1String("--word")) {
            switches.wholeWord = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            bad = true;
        } else {
            plain << a;
        }
    }
    const QString what = plain.size() == 2 ? trimmedSearchText(plain[0]) : QString();
    if (bad || module < 1 || what.isEmpty() || plain[1].isEmpty()) {
        printError(QStringLiteral("Aufruf: codelumo-cli search --module N [--project] [--word] TEXT ORDNER"));
        return 2;
    }
    int count = 0;
    if (!openProjectFolder(plain[1], module, count)) return 1;
    WorkingStore& store = WorkingStore::instance();
    QTextStream out(stdout);
    int found = 0;
    try {
        const std::vector<ModuleRow> modules = modulesByNumber(store);
        for (const ModuleRow& m : modules) {
            if (!switches.project && m.number != module) continue;
            const QString text = plainTextOfModule(store.readModuleText(m.number), appState().options);
            for (const SearchHit& h : hitsInText(text, what, switches.wholeWord, m.number - 1)) {
                out << m.number << '\t' << m.name << '\t' << h.line << '\t' << h.text << '\n';
                ++found;
            }
        }
    } catch (const std::exception& e) {
        out.flush();
        store.closeWorkingDatabase();
        printError(QString::fromUtf8(e.what()));
        return 1;
    }
    store.closeWorkingDatabase();
    if (found == 0) {
        printError(searchNotFoundMessage(switches.project));
        return 1;
    }
    return 0;
}

CliRegistration reg{{"search",
                     "search --module N [--project] [--word] TEXT ORDNER   jeden Treffer eines Suchtexts ausgeben "
                     "(Modul, Zeile, Text)",
                     runSearch}};

}  // namespace

}  // namespace lumo::cli
