#include "export/ModuleParts.h"

#include "base/CaseFold.h"

namespace lumo {

namespace {

bool isIdentChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// The next word of line from at (blanks skipped); at moves past it.
QStringView nextWord(QStringView line, qsizetype& at) {
    while (at < line.size() && (line[at] == u' ' || line[at] == u'\t')) ++at;
    const qsizetype from = at;
    if (at < line.size() && line[at] == u'[') {  // a bracketed name
        const qsizetype close = line.indexOf(u']', at);
        at = close < 0 ? line.size() : close + 1;
        return line.sliced(from, at - from);
    }
    while (at < line.size() && isIdentChar(line[at])) ++at;
    return line.sliced(from, at - from);
}

bool is(QStringView word, QStringView keyword) { return word.compare(keyword, Qt::CaseInsensitive) == 0; }

// The kind and name of a routine head ("Private Static Function X(...)"), or
// nothing: Declare lines and everything else belong to the declarations.
bool routineHead(QStringView line, QString& kind, QString& name) {
    qsizetype at = 0;
    QStringView word = nextWord(line, at);
    if (is(word, u"Public") || is(word, u"Private") || is(word, u"Friend")) word = nextWord(line, at);
    if (is(word, u"Static")) word = nextWord(line, at);
    if (is(word, u"Sub") || is(word, u"Function")) {
        kind = word.at(0).toUpper() + word.sliced(1).toString().toLower();
    } else if (is(word, u"Property")) {
        const QStringView access = nextWord(line, at);
        if (!is(access, u"Get") && !is(access, u"Let") && !is(access, u"Set")) return false;
        kind = QStringLiteral("Property ") + access.at(0).toUpper() + access.sliced(1).toString().toLower();
    } else {
        return false;
    }
    const QStringView n = nextWord(line, at);
    if (n.isEmpty()) return false;
    name = n.toString();
    return true;
}

bool routineEnd(QStringView line) {
    qsizetype at = 0;
    if (!is(nextWord(line, at), u"End")) return false;
    const QStringView what = nextWord(line, at);
    return is(what, u"Sub") || is(what, u"Function") || is(what, u"Property");
}

// Blank or nothing but a comment: such lines above a head go with the routine.
bool isQuiet(QStringView line) {
    const QStringView t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u'\'')) return true;
    return t.size() >= 3 && is(t.first(3), u"Rem") && (t.size() == 3 || t[3].isSpace());
}

bool continues(QStringView line) {
    const QStringView t = line.trimmed();
    return t.endsWith(u" _") || t == u"_";
}

}  // namespace

QString ModulePart::label() const {
    return kind.isEmpty() ? QStringLiteral("(Deklarationen)") : kind + QLatin1Char(' ') + name;
}

QString ModulePart::key() const { return kind.isEmpty() ? QString() : kind + QLatin1Char(' ') + caseFolded(name); }

std::vector<ModulePart> moduleParts(const QStringList& lines) {
    std::vector<ModulePart> parts(1);
    const int n = int(lines.size());
    int lastCode = -1;      // the last line of the open block that is not quiet
    bool open = false;      // inside a routine, before its End
    bool continued = false;
    for (int i = 0; i < n; ++i) {
        const QStringView line = lines[i];
        const bool statement = !continued;
        continued = continues(line);
        QString kind, name;
        if (statement && !open && routineHead(line, kind, name)) {
            // The quiet lines just above the head are the routine's.
            const int start = lastCode + 1;
            ModulePart& before = parts.back();
            before.count = start - before.first;
            parts.push_back({kind, name, start, 0});
            open = true;
        } else if (statement && open && routineEnd(line)) {
            open = false;
        }
        if (!isQuiet(line) || open) lastCode = i;
    }
    parts.back().count = n - parts.back().first;
    return parts;
}

}  // namespace lumo
