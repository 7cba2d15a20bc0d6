// Definition, references, highlights and hover: what the resolver makes of
// the name at a place, as the window's Definition (F8) and callers do.
#include <algorithm>

#include "lsp/Answers.h"
#include "lsp/Places.h"
#include "model/Codes.h"

namespace lumo::lsp {

namespace {

bool names(const Resolution& r) {
    return (r.kind == UseKind::Use || r.kind == UseKind::Declaration || r.kind == UseKind::ReturnValue) &&
           !r.targets.empty();
}

// The targets of the name at the place: the own module's first, then the
// others in module order, as Definition offers them.
std::vector<Declaration> targetsAt(Workspace& workspace, const ModulePlace& place, Resolution* resolution = nullptr) {
    const Resolution r = workspace.resolver().resolveAt(place.module, place.line, place.column);
    if (resolution) *resolution = r;
    if (!names(r)) return {};
    std::vector<Declaration> targets = r.targets;
    std::stable_sort(targets.begin(), targets.end(), [&](const Declaration& a, const Declaration& b) {
        return std::pair(a.module != place.module, a.module) < std::pair(b.module != place.module, b.module);
    });
    return targets;
}

QJsonObject declarationRange(Workspace& workspace, const Declaration& d) {
    const ModuleDocument* document = workspace.document(d.module);
    if (!document) return {};
    // A module is declared by its first line, as the project shows it.
    if (d.kind == DeclarationKind::Module) return rangeOf(*document, 1, 1, 0);
    const int column = nameColumn(workspace.scope(), d);
    if (column == 0) return linesRange(*document, d.line, d.line);
    return rangeOf(*document, d.line, column, int(d.name.size()));
}

// Every place naming one of the targets, by module, line and column, once each.
std::vector<NameReference> referencesOf(Workspace& workspace, const std::vector<Declaration>& targets) {
    std::vector<NameReference> all;
    for (const Declaration& d : targets)
        for (const NameReference& ref : workspace.references(d)) all.push_back(ref);
    std::sort(all.begin(), all.end(), [](const NameReference& a, const NameReference& b) {
        return std::tie(a.module, a.line, a.column) < std::tie(b.module, b.line, b.column);
    });
    all.erase(std::unique(all.begin(), all.end(), [](const NameReference& a, const NameReference& b) {
                  return a.module == b.module && a.line == b.line && a.column == b.column;
              }),
              all.end());
    return all;
}

bool isCommentLine(QStringView line) {
    const QStringView t = line.trimmed();
    return t.startsWith(u'\'') || (t.startsWith(u"Rem", Qt::CaseInsensitive) && (t.size() == 3 || t[3].isSpace()));
}

QString commentText(QStringView line) {
    QStringView t = line.trimmed();
    t = t.startsWith(u'\'') ? t.mid(1) : t.mid(3);
    while (t.startsWith(u'\'')) t = t.mid(1);
    return t.trimmed().toString();
}

// The statement that declares, its continued lines included, and the
// comment lines right above it, as Markdown.
QString hoverText(Workspace& workspace, const Declaration& d) {
    const ModuleDocument* document = workspace.document(d.module);
    const ModuleRow* module = workspace.scope().module(d.module);
    if (!document || !module) return {};
    QStringList code;
    int first = d.line;
    if (d.kind == DeclarationKind::Module) {
        static const QHash<int, QString> kinds{{ModStandard, QStringLiteral("Modul")},
                                              {ModClass, QStringLiteral("Klassenmodul")},
                                              {ModUserForm, QStringLiteral("UserForm")},
                                              {ModDocument, QStringLiteral("Dokumentmodul")}};
        code << kinds.value(module->type, QStringLiteral("Modul")) + u' ' + module->name;
        first = 1;
        // The comment block a module starts with documents it.
        QStringList comment;
        for (int l = 1; l <= document->shownLineCount() && isCommentLine(document->shownLine(l)); ++l)
            comment << commentText(document->shownLine(l));
        return QStringLiteral("```vb\n") + code.join(u'\n') + QStringLiteral("\n```") +
               (comment.isEmpty() ? QString() : QStringLiteral("\n\n") + comment.join(u'\n'));
    }
    int last = d.line;
    code << document->shownLine(last).trimmed();
    while (last < document->shownLineCount() && continuesOnNextLine(document->shownLine(last)))
        code << document->shownLine(++last).trimmed();
    QStringList comment;
    for (int l = first - 1; l >= 1 && isCommentLine(document->shownLine(l)); --l)
        comment.prepend(commentText(document->shownLine(l)));
    QString text = QStringLiteral("```vb\n") + code.join(u'\n') + QStringLiteral("\n```");
    if (!comment.isEmpty()) text += QStringLiteral("\n\n") + comment.join(u'\n');
    text += QStringLiteral("\n\n*%1, Zeile %2*").arg(module->name).arg(document->fileLineOf(d.line) + 1);
    return text;
}

}  // namespace

QJsonValue definitionAnswer(Workspace& workspace, const QJsonObject& params) {
    const auto place = placeOf(workspace, params);
    if (!place) return QJsonValue::Null;
    QJsonArray out;
    for (const Declaration& d : targetsAt(workspace, *place))
        out.append(locationOf(workspace, d.module, declarationRange(workspace, d)));
    return out.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(out);
}

QJsonValue referencesAnswer(Workspace& workspace, const QJsonObject& params) {
    const auto place = placeOf(workspace, params);
    if (!place) return QJsonArray();
    const bool withDeclaration = params.value("context").toObject().value("includeDeclaration").toBool(true);
    const std::vector<Declaration> targets = targetsAt(workspace, *place);
    // Asked again from any place of the same name: the same answer, kept until the project changes.
    QString key = withDeclaration ? QStringLiteral("references+") : QStringLiteral("references-");
    for (const Declaration& d : targets)
        key += QStringLiteral("%1:%2:%3:%4:%5;").arg(d.module).arg(d.line).arg(int(d.kind)).arg(d.routine).arg(d.name);
    if (const QJsonValue kept = workspace.keptAnswer(key); !kept.isUndefined()) return kept;
    QJsonArray out;
    // By module: the document and its URI looked up once for all its references.
    int module = 0;
    const ModuleDocument* document = nullptr;
    QJsonValue uri;
    for (const NameReference& ref : referencesOf(workspace, targets)) {
        if (ref.declaration && !withDeclaration) continue;
        if (ref.module != module) {
            module = ref.module;
            document = workspace.document(module);
            uri = uriOfPath(workspace.pathOf(module));
        }
        if (!document) continue;
        out.append(QJsonObject{{"uri", uri}, {"range", rangeOf(*document, ref.line, ref.column, ref.length)}});
    }
    workspace.keepAnswer(key, out);
    return out;
}

QJsonValue highlightAnswer(Workspace& workspace, const QJsonObject& params) {
    const auto place = placeOf(workspace, params);
    if (!place) return QJsonArray();
    QJsonArray out;
    for (const NameReference& ref : referencesOf(workspace, targetsAt(workspace, *place))) {
        if (ref.module != place->module) continue;
        // 3: where it is declared (written), 2: where it is used (read).
        out.append(QJsonObject{{"range", rangeOf(*place->document, ref.line, ref.column, ref.length)},
                               {"kind", ref.declaration ? 3 : 2}});
    }
    return out;
}

QJsonValue hoverAnswer(Workspace& workspace, const QJsonObject& params) {
    const auto place = placeOf(workspace, params);
    if (!place) return QJsonValue::Null;
    Resolution r;
    const std::vector<Declaration> targets = targetsAt(workspace, *place, &r);
    if (targets.empty()) return QJsonValue::Null;
    QStringList parts;
    for (const Declaration& d : targets) {
        parts << hoverText(workspace, d);
        if (parts.size() == 3) break;  // an object's member may be any class's: the first few tell enough
    }
    return QJsonObject{{"contents", QJsonObject{{"kind", "markdown"}, {"value", parts.join(QStringLiteral("\n\n---\n\n"))}}},
                       {"range", rangeOf(*place->document, place->line, r.column, r.length)}};
}

}  // namespace lumo::lsp
