#pragma once
// A module's code as the code view shows it, line by line, with the text of
// comments and string literals turned into blanks of the same length: every
// name left is code, and a column here is the column the reader sees. Lines
// are decoded from the stored UTF-8 when first asked for, each from the
// start of its statement (a comment may go on over a continued line), so a
// search that looks at a few lines of a large module decodes only those.
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace lumo {

class CodeLines {
public:
    CodeLines() = default;
    explicit CodeLines(QByteArray taggedUtf8);

    int count() const { return int(starts_.size()); }
    // Line `line` (1-based) without its line break; empty beyond the text.
    QStringView line(int line) const;
    // The stored bytes and where each line starts in them.
    const QByteArray& bytes() const { return bytes_; }
    qsizetype byteStart(int line) const { return starts_[size_t(line) - 1]; }
    // The line holding byte `at`.
    int lineOfByte(qsizetype at) const;

private:
    void decodeUpTo(int line) const;

    QByteArray bytes_;
    std::vector<qsizetype> starts_;
    mutable std::vector<QString> decoded_;
    mutable std::vector<bool> done_;
};

// The characters of a VBA name: letters of any script, digits and "_".
inline bool isNameChar(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80) return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'_';
    return c.isLetterOrNumber();
}

// A physical line that goes on in the next one: it ends in " _".
bool continuesOnNextLine(QStringView line);

}  // namespace lumo
