#include "support/ReferenceParser.h"

#include <QRegularExpression>
#include <QStringList>

#include "model/Indent.h"
#include "model/ParseError.h"
#include "model/TagCode.h"
#include "support/ReferenceTagging.h"
#include "model/Tags.h"

namespace lumo::reference {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString anchor(char kind, qint32 number) {
    return tags().marker + QLatin1Char('*') + QLatin1Char(kind) +
           QStringLiteral("%1").arg(number, 8, 10, QLatin1Char('0')) + QLatin1Char('|');
}

int passKind(const QString& keywordTag) {
    if (keywordTag == taggedKeyword(QStringLiteral("Sub"))) return RouSub;
    if (keywordTag == taggedKeyword(QStringLiteral("Function"))) return RouFunction;
    if (keywordTag == taggedKeyword(QStringLiteral("Property"))) return 99;
    return 0;
}

QString nameOf(const QString& line, bool declaration) {
    QString s = line;
    s.remove(tags().continuation);
    s.replace(tags().escape, tags().marker);
    s.remove(QLatin1Char('\t'));
    s.remove(QLatin1Char(' '));
    const qsizetype cut = declaration ? s.indexOf(tags().keyword + QLatin1String("Lib")) : s.indexOf(QLatin1Char('('));
    if (cut < 0) throw ParseError("kein Name");
    const QString rest = s.left(cut);
    const QString name = rest.mid(rest.lastIndexOf(QLatin1Char('|')) + 1);
    if (!name.isEmpty()) return name;
    // Named like a keyword: the word of the last tag, when a head word
    // (Sub, Function, Get, Let, Set) stands right before it.
    for (const char* head : {"Sub", "Function", "Get", "Let", "Set"}) {
        const QString prefix = taggedKeyword(QLatin1String(head)) + tags().keyword;
        const qsizetype k = rest.lastIndexOf(prefix);
        if (k < 0) continue;
        const QString word = rest.mid(k + prefix.size());
        if (word.size() > tags().close.size() && word.endsWith(tags().close) &&
            !word.chopped(tags().close.size()).contains(QLatin1Char('|')))
            return word.chopped(tags().close.size());
    }
    return name;
}

QString withoutTrailingComment(const QString& statement) {
    if (statement.indexOf(QLatin1Char('\''), 2) < 0) return statement;
    // From the front (the backward scan would let an apostrophe or a lone
    // quote inside the comment hide its beginning).
    bool inString = false;
    for (qsizetype i = 2; i < statement.size(); ++i) {
        const QChar c = statement.at(i);
        if (c == QLatin1Char('"')) inString = !inString;
        else if (c == QLatin1Char('\'') && !inString) return statement.left(i).trimmed();
    }
    return statement;
}

bool isSingleLineIf(const QString& s, const QStringList& lines, qsizetype index) {
    if (s.endsWith(QLatin1String("Then"))) return false;
    QString statement = s;
    if (s.endsWith(QLatin1String(" _"))) {
        for (qsizetype k = index + 1; k < lines.size(); ++k) {
            statement += lines.at(k);
            if (!lines.at(k).endsWith(QLatin1String(" _"))) break;
        }
        statement.remove(QLatin1String(" _"));
    }
    return !withoutTrailingComment(statement).endsWith(QLatin1String("Then"));
}

const QString& passTag(int pass) {
    static const QString t[3] = {taggedKeyword(QStringLiteral("Sub")), taggedKeyword(QStringLiteral("Function")),
                                 taggedKeyword(QStringLiteral("Property"))};
    return t[pass];
}

}  // namespace

