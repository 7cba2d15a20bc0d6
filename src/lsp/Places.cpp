#include "lsp/Places.h"

#include <QDir>
#include <QJsonValue>
#include <QUrl>

#include "navigate/CodeTokens.h"

namespace lumo::lsp {

QString pathOfUri(const QString& uri) {
    const QUrl url(uri);
    // A document that is no file (an unsaved buffer) keeps its URI as its key.
    if (!url.isLocalFile()) return uri;
    return QDir::cleanPath(url.toLocalFile());
}

QString uriOfPath(const QString& path) {
    if (!path.startsWith(u'/')) return path;
    return QString::fromUtf8(QUrl::fromLocalFile(path).toEncoded());
}

namespace {

QJsonObject position(FilePlace p) { return {{"line", p.line}, {"character", p.character}}; }

}  // namespace

std::optional<ModulePlace> placeOf(Workspace& workspace, const QJsonObject& params) {
    const QString uri = params.value("textDocument").toObject().value("uri").toString();
    const QJsonObject pos = params.value("position").toObject();
    const QJsonValue line = pos.value("line");
    const QJsonValue character = pos.value("character");
    if (uri.isEmpty() || !line.isDouble() || !character.isDouble()) return std::nullopt;
    const QString path = pathOfUri(uri);
    const int module = workspace.moduleOf(path);
    if (module == 0) return std::nullopt;
    const ModuleDocument* d = workspace.document(module);
    const auto shown = d->shown(FilePlace{line.toInt(), character.toInt()});
    if (!shown) return std::nullopt;
    return ModulePlace{module, shown->line, shown->column, d};
}

QJsonObject rangeOf(const ModuleDocument& document, int line, int column, int length) {
    return {{"start", position(document.file({line, column}))},
            {"end", position(document.file({line, column + length}))}};
}

QJsonObject linesRange(const ModuleDocument& document, int first, int last) {
    const FilePlace end = document.file({last, int(document.shownLine(last).size()) + 1});
    return {{"start", position(document.file({first, 1}))}, {"end", position(end)}};
}

QJsonObject locationOf(Workspace& workspace, int module, const QJsonObject& range) {
    return {{"uri", uriOfPath(workspace.pathOf(module))}, {"range", range}};
}

int nameColumn(ProjectScope& scope, const Declaration& d) {
    if (d.kind == DeclarationKind::Module) return 0;
    if (d.kind == DeclarationKind::Parameter || d.kind == DeclarationKind::LocalVariable ||
        d.kind == DeclarationKind::LocalConstant) {
        if (const RoutineRow* r = scope.routineNumbered(d.routine))
            for (const LocalName* l : scope.localsNamed(*r, d.name))
                if (l->declaration.line == d.line) return l->column;
    } else {
        for (const PlacedDeclaration* p : scope.moduleLevel(d.module, d.name))
            if (p->declaration.line == d.line && p->declaration.kind == d.kind) {
                scope.code(d.module);  // a routine's column is known once its lines are
                if (p->column > 0) return p->column;
            }
    }
    // The first whole word of the name on its line.
    const QStringView text = scope.code(d.module).line(d.line);
    std::vector<CodeToken> tokens;
    tokenizeLine(text, d.line, tokens);
    for (const CodeToken& t : tokens)
        if (t.word && t.text.compare(d.name, Qt::CaseInsensitive) == 0) return t.column;
    return 0;
}

}  // namespace lumo::lsp
