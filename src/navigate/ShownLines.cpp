#include "navigate/ShownLines.h"

#include "model/TaggedText.h"
#include "navigate/CodeLines.h"

namespace lumo {

namespace {

struct PlainSink {
    QString& out;
    void text(QStringView s) { out += s; }
    void tag(TagKind) {}
};

// Rem starts a comment where a statement starts: at the line's start, after
// a ":" or a line label.
bool remAt(QStringView s, qsizetype i) {
    if (i + 3 > s.size() || s.mid(i, 3).compare(u"rem", Qt::CaseInsensitive) != 0) return false;
    if (i + 3 < s.size() && isNameChar(s[i + 3])) return false;
    qsizetype k = i - 1;
    while (k >= 0 && s[k].isSpace()) --k;
    return k < 0 || s[k] == u':';
}

void split(ShownLine& line, bool inComment) {
    const QStringView s = line.text;
    if (inComment) {
        line.commentColumn = 1;
        return;
    }
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'\'' || ((c == u'R' || c == u'r') && (i == 0 || !isNameChar(s[i - 1])) && remAt(s, i))) {
            line.commentColumn = int(i) + 1;
            return;
        }
        if (c != u'"') continue;
        StringLiteral lit{int(i) + 1, {}};
        qsizetype j = i + 1;
        for (; j < s.size(); ++j) {
            if (s[j] != u'"') {
                lit.text += s[j];
            } else if (j + 1 < s.size() && s[j + 1] == u'"') {
                lit.text += u'"';
                ++j;
            } else {
                break;
            }
        }
        line.strings.push_back(std::move(lit));
        i = j;
    }
}

}  // namespace

std::vector<ShownLine> shownLines(const QByteArray& taggedUtf8) {
    QString plain;
    plain.reserve(taggedUtf8.size());
    PlainSink sink{plain};
    readTagged(QString::fromUtf8(taggedUtf8), sink);
    std::vector<ShownLine> lines;
    bool inComment = false;
    qsizetype at = 0;
    while (at <= plain.size()) {
        qsizetype nl = plain.indexOf(u'\n', at);
        const bool last = nl < 0;
        if (last) nl = plain.size();
        qsizetype stop = nl;
        if (stop > at && plain[stop - 1] == u'\r') --stop;
        ShownLine line;
        line.text = plain.sliced(at, stop - at);
        split(line, inComment);
        inComment = line.commentColumn > 0 && continuesOnNextLine(line.text);
        lines.push_back(std::move(line));
        if (last) break;
        at = nl + 1;
    }
    return lines;
}

}  // namespace lumo
