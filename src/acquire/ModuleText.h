#pragma once
// From stored module source to the lines the VBA editor shows.
#include <vector>

#include <QString>
#include <QStringList>

namespace lumo {

// Splits at CR LF, lone CR or lone LF; a final line break ends the last line
// instead of starting an empty one.
QStringList splitSourceLines(QStringView source);

// True for "Attribute VB_Name = ..." and "Attribute Proc.VB_..." lines.
bool isAttributeLine(QStringView line);

// The code as the editor shows it: the lines joined by CR LF without a break
// after the last, and where each line starts, so that any range of lines is
// one copy out of one string.
class EditorText {
public:
    EditorText() = default;
    // Implicit, so that a module can be written down as its list of lines.
    EditorText(const QStringList& lines) {
        for (const QString& line : lines) appendLine(line);
    }
    int lineCount() const { return int(starts_.size()); }
    // Lines start to start + count - 1 (1-based), joined by CR LF; the range
    // must lie within the text.
    QString lines(int start, int count) const;
    QStringList toList() const;
    const QString& text() const { return text_; }
    void reserve(qsizetype chars) { text_.reserve(chars); }
    void appendLine(QStringView line);
    // Lines already joined by CR LF, copied in one piece; lineStarts are
    // their starts relative to block.
    void appendBlock(QStringView block, const std::vector<qsizetype>& lineStarts);

private:
    QString text_;
    std::vector<qsizetype> starts_;
};

// The lines the editor hides, kept so that a module can be written out again
// as the editor exports it.
struct HiddenLines {
    QStringList head;  // before the first shown line: VERSION, BEGIN ... END, the Attribute lines
    // "Attribute Name.VB_..." lines among the code: how many shown lines come
    // before each, and its text.
    std::vector<std::pair<int, QString>> inside;
};

// The editor hides the module's leading Attribute lines and the
// "Attribute Name.VB_..." lines that follow a routine head; hidden, when
// given, receives them.
EditorText editorText(QStringView source, HiddenLines* hidden = nullptr);
QStringList editorLines(QStringView source);

// An exported .bas, .cls or .frm file: the VERSION line and the BEGIN ... END
// block (nested for forms) come before the Attribute lines; all hidden.
struct ExportedSource {
    QString vbName;            // from Attribute VB_Name, empty when missing
    bool documentModule = false;  // a .cls exported from a document (VB_Base / VB_Customizable)
    QStringList lines;
    HiddenLines hidden;
    std::vector<int> sourceLines;  // per line of `lines`: its 0-based line in the source
};
ExportedSource parseExportedSource(QStringView source);

// The value of one Attribute line ("Attribute VB_Name = "X"" gives X), or an
// empty string when the line is no attribute of that name.
QString attributeValue(QStringView line, QStringView attribute);

}  // namespace lumo
