// "codelumo-cli search": every hit of a search text in module N or, with
// --project, in every module, as the code views show the code: module
// number, module name, line and the line's text. Found on the stored bytes;
// a module only its shown text tells is searched in that.
#include <QTextStream>

#include "base/AppState.h"
#include "base/SystemErrors.h"
#include "base/TextHelpers.h"
#include "cli/Arguments.h"
#include "cli/CliCommand.h"
#include "cli/ConsoleUi.h"
#include "cli/ProjectFolder.h"
#include "model/CodeDatabase.h"
#include "model/WorkingStore.h"
#include "navigate/SearchHits.h"
#include "navigate/StoredTextSearch.h"
#include "render/PlainText.h"

namespace lumo::cli {

namespace {

const char* const kUsage = "search --module N [--project] [--word] TEXT ORDNER";

int runSearch(const QStringList& args) {
    int module = 0;
    SearchSwitches switches;
    Arguments call;
    call.number("module", module).flag("project", switches.project).flag("word", switches.wholeWord);
    if (!call.read(args) || module < 1 || !call.hasWords(2)) return usageError(kUsage);
    const QStringList& plain = call.words();
    const QString what = trimmedSearchText(plain[0]);
    if (what.isEmpty()) return usageError(kUsage);
    int count = 0;
    if (!openProjectFolder(plain[1], module, count)) return 1;
    WorkingStore& store = WorkingStore::instance();
    QTextStream out(stdout);
    int found = 0;
    try {
        const std::vector<ModuleRow> modules = modulesByNumber(store);
        StoredTextSearch search(what, switches.wholeWord);
        for (const ModuleRow& m : modules) {
            if (!switches.project && m.number != module) continue;
            const QString name = visibleControls(m.name);
            const QByteArray bytes = store.readModuleBytes(m.number);
            auto print = [&](const SearchHit& h) {
                out << m.number << '\t' << name << '\t' << h.line << '\t' << visibleControls(h.text) << '\n';
                ++found;
            };
            if (const std::optional<std::vector<SearchHit>> hits = search.hits(bytes, m.number - 1, false)) {
                for (const SearchHit& h : *hits) print(h);
                continue;
            }
            const QString text = plainTextOfModule(QString::fromUtf8(bytes), appState().options);
            forEachHitInText(text, what, switches.wholeWord, m.number - 1, [&](const SearchHit& h) {
                print(h);
            });
        }
    } catch (const std::exception& e) {
        out.flush();
        store.closeWorkingDatabase();
        printError(germanSystemText(QString::fromUtf8(e.what())));
        return 1;
    }
    store.closeWorkingDatabase();
    if (found == 0) {
        printError(searchNotFoundMessage(switches.project));
        return 1;
    }
    return 0;
}

CliRegistration reg{{"search", kUsage, "   jeden Treffer eines Suchtexts ausgeben (Modul, Zeile, Text)",
                     runSearch}};

}  // namespace

}  // namespace lumo::cli
