#include "acquire/ModuleText.h"

#include <iterator>

#include "base/ByteSearch.h"
#include "base/CaseFold.h"

namespace lumo {

namespace {

bool startsWithWord(QStringView line, QStringView word) {
    if (!line.startsWith(word, Qt::CaseInsensitive)) return false;
    return line.size() == word.size() || line[word.size()].isSpace();
}

QStringView trimmedLeft(QStringView s) {
    qsizetype i = 0;
    while (i < s.size() && (s[i] == u' ' || s[i] == u'\t')) ++i;
    return s.mid(i);
}

bool isIdentChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// The word "Attribute" without regard to case, compared as ASCII: no other
// character folds to one of its letters, and the general comparison costs
// far more for the many lines that start with an A.
bool startsWithAttributeWord(QStringView line) {
    static constexpr char16_t kWord[] = u"attribute";
    constexpr qsizetype n = std::size(kWord) - 1;
    if (line.size() < n) return false;
    for (qsizetype i = 0; i < n; ++i)
        if (asciiLower(line[i].unicode()) != kWord[i]) return false;
    return line.size() == n || line[n].isSpace();
}

}  // namespace

QStringList splitSourceLines(QStringView source) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = source.size();
    const QChar* d = source.data();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = d[i].unicode();
        if (c != u'\r' && c != u'\n') continue;
        lines.append(source.mid(start, i - start).toString());
        if (c == u'\r' && i + 1 < n && d[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.append(source.mid(start).toString());
    return lines;
}

bool isAttributeLine(QStringView line) {
    // Cheap first test: this runs for every line of every module.
    if (line.size() < 10 || (line[0] != u'A' && line[0] != u'a')) return false;
    if (!startsWithAttributeWord(line)) return false;
    QStringView rest = trimmedLeft(line.mid(9));
    // A name, optionally qualified (Proc.VB_..., Var.VB_VarUserMemId), then "=".
    qsizetype i = 0;
    while (i < rest.size() && (isIdentChar(rest[i]) || rest[i] == u'.')) ++i;
    if (i == 0) return false;
    rest = trimmedLeft(rest.mid(i));
    return rest.startsWith(u'=');
}

namespace {

// Inside the code only the qualified form is hidden: "Attribute X.VB_...".
bool isMemberAttributeLine(QStringView line) {
    if (!isAttributeLine(line)) return false;
    QStringView rest = trimmedLeft(line.mid(9));
    const qsizetype dot = rest.indexOf(u'.');
    const qsizetype eq = rest.indexOf(u'=');
    return dot > 0 && dot < eq && rest.mid(dot + 1).startsWith(u"VB_", Qt::CaseInsensitive);
}

QStringList hideAttributes(QStringList lines, qsizetype from, HiddenLines& hidden, std::vector<int>& kept) {
    QStringList out;
    out.reserve(lines.size() - from);
    kept.reserve(size_t(lines.size() - from));
    for (qsizetype k = 0; k < from; ++k) hidden.head.append(lines[k]);
    qsizetype i = from;
    for (; i < lines.size() && isAttributeLine(lines[i]); ++i) hidden.head.append(lines[i]);
    for (; i < lines.size(); ++i) {
        if (isMemberAttributeLine(lines[i])) {
            hidden.inside.emplace_back(int(out.size()), std::move(lines[i]));
        } else {
            out.append(std::move(lines[i]));
            kept.push_back(int(i));
        }
    }
    return out;
}

}  // namespace

QString EditorText::lines(int start, int count) const {
    if (count <= 0) return {};
    const qsizetype from = starts_[std::size_t(start - 1)];
    const std::size_t after = std::size_t(start - 1 + count);
    const qsizetype to = after < starts_.size() ? starts_[after] - 2 : text_.size();
    return text_.mid(from, to - from);
}

QStringList EditorText::toList() const {
    QStringList out;
    out.reserve(lineCount());
    for (int i = 1; i <= lineCount(); ++i) out << lines(i, 1);
    return out;
}

void EditorText::appendLine(QStringView line) {
    if (!starts_.empty()) text_ += QLatin1String("\r\n");
    starts_.push_back(text_.size());
    text_ += line;
}

void EditorText::appendBlock(QStringView block, const std::vector<qsizetype>& lineStarts) {
    if (lineStarts.empty()) return;
    if (!starts_.empty()) text_ += QLatin1String("\r\n");
    const qsizetype base = text_.size();
    for (qsizetype s : lineStarts) starts_.push_back(base + s);
    text_ += block;
}

EditorText editorText(QStringView source, HiddenLines* hidden) {
    EditorText out;
    out.reserve(source.size());
    const QChar* d = source.data();
    const qsizetype n = source.size();
    // Kept lines that follow each other with CR LF between them are copied
    // as one block: most modules are one block after their attributes.
    qsizetype blockFrom = -1, blockTo = -1;
    std::vector<qsizetype> blockStarts;
    auto flush = [&] {
        if (blockFrom >= 0) out.appendBlock(source.sliced(blockFrom, blockTo - blockFrom), blockStarts);
        blockFrom = -1;
        blockStarts.clear();
    };
    bool header = true;
    qsizetype start = 0;
    while (start < n) {
        // Runs for every character of every module: eight are tested at once.
        const qsizetype end = findLineBreak(reinterpret_cast<const char16_t*>(d), start, n);
        const QStringView line = source.sliced(start, end - start);
        bool keep = false;
        if (!(header && isAttributeLine(line))) {
            header = false;
            keep = !isMemberAttributeLine(line);
            if (!keep && hidden) hidden->inside.emplace_back(out.lineCount() + int(blockStarts.size()), line.toString());
        } else if (hidden) {
            hidden->head.append(line.toString());
        }
        if (keep) {
            const bool joined = blockFrom >= 0 && blockTo + 2 == start && d[blockTo] == u'\r' && d[blockTo + 1] == u'\n';
            if (!joined) {
                flush();
                blockFrom = start;
            }
            blockStarts.push_back(start - blockFrom);
            blockTo = end;
        }
        if (end >= n) break;
        start = end + ((d[end] == u'\r' && end + 1 < n && d[end + 1] == u'\n') ? 2 : 1);
    }
    flush();
    return out;
}

QStringList editorLines(QStringView source) { return editorText(source).toList(); }

QString attributeValue(QStringView line, QStringView attribute) {
    if (!startsWithWord(line, u"Attribute")) return {};
    QStringView rest = trimmedLeft(line.mid(9));
    if (!rest.startsWith(attribute, Qt::CaseInsensitive)) return {};
    rest = trimmedLeft(rest.mid(attribute.size()));
    if (!rest.startsWith(u'=')) return {};
    rest = rest.mid(1).trimmed();
    if (rest.startsWith(u'"')) {
        const qsizetype close = rest.indexOf(u'"', 1);
        return rest.mid(1, close < 0 ? -1 : close - 1).toString();
    }
    return rest.toString();
}

ExportedSource parseExportedSource(QStringView source) {
    ExportedSource result;
    QStringList lines = splitSourceLines(source);
    qsizetype i = 0;
    if (i < lines.size() && startsWithWord(trimmedLeft(lines[i]), u"VERSION")) ++i;
    // The designer block: BEGIN ... END, with nested Begin ... End for controls.
    if (i < lines.size() && startsWithWord(trimmedLeft(lines[i]), u"Begin")) {
        int depth = 0;
        for (; i < lines.size(); ++i) {
            const QStringView t = trimmedLeft(lines[i]);
            if (startsWithWord(t, u"Begin") || startsWithWord(t, u"BeginProperty")) ++depth;
            else if (startsWithWord(t, u"End") || startsWithWord(t, u"EndProperty")) --depth;
            if (depth <= 0) {
                ++i;
                break;
            }
        }
    }
    // Some exporters put an Object = ... line between the block and the attributes.
    while (i < lines.size() && startsWithWord(trimmedLeft(lines[i]), u"Object") &&
           trimmedLeft(lines[i]).mid(6).trimmed().startsWith(u'=')) ++i;
    for (qsizetype k = i; k < lines.size() && isAttributeLine(lines[k]); ++k) {
        const QString name = attributeValue(lines[k], u"VB_Name");
        if (!name.isEmpty() && result.vbName.isEmpty()) result.vbName = name;
        if (!attributeValue(lines[k], u"VB_Base").isEmpty() || !attributeValue(lines[k], u"VB_Customizable").isEmpty())
            result.documentModule = true;
    }
    result.lines = hideAttributes(std::move(lines), i, result.hidden, result.sourceLines);
    return result;
}

}  // namespace lumo
