#include "navigate/CallSites.h"

#include <algorithm>

#include "base/Ui.h"
#include "model/CodeDatabase.h"
#include "model/WorkingStore.h"
#include "navigate/Callers.h"
#include "navigate/RoutineLocation.h"
#include "render/TaggedContent.h"
#include "view/NodeTree.h"
#include "view/ProjectTree.h"

namespace lumo {

namespace {

// The lines of a text, asked for in ascending order, each found from the
// one before.
class LineWalker {
public:
    explicit LineWalker(const QString& text) : text_(text) {}

    // Line `number` (1-based) without its line break; empty beyond the end.
    QStringView line(int number) {
        while (current_ < number && start_ >= 0) {
            const qsizetype nl = text_.indexOf(u'\n', start_);
            start_ = nl < 0 ? -1 : nl + 1;
            ++current_;
        }
        if (start_ < 0) return {};
        qsizetype end = text_.indexOf(u'\n', start_);
        if (end < 0) end = text_.size();
        if (end > start_ && text_.at(end - 1) == u'\r') --end;
        return QStringView(text_).sliced(start_, end - start_);
    }

private:
    const QString& text_;
    int current_ = 1;     // the line that begins at start_
    qsizetype start_ = 0; // -1 past the last line
};

// The sites of the reference lines found: module name, covering routine
// and shown text for each line once.
void addSites(WorkingStore& store, const std::vector<ModuleReferences>& found, std::vector<CallSite>& sites) {
    const std::vector<ModuleRow> modules = modulesByNumber(store);
    const std::vector<RoutineRow> routines =
        routinesOfModulesByStart(store, moduleNumbersOf(found));
    for (const ModuleReferences& m : found) {
        const auto row = std::find_if(modules.begin(), modules.end(),
                                      [&m](const ModuleRow& r) { return r.number == m.module; });
        const QString moduleName = row != modules.end() ? row->name : QString();
        LineWalker walker(m.text);
        const auto first = std::find_if(routines.begin(), routines.end(),
                                        [&m](const RoutineRow& r) { return r.module == m.module; });
        const auto end = std::find_if(first, routines.end(), [&m](const RoutineRow& r) { return r.module != m.module; });
        int last = 0;
        for (const int line : m.lines) {
            if (line == last) continue;  // one entry per line
            last = line;
            // The routine the caller tree would list for this line.
            const RoutineRow* r = coveringRoutine(std::span(first, end), line);
            sites.push_back({m.module, moduleName, line, r ? r->name : QString(), r ? r->number : 0,
                             taggedToText(walker.line(line))});
        }
    }
}


}  // namespace

void callSites(WorkingStore& store, const QString& name, int firstModule, int lastModule,
               std::vector<CallSite>& sites) {
    std::vector<ModuleReferences> found;
    std::optional<StoreError> failure;
    try {
        findReferenceLines(store, name, firstModule, lastModule, found);
    } catch (const StoreError& e) {
        failure = e;
    }
    if (!found.empty()) addSites(store, found, sites);
    if (failure) throw *failure;
}

std::optional<std::vector<CallSite>> callSitesOfRoutine(WorkingStore& store, const QString& name, int moduleNumber,
                                                        int moduleCount, Ui& ui) {
    const RoutineLookup lookup = routineByName(store, name, moduleNumber, ui);
    if (lookup.result == 0) return std::nullopt;
    const bool onlyOwn = lookup.result == 1;
    std::vector<CallSite> sites;
    try {
        callSites(store, name, onlyOwn ? moduleNumber : 1, onlyOwn ? moduleNumber : moduleCount, sites);
    } catch (const std::exception& e) {
        ui.message(QString::fromUtf8(e.what()), {}, MsgIcon::Warning);
    }
    return sites;
}

QString callSiteLabel(const CallSite& site) {
    return QStringLiteral("Zeile %1: %2").arg(site.line).arg(site.text.trimmed());
}

QString callSiteKey(int module, int line) {
    return QStringLiteral("Z%1:%2").arg(module).arg(line);
}

std::optional<std::pair<int, int>> callSiteOfKey(const QString& key) {
    if (!key.startsWith(u'Z')) return std::nullopt;
    const qsizetype colon = key.indexOf(u':');
    if (colon < 0) return std::nullopt;
    bool moduleOk = false;
    bool lineOk = false;
    const int module = QStringView(key).sliced(1, colon - 1).toInt(&moduleOk);
    const int line = QStringView(key).sliced(colon + 1).toInt(&lineOk);
    if (!moduleOk || !lineOk || module < 1 || line < 1) return std::nullopt;
    return std::pair{module, line};
}

void addCallSiteNodes(NodeTree& tree, WorkingStore& store, const QString& name, int firstModule, int lastModule) {
    std::vector<CallSite> sites;
    std::optional<StoreError> failure;
    try {
        callSites(store, name, firstModule, lastModule, sites);
    } catch (const StoreError& e) {
        failure = e;
    }
    for (const CallSite& site : sites) {
        if (site.routineNumber > 0)
            tree.addNode(routineKey(site.routineNumber), callSiteKey(site.module, site.line), callSiteLabel(site), {});
    }
    if (failure) throw *failure;
}

}  // namespace lumo
