#include "navigate/CommentBlock.h"

namespace lumo {

bool isCommentLine(QStringView line) {
    const QStringView t = line.trimmed();
    if (t.startsWith(u'\'')) return true;
    if (!t.startsWith(u"rem", Qt::CaseInsensitive)) return false;
    return t.size() == 3 || t[3].isSpace();
}

int commentBlockStart(const std::function<QString(int)>& lineText, int line, int maxLines) {
    int first = line;
    while (first > 1 && line - first < maxLines && isCommentLine(lineText(first - 1))) --first;
    return first;
}

QStringList commentBlockAbove(const std::function<QString(int)>& lineText, int line, int maxLines) {
    QStringList out;
    for (int n = commentBlockStart(lineText, line, maxLines); n < line; ++n) out << lineText(n);
    return out;
}

}  // namespace lumo
