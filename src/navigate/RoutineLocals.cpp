#include "navigate/RoutineLocals.h"

#include <algorithm>

#include "model/CodeDatabase.h"
#include "model/Codes.h"
#include "navigate/CodeTokens.h"

namespace lumo {

namespace {

// The first name of each item of a list at bracket depth 0 from token
// `from` on, passing over the words that may stand before it:
// "a As Long, b(1 To 3), WithEvents c As X" gives a, b, c.
template <class Add>
void listedNames(const std::vector<CodeToken>& t, size_t from, Add add) {
    int depth = 0;
    bool itemStart = true;
    for (size_t i = from; i < t.size(); ++i) {
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

}  // namespace

int routineLastLine(const RoutineRow& r) {
    return r.end > 0 ? r.end : r.start + std::max(1, r.headLines) - 1;
}

std::vector<LocalName> routineLocals(const CodeLines& code, const RoutineRow& r) {
    std::vector<LocalName> out;
    auto add = [&out, &r](const CodeToken& t, DeclarationKind kind, bool byReDim) {
        Declaration d{t.text.toString(), kind, r.module, t.line, false};
        d.routine = r.number;
        out.push_back({std::move(d), t.column, byReDim});
    };
    if (r.start < 1) return out;
    const int headLast = r.start + std::max(1, r.headLines) - 1;
    bool headDone = false;
    forEachStatement(code, r.start, headLast, [&](const std::vector<CodeToken>& t) {
        if (headDone) return;
        // The head: its name, then the parameter list in brackets.
        for (size_t i = 0; i < t.size(); ++i) {
            if (!t[i].word || t[i].text.compare(r.name, Qt::CaseInsensitive) != 0) continue;
            if (i + 1 >= t.size() || t[i + 1].text != u"(") break;
            size_t close = i + 2;
            for (int depth = 1; close < t.size(); ++close) {
                if (t[close].text == u"(") ++depth;
                else if (t[close].text == u")" && --depth == 0) break;
            }
            std::vector<CodeToken> params(t.begin() + std::ptrdiff_t(i) + 2, t.begin() + std::ptrdiff_t(close));
            listedNames(params, 0, [&](const CodeToken& k) { add(k, DeclarationKind::Parameter, false); });
            headDone = true;
            break;
        }
    });
    if (r.type == RouDeclareSub || r.type == RouDeclareFunction || r.end <= headLast) return out;
    forEachStatement(code, headLast + 1, r.end - 1, [&](const std::vector<CodeToken>& t) {
        size_t i = 0;
        // A label before the statement ("Retry: Dim x") is parted by ":" already.
        if (t.empty() || !t[0].word) return;
        if (t[i].is("Dim") || t[i].is("Static")) {
            listedNames(t, i + 1, [&](const CodeToken& k) { add(k, DeclarationKind::LocalVariable, false); });
        } else if (t[i].is("Const")) {
            listedNames(t, i + 1, [&](const CodeToken& k) { add(k, DeclarationKind::LocalConstant, false); });
        } else if (t[i].is("ReDim")) {
            listedNames(t, i + 1, [&](const CodeToken& k) { add(k, DeclarationKind::LocalVariable, true); });
        }
    });
    return out;
}

}  // namespace lumo
