#include "navigate/NameUses.h"

#include <algorithm>

#include "base/Ui.h"
#include "model/WorkingStore.h"
#include "navigate/CommentBlock.h"
#include "navigate/Definition.h"
#include "navigate/RoutineLocation.h"
#include "render/TaggedContent.h"
#include "view/CodeWindow.h"
#include "view/TextView.h"

namespace lumo {

namespace {

// A declaration's statement goes on over continued lines; no more than this
// many are shown.
constexpr int kMaxStatementLines = 12;

bool nothingDeclared(const Resolution& r) {
    return r.kind == UseKind::NotAName || r.targets.empty();
}

}  // namespace

CaretPlace caretPlace(const TextView& view) {
    const int pos = view.selStart();
    const QString text = view.text();
    const qsizetype lineStart = pos > 0 ? text.lastIndexOf(u'\n', pos - 1) + 1 : 0;
    return {view.lineOfPosition(pos) + 1, int(pos - lineStart) + 1};
}

QString shownLineOf(ProjectScope& scope, int module, int line) {
    const CodeLines& code = scope.code(module);
    if (line < 1 || line > code.count()) return {};
    const QByteArray& bytes = code.bytes();
    const qsizetype at = code.byteStart(line);
    qsizetype end = bytes.indexOf('\n', at);
    if (end < 0) end = bytes.size();
    if (end > at && bytes[end - 1] == '\r') --end;
    return taggedToText(QString::fromUtf8(bytes.constData() + at, end - at));
}

std::vector<SearchHit> referenceHits(NameResolver& resolver, const std::vector<Declaration>& targets) {
    std::vector<NameReference> all;
    for (const Declaration& d : targets) {
        std::vector<NameReference> more = resolver.references(d);
        all.insert(all.end(), more.begin(), more.end());
    }
    // Declarations first; the rest by module, line and column, each place once
    // (a property's Get, Let and Set share their uses).
    std::sort(all.begin(), all.end(), [](const NameReference& a, const NameReference& b) {
        if (a.declaration != b.declaration) return a.declaration;
        return std::tie(a.module, a.line, a.column) < std::tie(b.module, b.line, b.column);
    });
    all.erase(std::unique(all.begin(), all.end(),
                          [](const NameReference& a, const NameReference& b) {
                              return a.module == b.module && a.line == b.line && a.column == b.column;
                          }),
              all.end());
    std::vector<SearchHit> hits;
    hits.reserve(all.size());
    ProjectScope& scope = resolver.scope();
    // Line texts read once per line, the lines of one module in order.
    int lastModule = 0, lastLine = 0;
    QString lastText;
    for (const NameReference& r : all) {
        if (r.module != lastModule || r.line != lastLine) {
            lastText = shownLineOf(scope, r.module, r.line);
            lastModule = r.module;
            lastLine = r.line;
        }
        SearchHit hit;
        hit.module = r.module - 1;
        hit.line = r.line;
        hit.position = -1;
        hit.column = r.column;
        hit.length = r.length;
        hit.text = lastText;
        hit.declaration = r.declaration;
        hits.push_back(std::move(hit));
    }
    return hits;
}

std::optional<ReferenceList> allReferencesCommand(CodeWindow& window, WorkingStore& store, Ui& ui) {
    if (window.zoomOn()) {
        ui.message(zoomRefusal(), {}, MsgIcon::Information);
        return std::nullopt;
    }
    TextView& view = window.visibleView();
    const CaretPlace at = caretPlace(view);
    const int module = window.currentModule() + 1;
    try {
        ProjectScope& scope = projectScopeOf(store);
        NameResolver resolver(scope);
        const Resolution r = scope.text(module).isEmpty() ? Resolution{} : resolver.resolveAt(module, at.line, at.column);
        if (nothingDeclared(r)) {
            ui.message(QStringLiteral("Bezeichner unter Cursor nicht erkannt"));
            window.focusVisibleView();
            return std::nullopt;
        }
        std::vector<Declaration> targets = r.targets;
        const QString name = targets.front().name;
        // A member of an object of unknown class: only the user knows whose.
        const bool severalModules = std::any_of(targets.begin(), targets.end(), [&](const Declaration& d) {
            return d.module != targets.front().module;
        });
        if (r.objectMember && severalModules) {
            const std::vector<DefinitionTarget> places = definitionTargets(scope, r, module);
            QStringList entries;
            for (const DefinitionTarget& t : places) entries << definitionLabel(t);
            const std::optional<int> chosen =
                window.chooseAtCaret(QStringLiteral("Alle Verweise: ") + name, entries);
            if (!chosen || *chosen < 0 || *chosen >= int(places.size())) return std::nullopt;
            const int chosenModule = places[size_t(*chosen)].moduleNumber;
            std::erase_if(targets, [chosenModule](const Declaration& d) { return d.module != chosenModule; });
        }
        return ReferenceList{name, referenceHits(resolver, targets)};
    } catch (const std::exception& e) {
        ui.message(QString::fromUtf8(e.what()));
        return std::nullopt;
    }
}

std::vector<NameReference> occurrencesAt(NameResolver& resolver, int module, int line, int column) {
    std::vector<NameReference> out;
    if (resolver.scope().text(module).isEmpty()) return out;
    const Resolution r = resolver.resolveAt(module, line, column);
    if (nothingDeclared(r) || r.objectMember) return out;
    for (const Declaration& d : r.targets) {
        std::vector<NameReference> more = resolver.references(d, module);
        out.insert(out.end(), more.begin(), more.end());
    }
    std::sort(out.begin(), out.end(), [](const NameReference& a, const NameReference& b) {
        return std::tie(a.line, a.column) < std::tie(b.line, b.column);
    });
    out.erase(std::unique(out.begin(), out.end(),
                          [](const NameReference& a, const NameReference& b) {
                              return a.line == b.line && a.column == b.column;
                          }),
              out.end());
    return out;
}

std::optional<HoverInfo> hoverAt(ProjectScope& scope, int module, int line, int column) {
    if (scope.text(module).isEmpty()) return std::nullopt;
    NameResolver resolver(scope);
    const Resolution r = resolver.resolveAt(module, line, column);
    if (nothingDeclared(r)) return std::nullopt;
    const Declaration& d = r.targets.front();
    const ModuleRow* m = scope.module(d.module);
    HoverInfo info;
    info.place = definitionLabel({d.module, m ? m->name : QString(), d.line, d.kind});
    if (d.kind == DeclarationKind::Module) return info;
    if (r.targets.size() > 1 && r.objectMember)
        info.place += QStringLiteral(" – oder eine von %1 weiteren Klassen").arg(r.targets.size() - 1);
    const int count = scope.code(d.module).count();
    for (int l = d.line; l <= count && info.declaration.size() < kMaxStatementLines; ++l) {
        info.declaration << shownLineOf(scope, d.module, l);
        if (!continuesOnNextLine(scope.code(d.module).line(l))) break;
    }
    info.comment = commentBlockAbove([&](int n) { return shownLineOf(scope, d.module, n); }, d.line);
    return info;
}

void selectNameOnLine(TextView& view, ProjectScope& scope, int module, int line, QStringView name) {
    markLineStart(view);
    if (name.isEmpty() || scope.text(module).isEmpty()) return;
    const QStringView code = scope.code(module).line(line);
    for (qsizetype at = 0; (at = code.indexOf(name, at, Qt::CaseInsensitive)) >= 0;) {
        const qsizetype after = at + name.size();
        if ((at == 0 || !isNameChar(code[at - 1])) && (after >= code.size() || !isNameChar(code[after]))) {
            view.moveUpTo(QStringLiteral("\r\n"), false, false);
            view.setSelStart(view.selStart() + int(at));
            view.setSelLength(int(name.size()));
            return;
        }
        at = after;
    }
}

void selectNameOnCaretLine(CodeWindow& window, WorkingStore& store, QStringView name) {
    TextView& view = window.visibleView();
    try {
        selectNameOnLine(view, projectScopeOf(store), window.currentModule() + 1, caretPlace(view).line, name);
    } catch (const std::exception&) {
        markLineStart(view);  // without the store the line's first word, as before
    }
}

}  // namespace lumo
