// The call hierarchy: who calls a routine (the window's callers, with each
// call site) and what a routine calls, both as the resolver binds the names.
#include <map>

#include "lsp/Answers.h"
#include "lsp/Places.h"
#include "model/Codes.h"
#include "navigate/CodeTokens.h"

namespace lumo::lsp {

namespace {

QJsonObject itemOf(Workspace& workspace, const RoutineRow& r) {
    const ModuleDocument* document = workspace.document(r.module);
    ProjectScope& scope = workspace.scope();
    const Declaration d = workspace.resolver().routineDeclaration(r.number);
    const int column = nameColumn(scope, d);
    const QJsonObject selection = column > 0 ? rangeOf(*document, r.start, column, int(r.name.size()))
                                             : linesRange(*document, r.start, r.start);
    const bool inClass = scope.isClassLike(r.module);
    const int kind = isProperty(r.type) ? 7 : (inClass && !isDeclaration(r.type) ? 6 : 12);
    const QString uri = uriOfPath(workspace.pathOf(r.module));
    return {{"name", r.name},
            {"kind", kind},
            {"detail", scope.module(r.module)->name},
            {"uri", uri},
            {"range", linesRange(*document, r.start, routineLastLine(r))},
            {"selectionRange", selection},
            // Routine numbers change with every edit; the place stays until the file does.
            {"data", QJsonObject{{"uri", uri}, {"line", document->fileLineOf(r.start)}}}};
}

// The routine an item of an earlier answer names, in the project as it now stands.
const RoutineRow* routineOfItem(Workspace& workspace, const QJsonObject& params) {
    const QJsonObject item = params.value("item").toObject();
    const QJsonObject data = item.value("data").toObject();
    const QString uri = data.contains("uri") ? data.value("uri").toString() : item.value("uri").toString();
    const int fileLine = data.contains("line") ? data.value("line").toInt()
                                               : item.value("selectionRange").toObject().value("start").toObject().value("line").toInt();
    const int module = workspace.moduleOf(pathOfUri(uri));
    const ModuleDocument* document = workspace.document(module);
    if (!document) return nullptr;
    const auto shown = document->shown({fileLine, 0});
    if (!shown) return nullptr;
    const RoutineRow* r = workspace.scope().routineAt(module, shown->line);
    return r && r->name.compare(item.value("name").toString(), Qt::CaseInsensitive) == 0 ? r : nullptr;
}

}  // namespace

QJsonValue prepareCallHierarchyAnswer(Workspace& workspace, const QJsonObject& params) {
    const auto place = placeOf(workspace, params);
    if (!place) return QJsonValue::Null;
    ProjectScope& scope = workspace.scope();
    const Resolution r = workspace.resolver().resolveAt(place->module, place->line, place->column);
    QJsonArray out;
    for (const Declaration& d : r.targets) {
        if (d.kind != DeclarationKind::Routine) continue;
        if (const RoutineRow* row = scope.routineNumbered(d.routine)) out.append(itemOf(workspace, *row));
        break;
    }
    return out.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(out);
}

QJsonValue incomingCallsAnswer(Workspace& workspace, const QJsonObject& params) {
    const RoutineRow* target = routineOfItem(workspace, params);
    if (!target) return QJsonArray();
    ProjectScope& scope = workspace.scope();
    NameResolver& resolver = workspace.resolver();
    // By calling routine, in the order the calls are met.
    std::vector<std::pair<int, QJsonArray>> callers;
    std::map<int, size_t> index;
    for (const NameReference& ref : resolver.calls(resolver.routineDeclaration(target->number))) {
        if (ref.routine == 0) continue;  // outside every routine nothing runs
        const ModuleDocument* document = workspace.document(ref.module);
        if (!document) continue;
        auto [it, fresh] = index.emplace(ref.routine, callers.size());
        if (fresh) callers.emplace_back(ref.routine, QJsonArray());
        callers[it->second].second.append(rangeOf(*document, ref.line, ref.column, ref.length));
    }
    QJsonArray out;
    for (const auto& [routine, ranges] : callers)
        if (const RoutineRow* r = scope.routineNumbered(routine))
            out.append(QJsonObject{{"from", itemOf(workspace, *r)}, {"fromRanges", ranges}});
    return out;
}

QJsonValue outgoingCallsAnswer(Workspace& workspace, const QJsonObject& params) {
    const RoutineRow* caller = routineOfItem(workspace, params);
    if (!caller) return QJsonArray();
    ProjectScope& scope = workspace.scope();
    NameResolver& resolver = workspace.resolver();
    const ModuleDocument* document = workspace.document(caller->module);
    const CodeLines& code = scope.code(caller->module);
    std::vector<std::pair<int, QJsonArray>> called;
    std::map<int, size_t> index;
    std::vector<CodeToken> tokens;
    const int first = scope.headLastLine(*caller) + 1;
    for (int line = first; line <= routineLastLine(*caller) && line <= code.count(); ++line) {
        tokens.clear();
        tokenizeLine(code.line(line), line, tokens);
        for (const CodeToken& t : tokens) {
            if (!t.word) continue;
            const Resolution r = resolver.resolveAt(caller->module, line, t.column);
            if (r.kind != UseKind::Use || r.targets.empty() || r.targets.front().kind != DeclarationKind::Routine)
                continue;
            const int routine = r.targets.front().routine;
            auto [it, fresh] = index.emplace(routine, called.size());
            if (fresh) called.emplace_back(routine, QJsonArray());
            called[it->second].second.append(rangeOf(*document, line, r.column, r.length));
        }
    }
    QJsonArray out;
    for (const auto& [routine, ranges] : called)
        if (const RoutineRow* r = scope.routineNumbered(routine))
            out.append(QJsonObject{{"to", itemOf(workspace, *r)}, {"fromRanges", ranges}});
    return out;
}

}  // namespace lumo::lsp