namespace {

// What a line between two heads of one routine is, by the line's beginning.
enum class Between { If, Else, NoCode, Code };

Between between(const QString& line) {
    static const QRegularExpression blank(QStringLiteral("^[ \t]*$"));
    static const QRegularExpression comment(QStringLiteral("^[ \t]*") + QRegularExpression::escape(tags().comment));
    static const QRegularExpression ifLine(QStringLiteral("^[ \t]*#If(?![\\p{L}\\p{N}_])"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression elseLine(QStringLiteral("^[ \t]*#(ElseIf|Else)(?![\\p{L}\\p{N}_])"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression directive(QStringLiteral("^[ \t]*#"));
    if (blank.match(line).hasMatch() || comment.match(line).hasMatch()) return Between::NoCode;
    if (ifLine.match(line).hasMatch()) return Between::If;
    if (elseLine.match(line).hasMatch()) return Between::Else;
    return directive.match(line).hasMatch() ? Between::NoCode : Between::Code;
}

}  // namespace

void parseRoutines(QString& text, const QString& keywordTag, const Options& options, qint32* counter,
                   std::vector<FoundRoutine>* found, Rules rules, int* newRuleHits) {
    const int kind = passKind(keywordTag);
    if (!text.contains(keywordTag)) return;
    const Tags& t = tags();
    const QString endOfKind = taggedKeyword("End") + keywordTag;
    QStringList lines = text.split(kCrLf);
    bool open = false;
    bool branchSeen = false, codeSeen = false, elseSeen = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString& line = lines[i];
        QString squeezed = line;
        squeezed.remove(t.continuation);
        squeezed.remove(QLatin1Char(' '));
        squeezed.remove(QLatin1Char('\t'));
        bool head = false, alternative = false;
        // A routine line of an earlier pass is no line of this one; numbered, a fault.
        const bool earlierPass = rules == Rules::Current && line.contains(keywordTag) &&
                                 (counter ? line.startsWith(t.marker + QLatin1Char('*')) : line.startsWith(t.lineOpen));
        if (earlierPass) {
            if (newRuleHits) ++*newRuleHits;
            if (counter) throw ParseError("zwei Arten");
        }
        if (!earlierPass && line.contains(keywordTag) && !line.contains(taggedKeyword("Exit"))) {
            if (open) {
                const bool before = branchSeen && !codeSeen;
                alternative = (before || (rules == Rules::Current && elseSeen)) && !squeezed.contains(endOfKind);
                line = t.lineOpen + line + t.lineClose;
                if (alternative) {
                    branchSeen = codeSeen = elseSeen = false;
                    if (!before && newRuleHits) ++*newRuleHits;
                } else {
                    if (counter) line.prepend(anchor('E', *counter));
                    open = false;
                }
                head = true;
            } else {
                int type = kind;
                const bool declaration = line.contains(taggedKeyword("Declare"));
                if (declaration) {
                    type = kind + 10;
                } else if (kind == 99) {
                    type = 0;
                    if (line.contains(taggedKeyword("Get"))) type = 4;
                    if (line.contains(taggedKeyword("Set"))) type = 5;
                    if (line.contains(taggedKeyword("Let"))) type = 3;
                }
                // Only a head draws a number.
                qint32 number = 0;
                if (counter && type != 0) {
                    if (*counter >= kMaxRoutineNumber) throw ParseError("zu viele");
                    number = ++*counter;
                }
                if (type != 0) {
                    if (counter) {
                        FoundRoutine r;
                        r.number = number;
                        r.type = type;
                        r.visibility = 1;
                        if (line.contains(taggedKeyword("Private"))) r.visibility = 2;
                        if (line.contains(taggedKeyword("Friend"))) r.visibility = 3;
                        r.headLines = int((line.size() - QString(line).remove(t.continuation).size()) / 5 + 1);
                        r.name = nameOf(line, declaration);
                        found->push_back(r);
                    }
                    const bool oneLine = !declaration && squeezed.contains(QLatin1Char(':') + endOfKind);
                    open = !declaration && !oneLine;
                    branchSeen = codeSeen = elseSeen = false;
                    line = t.lineOpen + line + t.lineClose;
                    if (counter) line.prepend(anchor(oneLine ? 'B' : 'A', number));
                    if (options.blankLineBeforeRoutines) line.prepend(kCrLf);
                    head = true;
                }
            }
        }
        if (open && !head) {
            const Between b = between(line);
            if (b == Between::If || b == Between::Else) branchSeen = true;
            if (b == Between::Else) elseSeen = true;
            if (b == Between::Code) codeSeen = true;
        }
        const bool remainder = i + 1 == lines.size() && line.isEmpty();
        if (options.reindentBlocks && options.indentRoutineBodies && open && !remainder && !alternative) {
            const bool marked =
                counter ? line.startsWith(t.marker + QLatin1Char('*')) : line.startsWith(t.lineOpen);
            if (!marked) line.prepend(QLatin1Char('\t'));
        }
    }
    text = lines.join(kCrLf);
}

QString indentText(const QString& input, Rules rules) {
    QString text = input;
    // A tab is the blank before a continuation's underscore: removing the
    // tabs must not glue the underscore to a word.
    static const QRegularExpression tabBeforeUnderscore(QStringLiteral("([^ \t\n]\t*)\t_\r\n"));
    if (rules == Rules::Current) text.replace(tabBeforeUnderscore, QStringLiteral("\\1 _\r\n"));
    text.remove(QLatin1Char('\t'));
    QStringList lines = text.split(kCrLf);
    IndentState st;
    QString previous;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (QString(line).remove(QLatin1Char(' ')).isEmpty()) {
            lines[i].clear();
            continue;
        }
        qsizetype lead = 0;
        while (lead < line.size() && line.at(lead) == QLatin1Char(' ')) ++lead;
        QString s = line.mid(lead);
        if (previous.endsWith(QLatin1String(" _"))) st.outdent = -1;
        else if (s.startsWith(QLatin1String("If ")) && isSingleLineIf(s, lines, i)) st.outdent = 0;
        else indentStep(st, s);
        const int tabs = st.level - st.outdent;
        if (tabs > 0) s.prepend(QString(tabs, QLatin1Char('\t')));
        lines[i] = s;
        previous = s;
    }
    return lines.join(kCrLf);
}

QString tagText(const QString& code, const Options& options, Rules rules, int* newRuleHits) {
    QString text = kCrLf + code + kCrLf;
    if (newRuleHits) {
        // Underscores at the end of a line without a blank before them: no
        // continuation any more (a tab before one counts where einr removes it).
        static const QRegularExpression changed(QStringLiteral("(?<! )_\r\n"));
        *newRuleHits += int(text.count(changed));
    }
    if (options.reindentBlocks) text = indentText(text, rules);
    if (options.removeBlankLines)
        while (text.contains(kCrLf + kCrLf)) text.replace(kCrLf + kCrLf, kCrLf);
    // Under Previous every underscore before a line break continued the line.
    static const QRegularExpression anyUnderscore(QStringLiteral("_\r\n"));
    return tagWrapped(text, rules == Rules::Current ? continuationAfterBlank() : anyUnderscore);
}

ParsedModule parseModule(const QString& code, const Options& options, qint32& routineCounter, Rules rules,
                         int* newRuleHits) {
    const Tags& t = tags();
    ParsedModule m;
    QString text = reference::tagText(code, options, rules, newRuleHits);
    for (int pass = 0; pass < 3; ++pass)
        parseRoutines(text, passTag(pass), options, &routineCounter, &m.routines, rules, newRuleHits);
    text.replace(t.continuation, QLatin1String("_\r\n"));
    text.replace(t.doubleQuote, QLatin1String("\"\""));
    text.remove(0, 2);
    QStringList lines = text.split(kCrLf);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString& line = lines[i];
        if (!line.startsWith(t.marker + QLatin1Char('*')) || line.size() < kAnchorLength) continue;
        const qint32 n = line.mid(3, 8).toInt();
        for (FoundRoutine& r : m.routines) {
            if (r.number != n) continue;
            if (line.at(2) != QLatin1Char('E')) r.start = int(i + 1);
            if (line.at(2) != QLatin1Char('A')) r.end = int(i + 1);
        }
        line.remove(0, kAnchorLength);
    }
    for (FoundRoutine& r : m.routines)
        if (r.type > 10) r.end = r.start + r.headLines - 1;
    m.lineCount = int(lines.size() - 1);
    m.text = lines.join(kCrLf);
    m.text.replace(t.escape, t.marker + QLatin1Char('?'));  // the stored escape
    return m;
}

QString tagFragment(const QString& code, const Options& options, Rules rules) {
    const Tags& t = tags();
    QString text = reference::tagText(code, options, rules);
    for (int pass = 0; pass < 3; ++pass) parseRoutines(text, passTag(pass), options, nullptr, nullptr, rules);
    text.replace(t.continuation, QLatin1String("_\r\n"));
    text.replace(t.doubleQuote, QLatin1String("\"\""));
    text = text.size() >= 4 ? text.mid(2, text.size() - 4) : QString();
    text.replace(t.escape, t.marker + QLatin1Char('?'));  // the stored escape
    return text;
}

QString describeRows(const ParsedModule& module) {
    QString out = QStringLiteral("%1 Zeilen\n").arg(module.lineCount);
    for (const FoundRoutine& r : module.routines)
        out += QStringLiteral("%1 %2 typ %3 open %4 zeilen %5 von %6 bis %7\n")
                   .arg(r.number).arg(r.name).arg(r.type).arg(r.visibility).arg(r.headLines).arg(r.start).arg(r.end);
    return out;
}

}  // namespace lumo::reference
