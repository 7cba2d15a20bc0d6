#pragma once
// A module's code as the code view shows it, line by line, with the text of
// comments and string literals turned into blanks of the same length: every
// name left is code, and a column here is the column the reader sees.
#include <vector>

#include <QString>
#include <QStringView>

namespace lumo {

struct CodeLines {
    std::vector<QString> lines;  // lines[0] is line 1; no line breaks

    int count() const { return int(lines.size()); }
    // Line `line` (1-based); empty beyond the text.
    QStringView line(int line) const {
        return line >= 1 && line <= count() ? QStringView(lines[size_t(line) - 1]) : QStringView();
    }
};

CodeLines codeLinesOf(QStringView tagged);

// The characters of a VBA name: letters of any script, digits and "_".
inline bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// A physical line that goes on in the next one: it ends in " _".
bool continuesOnNextLine(QStringView line);

}  // namespace lumo
