#include "navigate/CallSites.h"

#include <algorithm>

#include "base/Ui.h"
#include "model/CodeDatabase.h"
#include "model/WorkingStore.h"
#include "navigate/Callers.h"
#include "navigate/RoutineLocation.h"
#include "render/PlainText.h"

namespace lumo {

std::vector<CallSite> callSites(WorkingStore& store, const QString& name, int firstModule, int lastModule,
                                const Options& options) {
    std::vector<ModuleReferences> found;
    findReferenceLines(store, name, firstModule, lastModule, found);
    std::vector<CallSite> sites;
    if (found.empty()) return sites;
    const std::vector<ModuleRow> modules = modulesByNumber(store);
    const std::vector<RoutineRow> routines =
        routinesOfModulesByStart(store, found.front().module, found.back().module);
    for (const ModuleReferences& m : found) {
        const auto row = std::find_if(modules.begin(), modules.end(),
                                      [&m](const ModuleRow& r) { return r.number == m.module; });
        const QString moduleName = row != modules.end() ? row->name : QString();
        const QStringList shown =
            plainTextOfModule(store.readModuleText(m.module), options).split(QStringLiteral("\r\n"));
        const auto first = std::find_if(routines.begin(), routines.end(),
                                        [&m](const RoutineRow& r) { return r.module == m.module; });
        int last = 0;
        for (const int line : m.lines) {
            if (line == last) continue;  // one entry per line
            last = line;
            // The routine the caller tree would list for this line: the first
            // in order of first line whose lines hold it.
            QString routine;
            for (auto r = first; r != routines.end() && r->module == m.module && r->start <= line; ++r) {
                if (r->end >= line) {
                    routine = r->name;
                    break;
                }
            }
            sites.push_back({m.module, moduleName, line, routine, shown.value(line - 1)});
        }
    }
    return sites;
}

std::optional<std::vector<CallSite>> callSitesOfRoutine(WorkingStore& store, const QString& name, int moduleNumber,
                                                        int moduleCount, const Options& options, Ui& ui) {
    const RoutineLookup lookup = routineByName(store, name, moduleNumber, ui);
    if (lookup.result == 0) return std::nullopt;
    const bool onlyOwn = lookup.result == 1;
    try {
        return callSites(store, name, onlyOwn ? moduleNumber : 1, onlyOwn ? moduleNumber : moduleCount, options);
    } catch (const std::exception& e) {
        ui.message(QString::fromUtf8(e.what()), {}, MsgIcon::Warning);
        return std::nullopt;
    }
}

QString callSiteLabel(const CallSite& site) {
    return QStringLiteral("Zeile %1: %2").arg(site.line).arg(site.text.trimmed());
}

}  // namespace lumo
