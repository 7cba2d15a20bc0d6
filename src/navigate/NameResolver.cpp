#include "navigate/NameResolver.h"

#include <algorithm>
#include <functional>

#include "model/Codes.h"
#include "navigate/CodeTokens.h"
#include "navigate/NameSearch.h"

namespace lumo {

namespace {

bool sameName(QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool isTypeCharacter(QChar c) { return c == u'$' || c == u'%' || c == u'&' || c == u'#' || c == u'@' || c == u'!'; }

bool isLocal(DeclarationKind k) {
    return k == DeclarationKind::Parameter || k == DeclarationKind::LocalVariable ||
           k == DeclarationKind::LocalConstant;
}

// The words after which a name is a line label, not a name of the project.
bool leadsToLabel(QStringView word) {
    return sameName(word, u"GoTo") || sameName(word, u"GoSub") || sameName(word, u"Resume");
}

// The word that ends just before `end` on the line (spaces passed over), or empty.
QStringView wordBefore(QStringView s, qsizetype end) {
    qsizetype i = end - 1;
    while (i >= 0 && s[i].isSpace()) --i;
    const qsizetype last = i;
    while (i >= 0 && isNameChar(s[i])) --i;
    return s.sliced(i + 1, last - i);
}

}  // namespace

bool sameDeclaration(const Declaration& a, const Declaration& b) {
    return a.module == b.module && a.kind == b.kind && a.line == b.line && a.routine == b.routine &&
           sameName(a.name, b.name);
}

Declaration NameResolver::routineDeclaration(int number) const {
    const RoutineRow* r = scope_.routineNumbered(number);
    if (!r) return {};
    Declaration d{r->name, DeclarationKind::Routine, r->module, r->start, r->visibility != OpenPrivate};
    d.routine = r->number;
    return d;
}

Resolution NameResolver::resolveAt(int module, int line, int column) {
    const QStringView s = scope_.code(module).line(line);
    qsizetype at = column - 1;
    if (at < 0 || at > s.size()) return {};
    if (at == s.size() || !isNameChar(s[at])) {
        if (at == 0 || !isNameChar(s[at - 1])) return {};
        --at;
    }
    qsizetype start = at;
    while (start > 0 && isNameChar(s[start - 1])) --start;
    qsizetype end = at + 1;
    while (end < s.size() && isNameChar(s[end])) ++end;
    return resolveToken(module, line, int(start), int(end), 0);
}

Resolution NameResolver::resolveNamed(int module, int line, int fromColumn, QStringView name) {
    const QStringView s = scope_.code(module).line(line);
    if (name.isEmpty()) return {};
    for (qsizetype at = std::max(0, fromColumn - 1); (at = s.indexOf(name, at, Qt::CaseInsensitive)) >= 0;) {
        const qsizetype after = at + name.size();
        if ((at == 0 || !isNameChar(s[at - 1])) && (after >= s.size() || !isNameChar(s[after])))
            return resolveToken(module, line, int(at), int(after), 0);
        at = after;
    }
    return {};
}

std::vector<Declaration> NameResolver::visibleFrom(int module, QStringView name) {
    UseKind kind = UseKind::Use;
    return unqualified(module, 0, name, false, kind);
}

bool NameResolver::declaredHere(int module, int line, int column, QStringView name, Declaration& out) {
    if (const RoutineRow* r = scope_.routineAt(module, line)) {
        for (const LocalName* l : scope_.localsNamed(*r, name))
            if (l->declaration.line == line && l->column == column) {
                out = l->declaration;
                return true;
            }
    }
    for (const PlacedDeclaration* p : scope_.moduleLevel(module, name))
        if (p->declaration.line == line && p->column == column) {
            out = p->declaration;
            return true;
        }
    return false;
}

Resolution NameResolver::resolveToken(int module, int line, int start, int end, int depth) {
    Resolution out;
    const CodeLines& code = scope_.code(module);
    QStringView s = code.line(line);
    const QStringView name = s.sliced(start, end - start);
    out.column = start + 1;
    out.length = end - start;
    if (name.isEmpty() || !(name[0].isLetter() || name[0] == u'_')) return out;
    if (start >= 2 && s[start - 1] == u'&' && false) return out;
    // What follows: a type character, then "(" of arguments or ":=" of a named argument.
    qsizetype j = end;
    if (j < s.size() && isTypeCharacter(s[j]) && (j + 1 >= s.size() || !isNameChar(s[j + 1]))) ++j;
    while (j < s.size() && s[j].isSpace()) ++j;
    if (s.sliced(j).startsWith(u":=")) return out;
    const bool hasArguments = j < s.size() && s[j] == u'(';
    // What precedes, across continued lines.
    int prevLine = line;
    QStringView p = s;
    qsizetype i = start - 1;
    for (;;) {
        while (i >= 0 && p[i].isSpace()) --i;
        if (i >= 0 || prevLine <= 1 || !continuesOnNextLine(code.line(prevLine - 1))) break;
        --prevLine;
        p = code.line(prevLine);
        i = p.lastIndexOf(u'_') - 1;
    }
    const QChar before = i >= 0 ? p[i] : QChar();
    if (before == u'!') return out;  // rs!Field: a key, no name
    if ((i < 0 || before == u':') && j < s.size() && s[j] == u':') return out;  // a label
    if (before != u'.' && leadsToLabel(wordBefore(p, i + 1))) return out;

    Declaration here;
    if (before != u'.' && declaredHere(module, line, start + 1, name, here)) {
        out.kind = UseKind::Declaration;
        out.targets.push_back(here);
        return out;
    }
    out.kind = UseKind::Use;
    // After As, New and Implements stands a type: a class (module), a Type
    // or an Enum, never a variable of the name.
    if (before != u'.') {
        const QStringView word = wordBefore(p, i + 1);
        if (sameName(word, u"As") || sameName(word, u"New") || sameName(word, u"Implements")) {
            out.targets = typeNamed(module, name);
            return out;
        }
    }
    if (before != u'.') {
        out.targets = unqualified(module, line, name, hasArguments, out.kind);
        return out;
    }
    // A member: of what the qualifier names.
    qsizetype q = i - 1;
    while (q >= 0 && p[q].isSpace()) --q;
    if (q >= 0 && isNameChar(p[q]) && depth < 8) {
        qsizetype qs = q;
        while (qs > 0 && isNameChar(p[qs - 1])) --qs;
        const QStringView qualifier = p.sliced(qs, q + 1 - qs);
        const bool qualifierQualified = [&] {
            qsizetype k = qs - 1;
            while (k >= 0 && p[k].isSpace()) --k;
            return k >= 0 && p[k] == u'.';
        }();
        if (sameName(qualifier, u"Me") && !qualifierQualified) {
            out.targets = members(module, module, name);
            return out;
        }
        const Resolution owner = resolveToken(module, prevLine, int(qs), int(q + 1), depth + 1);
        if (owner.kind == UseKind::Use && owner.targets.size() == 1) {
            const Declaration& o = owner.targets.front();
            if (o.kind == DeclarationKind::Module) {
                out.targets = members(module, o.module, name);
                return out;
            }
            if (o.kind == DeclarationKind::Enum) {
                for (const PlacedDeclaration* d : scope_.moduleLevel(o.module, name))
                    if (d->declaration.kind == DeclarationKind::EnumMember && sameName(d->declaration.container, o.name))
                        out.targets.push_back(d->declaration);
                return out;
            }
        }
    }
    out.objectMember = true;
    out.targets = objectMembers(name);
    return out;
}

std::vector<Declaration> NameResolver::unqualified(int module, int line, QStringView name, bool hasArguments,
                                                   UseKind& kind) {
    std::vector<Declaration> out;
    if (const RoutineRow* r = scope_.routineAt(module, line)) {
        if (const LocalName* l = scope_.localNamed(*r, name)) return {l->declaration};
        if ((r->type == RouFunction || r->type == RouPropertyGet) && sameName(r->name, name) &&
            line > scope_.headLastLine(*r)) {
            const bool takesArguments = !routineParameters(scope_.code(module), *r).empty();
            // Without arguments (or for a function that takes none) the name is the
            // value the function gives back; with them it calls itself.
            if (!(hasArguments && takesArguments)) kind = UseKind::ReturnValue;
        }
    }
    for (const PlacedDeclaration* p : scope_.moduleLevel(module, name)) out.push_back(p->declaration);
    if (kind == UseKind::ReturnValue) {
        // The function itself, not its namesakes (a Property Let of the name).
        const RoutineRow* r = scope_.routineAt(module, line);
        out.clear();
        out.push_back(routineDeclaration(r->number));
        return out;
    }
    if (!out.empty()) return out;
    for (const PlacedDeclaration* p : scope_.everywhere(name)) {
        const Declaration& d = p->declaration;
        if (d.module == module || !d.isPublic) continue;
        // Only a standard module's names are global; a class's Public Enum is too.
        if (scope_.isClassLike(d.module) && d.kind != DeclarationKind::Enum && d.kind != DeclarationKind::EnumMember)
            continue;
        out.push_back(d);
    }
    if (!out.empty()) return out;
    if (const int m = scope_.moduleNamed(name)) out.push_back({scope_.module(m)->name, DeclarationKind::Module, m, 1, true});
    return out;
}

std::vector<Declaration> NameResolver::typeNamed(int module, QStringView name) {
    std::vector<Declaration> out;
    auto isType = [](const Declaration& d) { return d.kind == DeclarationKind::Type || d.kind == DeclarationKind::Enum; };
    for (const PlacedDeclaration* p : scope_.moduleLevel(module, name))
        if (isType(p->declaration)) out.push_back(p->declaration);
    if (!out.empty()) return out;
    for (const PlacedDeclaration* p : scope_.everywhere(name))
        if (p->declaration.module != module && p->declaration.isPublic && isType(p->declaration))
            out.push_back(p->declaration);
    if (!out.empty()) return out;
    if (const int m = scope_.moduleNamed(name)) out.push_back({scope_.module(m)->name, DeclarationKind::Module, m, 1, true});
    return out;
}

std::vector<Declaration> NameResolver::members(int module, int ofModule, QStringView name) {
    std::vector<Declaration> out;
    for (const PlacedDeclaration* p : scope_.moduleLevel(ofModule, name))
        if (ofModule == module || p->declaration.isPublic) out.push_back(p->declaration);
    return out;
}

std::vector<Declaration> NameResolver::objectMembers(QStringView name) {
    std::vector<Declaration> out;
    for (const PlacedDeclaration* p : scope_.everywhere(name)) {
        const Declaration& d = p->declaration;
        if (!scope_.isClassLike(d.module) || !d.isPublic) continue;
        if (d.kind == DeclarationKind::Routine || d.kind == DeclarationKind::Variable ||
            d.kind == DeclarationKind::Event)
            out.push_back(d);
    }
    return out;
}

std::vector<NameReference> NameResolver::references(const Declaration& target, int onlyModule) {
    std::vector<NameReference> out;
    if (target.name.isEmpty()) return out;
    int firstModule = 1;
    int lastModule = scope_.moduleCount();
    int firstLine = 1;
    int lastLine = 0;  // 0: to the end
    if (isLocal(target.kind)) {
        const RoutineRow* r = scope_.routineNumbered(target.routine);
        if (!r) return out;
        firstModule = lastModule = r->module;
        firstLine = r->start;
        lastLine = routineLastLine(*r);
    } else if (!target.isPublic && target.kind != DeclarationKind::Module) {
        firstModule = lastModule = target.module;
    }
    if (onlyModule > 0) {
        if (onlyModule < firstModule || onlyModule > lastModule) return out;
        firstModule = lastModule = onlyModule;
    }
    const QByteArray nameUtf8 = target.name.toUtf8();
    const QStringView name = target.name;
    for (int m = firstModule; m <= lastModule; ++m) {
        if (!scope_.module(m)) continue;
        const QByteArray& bytes = scope_.text(m);
        if (bytes.isEmpty()) continue;
        // Lines worked out only for this search are dropped after it: a
        // project-wide search holds one module's at a time.
        const bool kept = scope_.hasCode(m);
        bool made = false;
        int lastLineRead = 0;
        const CodeLines* code = nullptr;
        qsizetype from = 0;
        qsizetype to = bytes.size();
        if (isLocal(target.kind) || firstLine > 1) {
            code = &scope_.code(m);
            made = true;
            from = code->byteStart(std::min(firstLine, code->count()));
            to = lastLine > 0 && lastLine < code->count() ? code->byteStart(lastLine + 1) : bytes.size();
        }
        // A module that declares the name itself binds every bare use of it
        // to its own: only a qualified use (".Name") can mean another's.
        const bool shadows = m != target.module && !scope_.moduleLevel(m, name).empty();
        forEachNameInBytes(bytes, nameUtf8, from, to, [&](qsizetype byteAt) {
            if (inTaggedLiteral(bytes, byteAt)) return;
            if (shadows) {
                qsizetype k = byteAt - 1;
                while (k >= 0 && (bytes[k] == ' ' || bytes[k] == '\t')) --k;
                // At a line's start only a continued line before can hold the qualifier.
                if (k >= 0 && bytes[k] == '\n') {
                    qsizetype e = k - 1;
                    if (e >= 0 && bytes[e] == '\r') --e;
                    while (e >= 0 && bytes[e] == ' ') --e;
                    if (e < 1 || bytes[e] != '_' || (bytes[e - 1] != ' ' && bytes[e - 1] != '\t')) return;
                } else if (k < 0 || bytes[k] != '.') {
                    return;
                }
            }
            if (!code) {
                code = &scope_.code(m);
                made = true;
            }
            const int l = code->lineOfByte(byteAt);
            if (l <= lastLineRead) return;
            lastLineRead = l;
            const QStringView s = code->line(l);
            for (qsizetype at = 0; (at = s.indexOf(name, at, Qt::CaseInsensitive)) >= 0;) {
                const qsizetype after = at + name.size();
                if ((at > 0 && isNameChar(s[at - 1])) || (after < s.size() && isNameChar(s[after]))) {
                    at = after;
                    continue;
                }
                const Resolution r = resolveToken(m, l, int(at), int(after), 0);
                at = after;
                if (r.kind != UseKind::Use && r.kind != UseKind::Declaration) continue;
                if (std::none_of(r.targets.begin(), r.targets.end(),
                                 [&target](const Declaration& d) { return sameDeclaration(d, target); }))
                    continue;
                const RoutineRow* around = scope_.routineAt(m, l);
                out.push_back({m, l, r.column, r.length, around ? around->number : 0, r.kind == UseKind::Declaration});
            }
        });
        if (made && !kept) scope_.forget(m);
    }
    return out;
}

void NameResolver::forEachName(int module, const std::function<void(int line, const Resolution&)>& f) {
    const CodeLines& code = scope_.code(module);
    for (const RoutineRow& r : scope_.routinesOf(module)) scope_.locals(r);
    std::vector<CodeToken> tokens;
    for (int l = 1; l <= code.count(); ++l) {
        tokens.clear();
        tokenizeLine(code.line(l), l, tokens);
        for (const CodeToken& t : tokens) {
            if (!t.word || t.text.isEmpty() || t.text.data() < code.line(l).data()) continue;
            const int start = int(t.text.data() - code.line(l).data());
            f(l, resolveToken(module, l, start, start + int(t.text.size()), 0));
        }
    }
}

std::vector<NameReference> NameResolver::calls(const Declaration& routine) {
    std::vector<NameReference> out = references(routine);
    std::erase_if(out, [](const NameReference& r) { return r.declaration; });
    return out;
}

}  // namespace lumo
