// The outline of a module and the search for any declared name: what the
// project tree lists, and what every declarations part declares.
#include <algorithm>

#include "lsp/Answers.h"
#include "lsp/Places.h"
#include "model/Codes.h"

namespace lumo::lsp {

namespace {

// The protocol's SymbolKind numbers.
enum SymbolKind { Module = 2, Class = 5, Method = 6, Property = 7, Field = 8, Enum = 10, Function = 12,
                  Variable = 13, Constant = 14, EnumMember = 22, Struct = 23, Event = 24 };

int symbolKind(ProjectScope& scope, const Declaration& d) {
    const bool inClass = scope.isClassLike(d.module);
    switch (d.kind) {
    case DeclarationKind::Module: return inClass ? Class : Module;
    case DeclarationKind::Routine: {
        const RoutineRow* r = scope.routineNumbered(d.routine);
        if (r && isProperty(r->type)) return Property;
        return inClass && r && !isDeclaration(r->type) ? Method : Function;
    }
    case DeclarationKind::Constant:
    case DeclarationKind::LocalConstant: return Constant;
    case DeclarationKind::Enum: return Enum;
    case DeclarationKind::EnumMember: return EnumMember;
    case DeclarationKind::Type: return Struct;
    case DeclarationKind::Event: return Event;
    case DeclarationKind::Variable: return inClass ? Field : Variable;
    case DeclarationKind::Parameter:
    case DeclarationKind::LocalVariable: return Variable;
    }
    return Variable;
}

// The line of "End Enum" or "End Type" that closes a block opened at `line`.
int blockEnd(ProjectScope& scope, int module, int line, const char16_t* what) {
    const CodeLines& code = scope.code(module);
    const QString end = QStringLiteral("End ") + QString::fromUtf16(what);
    for (int l = line + 1; l <= code.count(); ++l) {
        const QStringView t = code.line(l).trimmed();
        if (t.startsWith(end, Qt::CaseInsensitive) && (t.size() == end.size() || !isNameChar(t[end.size()]))) return l;
    }
    return line;
}

int lastLineOf(ProjectScope& scope, const Declaration& d) {
    if (d.kind == DeclarationKind::Routine) {
        if (const RoutineRow* r = scope.routineNumbered(d.routine)) return routineLastLine(*r);
    }
    if (d.kind == DeclarationKind::Enum) return blockEnd(scope, d.module, d.line, u"Enum");
    if (d.kind == DeclarationKind::Type) return blockEnd(scope, d.module, d.line, u"Type");
    return d.line;
}

QJsonObject symbolOf(Workspace& workspace, const ModuleDocument& document, const Declaration& d) {
    ProjectScope& scope = workspace.scope();
    const int column = nameColumn(scope, d);
    const QJsonObject selection = column > 0 ? rangeOf(document, d.line, column, int(d.name.size()))
                                             : linesRange(document, d.line, d.line);
    QJsonObject symbol{{"name", d.name},
                       {"kind", symbolKind(scope, d)},
                       {"range", linesRange(document, d.line, lastLineOf(scope, d))},
                       {"selectionRange", selection}};
    const QString detail = document.shownLine(d.line).trimmed();
    if (!detail.isEmpty()) symbol.insert("detail", detail.left(200));
    return symbol;
}

}  // namespace

QJsonValue documentSymbolAnswer(Workspace& workspace, const QJsonObject& params) {
    const QString path = pathOfUri(params.value("textDocument").toObject().value("uri").toString());
    const int module = workspace.moduleOf(path);
    const ModuleDocument* document = workspace.document(module);
    if (!document) return QJsonArray();
    ProjectScope& scope = workspace.scope();
    QJsonArray children;
    QJsonArray* enumChildren = nullptr;
    QJsonArray members;
    QString openEnum;
    auto closeEnum = [&] {
        if (!enumChildren) return;
        QJsonObject e = children.last().toObject();
        e.insert("children", members);
        children.replace(children.size() - 1, e);
        enumChildren = nullptr;
        members = {};
    };
    for (const PlacedDeclaration* p : scope.declarationsOf(module)) {
        const Declaration& d = p->declaration;
        if (d.kind == DeclarationKind::EnumMember && enumChildren && d.container.compare(openEnum, Qt::CaseInsensitive) == 0) {
            members.append(symbolOf(workspace, *document, d));
            continue;
        }
        closeEnum();
        QJsonObject symbol = symbolOf(workspace, *document, d);
        if (d.kind == DeclarationKind::Routine) {
            QJsonArray locals;
            if (const RoutineRow* r = scope.routineNumbered(d.routine))
                for (const LocalName& l : scope.locals(*r)) locals.append(symbolOf(workspace, *document, l.declaration));
            if (!locals.isEmpty()) symbol.insert("children", locals);
        }
        children.append(symbol);
        if (d.kind == DeclarationKind::Enum) {
            enumChildren = &members;
            openEnum = d.name;
        }
    }
    closeEnum();
    const int last = std::max(1, document->shownLineCount());
    Declaration self;
    self.name = document->name();
    self.kind = DeclarationKind::Module;
    self.module = module;
    self.line = 1;
    QJsonObject root{{"name", document->name()},
                     {"kind", symbolKind(scope, self)},
                     {"range", linesRange(*document, 1, last)},
                     {"selectionRange", rangeOf(*document, 1, 1, 0)},
                     {"children", children}};
    return QJsonArray{root};
}

namespace {

// How well `name` matches what the user typed: 0 starts with it, 1 holds
// it, 2 holds its letters in order; -1 not at all.
int matchOf(QStringView name, QStringView query) {
    if (query.isEmpty()) return 0;
    if (name.startsWith(query, Qt::CaseInsensitive)) return 0;
    if (name.contains(query, Qt::CaseInsensitive)) return 1;
    qsizetype at = 0;
    for (const QChar c : query) {
        const QChar folded = c.toCaseFolded();
        while (at < name.size() && name[at].toCaseFolded() != folded) ++at;
        if (at == name.size()) return -1;
        ++at;
    }
    return 2;
}

// More than a list can show helps nobody; the client asks again as the user types.
constexpr int kMaxWorkspaceSymbols = 500;

}  // namespace

QJsonValue workspaceSymbolAnswer(Workspace& workspace, const QJsonObject& params) {
    const QString query = params.value("query").toString();
    ProjectScope& scope = workspace.scope();
    struct Hit {
        int score;
        const Declaration* declaration;
    };
    std::vector<Hit> hits;
    std::vector<Declaration> modules;
    modules.reserve(size_t(scope.moduleCount()));
    for (int m = 1; m <= scope.moduleCount(); ++m)
        if (const ModuleRow* row = scope.module(m)) {
            Declaration d;
            d.name = row->name;
            d.kind = DeclarationKind::Module;
            d.module = m;
            d.line = 1;
            modules.push_back(std::move(d));
        }
    for (const Declaration& d : modules)
        if (const int score = matchOf(d.name, query); score >= 0) hits.push_back({score, &d});
    for (int m = 1; m <= scope.moduleCount(); ++m)
        for (const PlacedDeclaration* p : scope.declarationsOf(m))
            if (const int score = matchOf(p->declaration.name, query); score >= 0) hits.push_back({score, &p->declaration});
    std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) {
        return std::pair(a.score, a.declaration->name.size()) < std::pair(b.score, b.declaration->name.size());
    });
    if (hits.size() > size_t(kMaxWorkspaceSymbols)) hits.resize(size_t(kMaxWorkspaceSymbols));
    QJsonArray out;
    for (const Hit& h : hits) {
        const Declaration& d = *h.declaration;
        const ModuleDocument* document = workspace.document(d.module);
        if (!document) continue;
        QJsonObject range;
        if (d.kind == DeclarationKind::Module) {
            range = rangeOf(*document, 1, 1, 0);
        } else {
            const int column = nameColumn(scope, d);
            range = column > 0 ? rangeOf(*document, d.line, column, int(d.name.size())) : linesRange(*document, d.line, d.line);
        }
        QJsonObject symbol{{"name", d.name}, {"kind", symbolKind(scope, d)}, {"location", locationOf(workspace, d.module, range)}};
        if (d.kind != DeclarationKind::Module)
            symbol.insert("containerName", d.kind == DeclarationKind::EnumMember ? d.container : scope.module(d.module)->name);
        out.append(symbol);
    }
    return out;
}

}  // namespace lumo::lsp
