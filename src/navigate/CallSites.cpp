#include "navigate/CallSites.h"

#include <algorithm>

#include "base/Ui.h"
#include "model/CodeDatabase.h"
#include "model/WorkingStore.h"
#include "navigate/Callers.h"
#include "navigate/NameResolver.h"
#include "navigate/RoutineLocation.h"
#include "render/TaggedContent.h"
#include "view/NodeTree.h"
#include "view/ProjectTree.h"

namespace lumo {

namespace {

// Line `line` of a module as the code view shows it: the stored line without its tags.
QString shownLine(ProjectScope& scope, int module, int line) {
    const QByteArray& text = scope.text(module);
    qsizetype at = 0;
    for (int l = 1; l < line && at >= 0; ++l) {
        at = text.indexOf('\n', at);
        if (at >= 0) ++at;
    }
    if (at < 0) return {};
    qsizetype end = text.indexOf('\n', at);
    if (end < 0) end = text.size();
    if (end > at && text[end - 1] == '\r') --end;
    return taggedToText(QString::fromUtf8(text.constData() + at, end - at));
}

}  // namespace

std::vector<CallSite> sitesOf(NameResolver& resolver, const std::vector<NameReference>& references) {
    std::vector<CallSite> sites;
    ProjectScope& scope = resolver.scope();
    for (const NameReference& r : references) {
        if (!sites.empty() && sites.back().module == r.module && sites.back().line == r.line) continue;
        const ModuleRow* m = scope.module(r.module);
        const RoutineRow* around = scope.routineNumbered(r.routine);
        sites.push_back({r.module, m ? m->name : QString(), r.line, around ? around->name : QString(),
                         around ? around->number : 0, shownLine(scope, r.module, r.line)});
    }
    return sites;
}

std::vector<CallSite> callSitesOf(NameResolver& resolver, int routineNumber, int module) {
    std::vector<NameReference> calls = resolver.calls(resolver.routineDeclaration(routineNumber));
    if (module > 0) std::erase_if(calls, [module](const NameReference& r) { return r.module != module; });
    return sitesOf(resolver, calls);
}

std::optional<std::vector<CallSite>> callSitesOfRoutine(WorkingStore& store, const QString& name, int moduleNumber,
                                                        int moduleCount, Ui& ui) {
    (void)moduleCount;
    const RoutineLookup lookup = routineByName(store, name, moduleNumber, ui);
    if (lookup.result == 0) return std::nullopt;
    std::vector<CallSite> sites;
    try {
        ProjectScope& scope = projectScopeOf(store);
        NameResolver resolver(scope);
        sites = callSitesOf(resolver, lookup.routineNumber);
        if (!scope.unreadable().isEmpty()) throw StoreError(scope.unreadable().join(QStringLiteral("\r\n")).toStdString());
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

void addCallSiteNodes(NodeTree& tree, WorkingStore& store, int routineNumber, int module) {
    NameResolver resolver(projectScopeOf(store));
    for (const CallSite& site : callSitesOf(resolver, routineNumber, module)) {
        if (site.routineNumber > 0)
            tree.addNode(routineKey(site.routineNumber), callSiteKey(site.module, site.line), callSiteLabel(site), {});
    }
}

}  // namespace lumo
