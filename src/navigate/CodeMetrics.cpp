#include "navigate/CodeMetrics.h"

#include <algorithm>

#include "navigate/CodeTokens.h"

namespace lumo {

namespace {

// The statement without a leading line number or label.
size_t firstWord(const std::vector<CodeToken>& s) {
    size_t i = 0;
    if (i < s.size() && !s[i].word && !s[i].text.isEmpty() && s[i].text[0].isDigit()) ++i;
    return i;
}

bool has(const std::vector<CodeToken>& s, size_t from, const char* keyword) {
    for (size_t i = from; i < s.size(); ++i)
        if (s[i].is(keyword)) return true;
    return false;
}

}  // namespace

Measures measureLines(const CodeLines& code, const std::vector<ShownLine>& shown, int first, int last) {
    Measures m;
    last = std::min(last, code.count());
    if (first > last) return m;
    m.lines = last - first + 1;
    for (int l = first; l <= last; ++l) {
        if (!code.line(l).trimmed().isEmpty()) ++m.codeLines;
        if (l <= int(shown.size()) && shown[size_t(l) - 1].commentColumn > 0) ++m.commentLines;
    }
    int depth = 0;
    forEachStatement(code, first, last, [&](const std::vector<CodeToken>& s) {
        const size_t i = firstWord(s);
        if (i >= s.size() || s[i].text == u"#") return;
        const CodeToken& t = s[i];
        auto open = [&] {
            ++depth;
            if (depth > m.nesting) {
                m.nesting = depth;
                m.deepestLine = t.line;
            }
        };
        if (t.is("If")) {
            ++m.complexity;
            // A block If ends its statement with Then.
            if (s.back().is("Then")) open();
        } else if (t.is("ElseIf")) {
            ++m.complexity;
        } else if (t.is("Case")) {
            if (!(i + 1 < s.size() && s[i + 1].is("Else"))) ++m.complexity;
        } else if (t.is("For") || t.is("While")) {
            ++m.complexity;
            open();
        } else if (t.is("Do")) {
            if (has(s, i + 1, "While") || has(s, i + 1, "Until")) ++m.complexity;
            open();
        } else if (t.is("Select") || t.is("With")) {
            open();
        } else if (t.is("Loop")) {
            if (has(s, i + 1, "While") || has(s, i + 1, "Until")) ++m.complexity;
            depth = std::max(0, depth - 1);
        } else if (t.is("Next")) {
            // "Next i, j" ends two loops.
            int ended = 1;
            for (size_t k = i + 1; k < s.size(); ++k)
                if (s[k].text == u",") ++ended;
            depth = std::max(0, depth - ended);
        } else if (t.is("Wend")) {
            depth = std::max(0, depth - 1);
        } else if (t.is("End") && i + 1 < s.size() &&
                   (s[i + 1].is("If") || s[i + 1].is("Select") || s[i + 1].is("With"))) {
            depth = std::max(0, depth - 1);
        }
    });
    return m;
}

}  // namespace lumo
