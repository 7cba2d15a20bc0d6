#include "navigate/RoutineLocals.h"

#include <algorithm>

#include "model/CodeDatabase.h"
#include "model/Codes.h"
#include "navigate/CodeTokens.h"
#include "navigate/NameSearch.h"

namespace lumo {

namespace {

// The first name of each item of a list at bracket depth 0 from token
// `from` on, passing over the words that may stand before it:
// "a As Long, b(1 To 3), WithEvents c As X" gives a, b, c.
template <class Add>
void listedNames(const std::vector<CodeToken>& t, size_t from, size_t to, Add add) {
    int depth = 0;
    bool itemStart = true;
    for (size_t i = from; i < to; ++i) {
        const CodeToken& k = t[i];
        if (!k.word) {
            if (k.text == u"(") ++depth;
            else if (k.text == u")") depth = std::max(0, depth - 1);
            else if (k.text == u"," && depth == 0) itemStart = true;
            continue;
        }
        if (!itemStart || depth > 0) continue;
        if (k.is("WithEvents") || k.is("Optional") || k.is("ByVal") || k.is("ByRef") || k.is("ParamArray") ||
            k.is("Preserve"))
            continue;
        add(k);
        itemStart = false;
    }
}

LocalName local(const RoutineRow& r, const CodeToken& t, DeclarationKind kind, bool byReDim) {
    Declaration d{t.text.toString(), kind, r.module, t.line, false};
    d.routine = r.number;
    return {std::move(d), t.column, byReDim};
}

// The parameters in the tokens of a head: after the routine's name, in brackets.
void headParameters(const std::vector<CodeToken>& t, const RoutineRow& r, std::vector<LocalName>& out) {
    for (size_t i = 0; i < t.size(); ++i) {
        if (!t[i].word || t[i].text.compare(r.name, Qt::CaseInsensitive) != 0) continue;
        if (i + 1 >= t.size() || t[i + 1].text != u"(") return;
        size_t close = i + 2;
        for (int depth = 1; close < t.size(); ++close) {
            if (t[close].text == u"(") ++depth;
            else if (t[close].text == u")" && --depth == 0) break;
        }
        listedNames(t, i + 2, close, [&](const CodeToken& k) { out.push_back(local(r, k, DeclarationKind::Parameter, false)); });
        return;
    }
}

// What one statement of the body declares.
void bodyDeclarations(const std::vector<CodeToken>& t, const RoutineRow& r, std::vector<LocalName>& out) {
    // A label before the statement ("Retry: Dim x") is parted by ":" already.
    if (t.empty() || !t[0].word) return;
    auto add = [&](DeclarationKind kind, bool byReDim) {
        listedNames(t, 1, t.size(), [&](const CodeToken& k) { out.push_back(local(r, k, kind, byReDim)); });
    };
    if (t[0].is("Dim") || t[0].is("Static")) add(DeclarationKind::LocalVariable, false);
    else if (t[0].is("Const")) add(DeclarationKind::LocalConstant, false);
    else if (t[0].is("ReDim")) add(DeclarationKind::LocalVariable, true);
}

bool hasBody(const RoutineRow& r, int headLast) {
    return r.type != RouDeclareSub && r.type != RouDeclareFunction && r.end > headLast;
}

}  // namespace

int headLastLine(const CodeLines& code, const RoutineRow& r) {
    int last = r.start;
    while (last < code.count() && continuesOnNextLine(code.line(last))) ++last;
    return last;
}

int routineLastLine(const RoutineRow& r) {
    return r.end > 0 ? r.end : r.start + std::max(1, r.headLines) - 1;
}

std::vector<LocalName> routineParameters(const CodeLines& code, const RoutineRow& r) {
    std::vector<LocalName> out;
    if (r.start < 1) return out;
    bool done = false;
    forEachStatement(code, r.start, headLastLine(code, r), [&](const std::vector<CodeToken>& t) {
        if (!done) headParameters(t, r, out);
        done = true;
    });
    return out;
}

std::vector<LocalName> routineLocals(const CodeLines& code, const RoutineRow& r) {
    std::vector<LocalName> out = routineParameters(code, r);
    if (r.start < 1) return out;
    const int headLast = headLastLine(code, r);
    if (!hasBody(r, headLast)) return out;
    forEachStatement(code, headLast + 1, r.end - 1, [&](const std::vector<CodeToken>& t) { bodyDeclarations(t, r, out); });
    return out;
}

std::vector<LocalName> routineLocalsNamed(const CodeLines& code, const RoutineRow& r, QStringView name) {
    std::vector<LocalName> out;
    if (r.start < 1 || r.start > code.count()) return out;
    const int headLast = headLastLine(code, r);
    const int last = std::min(code.count(), hasBody(r, headLast) ? r.end - 1 : headLast);
    const QByteArray nameUtf8 = name.toUtf8();
    const qsizetype to = last < code.count() ? code.byteStart(last + 1) : code.bytes().size();
    std::vector<LocalName> found;
    int readUpTo = 0;  // statements are read once, though the name stands in them twice
    forEachNameInBytes(code.bytes(), nameUtf8, code.byteStart(r.start), to, [&](qsizetype at) {
        const int line = code.lineOfByte(at);
        if (line <= readUpTo) return;
        if (line <= headLast) {
            forEachStatement(code, r.start, headLast, [&](const std::vector<CodeToken>& t) {
                if (readUpTo < headLast) headParameters(t, r, found);
                readUpTo = headLast;
            });
            return;
        }
        // The statement around the line: from the line that no other continues.
        int first = line;
        while (first > headLast + 1 && continuesOnNextLine(code.line(first - 1))) --first;
        int end = line;
        while (end < last && continuesOnNextLine(code.line(end))) ++end;
        forEachStatement(code, first, end, [&](const std::vector<CodeToken>& t) { bodyDeclarations(t, r, found); });
        readUpTo = end;
    });
    for (LocalName& l : found)
        if (l.declaration.name.compare(name, Qt::CaseInsensitive) == 0) out.push_back(std::move(l));
    return out;
}

}  // namespace lumo
