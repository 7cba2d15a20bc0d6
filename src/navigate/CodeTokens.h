#pragma once
// The words and signs of code lines, each with its place, read statement by
// statement: continued lines ("_" at the end) make one statement, ":" parts
// them (":=" of a named argument does not).
#include <vector>

#include <QStringView>

#include "navigate/CodeLines.h"

namespace lumo {

struct CodeToken {
    QStringView text;  // a name without its type character ("Join" of "Join$"), a number, or one sign
    int line = 0;      // 1-based
    int column = 0;    // 1-based, in the line as shown
    bool word = false; // a name or keyword (numbers and signs are not)

    bool is(const char* keyword) const;
};

// The tokens of one line from column `from` (1-based) on.
void tokenizeLine(QStringView line, int lineNumber, std::vector<CodeToken>& out, int from = 1);

// Calls f(tokens) for each statement of lines first..last.
template <class F>
void forEachStatement(const CodeLines& code, int first, int last, F f) {
    std::vector<CodeToken> line;
    std::vector<CodeToken> statement;
    for (int l = first; l <= last && l <= code.count(); ++l) {
        line.clear();
        const QStringView text = code.line(l);
        tokenizeLine(text, l, line);
        const bool goesOn = continuesOnNextLine(text);
        if (goesOn && !line.empty()) line.pop_back();  // the "_"
        for (const CodeToken& t : line) {
            if (t.text == u":") {
                if (!statement.empty()) f(statement);
                statement.clear();
            } else {
                statement.push_back(t);
            }
        }
        if (goesOn && l < last) continue;
        if (!statement.empty()) f(statement);
        statement.clear();
    }
}

}  // namespace lumo
