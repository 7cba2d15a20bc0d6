#include "acquire/EditorImport.h"

#include <QHash>

#include "model/Keywords.h"

namespace lumo {

namespace {

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// Lower case to the spelling written: the words of the keyword list, except
// where the editor spells a word otherwise than the list (the list's Cbool
// or Redim are never coloured, in documents neither).
const QHash<QString, QString>& spellings() {
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> t;
        for (const QString& entry : keywordEntries()) {
            const QStringList words = entry.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (words.size() == 1) t.insert(words.front().toLower(), words.front());
        }
        for (const char* editor : {"CBool", "CByte", "CInt", "CLng", "ReDim"})
            t.insert(QString::fromLatin1(editor).toLower(), QString::fromLatin1(editor));
        return t;
    }();
    return table;
}

// The words that follow Option in the list's entries of several words.
const QHash<QString, QString>& optionWords() {
    static const QHash<QString, QString> table = [] {
        QHash<QString, QString> t;
        for (const QString& entry : keywordEntries()) {
            const QStringList words = entry.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (words.size() > 1)
                for (const QString& w : words) t.insert(w.toLower(), w);
        }
        return t;
    }();
    return table;
}

bool endsWithContinuation(const QString& line) {
    return line.size() >= 2 && line.endsWith(u'_') && (line[line.size() - 2] == u' ' || line[line.size() - 2] == u'\t');
}

qsizetype skipBlanks(const QString& s, qsizetype i) {
    while (i < s.size() && (s[i] == u' ' || s[i] == u'\t')) ++i;
    return i;
}

// The word at i (which starts one), and where it ends.
QStringView wordAt(const QString& s, qsizetype i, qsizetype* end) {
    qsizetype e = i;
    while (e < s.size() && isWordChar(s[e])) ++e;
    *end = e;
    return QStringView(s).sliced(i, e - i);
}

// What is known of the statement being read: its first word and the words
// before the one at hand, across continued lines.
struct Statement {
    QString first;              // lower case; empty at its start
    bool onlyModifiers = true;  // every word so far is Public, Private, Friend, Global or Static
    QString previous;           // lower case
    bool declare = false;       // a Declare statement
    void reset() { *this = Statement{}; }
};

// Words of the list that are keywords only in some statements; elsewhere
// they are names (a variable "property", a parameter "random"), which the
// editor leaves as written. Respelled, such a name would be taken for a
// keyword: "property" in a routine's body for its end.
// `next` is the word after it on the line.
bool keywordHere(const QString& lower, const Statement& st, QStringView next) {
    if (lower == u"property") {
        if (st.previous == u"end" || st.previous == u"exit") return true;
        return st.onlyModifiers && (next.compare(u"get", Qt::CaseInsensitive) == 0 ||
                                    next.compare(u"let", Qt::CaseInsensitive) == 0 ||
                                    next.compare(u"set", Qt::CaseInsensitive) == 0);
    }
    if (lower == u"lib") return st.declare;
    if (lower == u"access" || lower == u"binary" || lower == u"random") return st.first == u"open";
    return true;
}

bool isModifier(const QString& lower) {
    return lower == u"public" || lower == u"private" || lower == u"friend" || lower == u"global" ||
           lower == u"static";
}

// Keywords in their spelling, outside strings, comments and [names];
// returns whether the line ends inside a comment that continues. st carries
// over from a line that continues.
bool respellLine(QString& line, bool inComment, Statement& st) {
    if (inComment) return endsWithContinuation(line);
    const auto& words = spellings();
    const qsizetype first = skipBlanks(line, 0);
    bool optionLine = false;
    bool statementStart = st.first.isEmpty();
    for (qsizetype i = 0; i < line.size();) {
        const QChar c = line[i];
        if (c == u'\'') return endsWithContinuation(line);
        if (c == u'"') {
            const qsizetype close = line.indexOf(u'"', i + 1);
            if (close < 0) return false;
            i = close + 1;  // a doubled quote opens the next piece at once
            statementStart = false;
            st.onlyModifiers = false;
            continue;
        }
        if (c == u'[') {
            const qsizetype close = line.indexOf(u']', i + 1);
            i = close < 0 ? line.size() : close + 1;
            statementStart = false;
            st.onlyModifiers = false;
            continue;
        }
        if (c == u':') {
            statementStart = true;
            st.reset();
        }
        if (!isWordChar(c)) {
            ++i;
            if (c != u' ' && c != u'\t' && c != u':') statementStart = st.onlyModifiers = false;
            continue;
        }
        if (c.isDigit()) {  // a number, or a name glued to one: no keyword
            wordAt(line, i, &i);
            statementStart = st.onlyModifiers = false;
            continue;
        }
        qsizetype end = 0;
        const QStringView word = wordAt(line, i, &end);
        const QString lower = word.toString().toLower();
        if (statementStart && lower == u"rem" && (end == line.size() || line[end] == u' ' || line[end] == u'\t'))
            return endsWithContinuation(line);
        if (lower == u"_") {  // a continuation: the statement goes on
            i = end;
            continue;
        }
        const qsizetype nextAt = skipBlanks(line, end);
        qsizetype nextEnd = nextAt;
        const QStringView next =
            nextAt < line.size() && isWordChar(line[nextAt]) ? wordAt(line, nextAt, &nextEnd) : QStringView();
        QString spelled;
        if (i == first && lower == u"option") {
            optionLine = true;
            spelled = QStringLiteral("Option");
        } else if (const auto it = words.constFind(lower); it != words.constEnd() && keywordHere(lower, st, next)) {
            spelled = it.value();
        } else if (optionLine) {
            spelled = optionWords().value(lower);
        }
        if (!spelled.isEmpty() && spelled != word) line.replace(i, spelled.size(), spelled);
        if (st.first.isEmpty()) st.first = lower;
        st.onlyModifiers = st.onlyModifiers && isModifier(lower);
        st.previous = lower;
        st.declare = st.declare || lower == u"declare";
        statementStart = false;
        i = end;
    }
    return false;
}

// "()" after the name of a Sub, Function or Property head without a
// parameter list; the keywords are already in their spelling.
void addParameterList(QString& line) {
    qsizetype i = skipBlanks(line, 0);
    qsizetype end = 0;
    auto nextWord = [&](qsizetype from) {
        const qsizetype at = skipBlanks(line, from);
        if (at >= line.size() || !isWordChar(line[at])) {
            end = at;
            return QStringView();
        }
        const QStringView w = wordAt(line, at, &end);
        i = at;
        return w;
    };
    QStringView w = nextWord(i);
    for (const char* modifier : {"Public", "Private", "Friend", "Global"})
        if (w == QLatin1String(modifier)) {
            w = nextWord(end);
            break;
        }
    if (w == QLatin1String("Static")) w = nextWord(end);
    if (w == QLatin1String("Property")) {
        w = nextWord(end);
        if (w != QLatin1String("Get") && w != QLatin1String("Let") && w != QLatin1String("Set")) return;
    } else if (w != QLatin1String("Sub") && w != QLatin1String("Function")) {
        return;
    }
    const QStringView name = nextWord(end);
    if (name.isEmpty()) return;
    qsizetype after = end;
    // A type-declaration character stays with the name (Function Text$).
    if (after < line.size() && QStringView(u"$%&!#@").contains(line[after])) ++after;
    const qsizetype next = skipBlanks(line, after);
    if (next < line.size() && line[next] == u'(') return;
    line.insert(after, QLatin1String("()"));
}

}  // namespace

QStringList asEditorImports(QStringList lines) {
    bool inComment = false;
    bool continued = false;
    Statement st;
    for (QString& line : lines) {
        const bool statementLine = !continued && !inComment;
        if (statementLine) st.reset();
        inComment = respellLine(line, inComment, st);
        if (statementLine) addParameterList(line);
        continued = endsWithContinuation(line);
    }
    return lines;
}

}  // namespace lumo
