#include "model/Indent.h"

#include <algorithm>
#include <limits>


#include "model/ParseError.h"

namespace lumo {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool startsWith(QStringView s, const char* prefix) {
    return s.startsWith(QLatin1String(prefix));
}

// "Do", "Loop", "Next", "Wend" and the Type heads count only as the whole
// line or followed by a space, so that DoEvents or Loops = 1 change nothing.
bool isWordLine(QStringView s, const char* word) {
    const QLatin1String w(word);
    if (!s.startsWith(w)) return false;
    return s.size() == w.size() || s.at(w.size()) == QLatin1Char(' ');
}

QStringView stripLeadingSpaces(QStringView line) {
    qsizetype i = 0;
    while (i < line.size() && line.at(i) == QLatin1Char(' ')) ++i;
    return line.mid(i);
}

bool onlySpaces(QStringView line) {
    for (QChar c : line)
        if (c != QLatin1Char(' ')) return false;
    return true;
}

qsizetype lineEnd(const QChar* d, qsizetype n, qsizetype from) {
    const QStringView all(d, n);
    for (qsizetype i = all.indexOf(u'\r', from); i >= 0 && i + 1 < n; i = all.indexOf(u'\r', i + 1))
        if (d[i + 1] == u'\n') return i;
    return n;
}

// The level is a 16-bit count where the formatter has always kept it; a text
// nested deeper than that is refused instead of producing gigabytes of tabs.
void changeLevel(IndentState& st, int delta) {
    const int next = st.level + delta;
    if (next > std::numeric_limits<qint16>::max() || next < std::numeric_limits<qint16>::min())
        throw ParseError("Überlauf der Einrückungstiefe");
    st.level = next;
}

// Removes a trailing comment from an If statement: from the third character
// on, a quote toggles the in-string state and the first apostrophe outside a
// string cuts the statement. Scanned from the front: from the end, an
// apostrophe or a lone quote inside the comment itself (' geht's, ' 5" Zoll)
// would hide where the comment begins, and a block If would pass for a
// single-line one.
QStringView withoutTrailingComment(QStringView statement) {
    if (statement.indexOf(QLatin1Char('\''), 2) < 0) return statement;
    bool inString = false;
    for (qsizetype i = 2; i < statement.size(); ++i) {
        const QChar c = statement.at(i);
        if (c == QLatin1Char('"')) {
            inString = !inString;
        } else if (c == QLatin1Char('\'') && !inString) {
            return statement.left(i).trimmed();
        }
    }
    return statement;
}

// An If whose logical line does not end with Then holds its whole body on
// the line and opens no block. next: where the line after s begins in d.
bool isSingleLineIf(QStringView s, const QChar* d, qsizetype n, qsizetype next) {
    if (s.endsWith(QLatin1String("Then"))) return false;
    if (!s.endsWith(QLatin1String(" _"))) return !withoutTrailingComment(s).endsWith(QLatin1String("Then"));
    QString statement = s.toString();
    for (qsizetype a = next; a <= n;) {
        const qsizetype b = lineEnd(d, n, a);
        const QStringView following(d + a, b - a);
        statement += following;
        if (!following.endsWith(QLatin1String(" _")) || b >= n) break;
        a = b + 2;
    }
    statement.remove(QLatin1String(" _"));
    return !withoutTrailingComment(statement).endsWith(QLatin1String("Then"));
}

}  // namespace

void keepContinuationBlanks(QString& text) {
    QChar* d = text.data();
    for (qsizetype k = text.indexOf(QLatin1String("\t_\r\n")); k >= 0;
         k = text.indexOf(QLatin1String("\t_\r\n"), k + 2)) {
        qsizetype j = k;
        while (j > 0 && d[j - 1] == u'\t') --j;
        if (j > 0 && d[j - 1] != u' ' && d[j - 1] != u'\n') d[k] = QChar(u' ');
    }
}

void indentStep(IndentState& st, QStringView s) {
    st.outdent = 0;
    if (s.isEmpty()) return;
    const auto open = [&st](int by) {
        changeLevel(st, by);
        st.outdent = by;
    };
    switch (s.at(0).unicode()) {
    case 'C':
        if (startsWith(s, "Case ")) st.outdent = 1;
        break;
    case 'D':
        if (isWordLine(s, "Do")) open(1);
        break;
    case 'E':
        if (s == QLatin1String("Else")) st.outdent = 1;
        else if (startsWith(s, "End With")) changeLevel(st, -1);
        else if (startsWith(s, "End If")) changeLevel(st, -1);
        else if (startsWith(s, "End Type")) changeLevel(st, -1);
        else if (startsWith(s, "End Select")) changeLevel(st, -2);
        else if (startsWith(s, "End Sub") || startsWith(s, "End Function") || startsWith(s, "End Property"))
            st.level = 0;
        break;
    case 'F':
        if (startsWith(s, "For ")) open(1);
        break;
    case 'I':
        if (startsWith(s, "If ")) open(1);
        break;
    case 'L':
        if (isWordLine(s, "Loop")) changeLevel(st, -1);
        break;
    case 'N':
        if (isWordLine(s, "Next")) changeLevel(st, -1);
        break;
    case 'P':
        // As a word: Private TypeLib As String declares a variable, no Type block.
        if (isWordLine(s, "Public Type") || isWordLine(s, "Private Type")) open(1);
        break;
    case 'S':
        if (startsWith(s, "Select Case ")) open(2);
        break;
    case 'T':
        if (isWordLine(s, "Type")) open(1);  // not TypeName(x) or Types = 2
        break;
    case 'W':
        if (startsWith(s, "While ") || startsWith(s, "With ")) open(1);
        else if (isWordLine(s, "Wend")) changeLevel(st, -1);
        break;
    default:
        break;
    }
}

QString indentText(const QString& input) {
    QString text = input;
    keepContinuationBlanks(text);
    text.remove(QLatin1Char('\t'));
    const QChar* d = text.constData();
    const qsizetype n = text.size();
    QString out;
    out.reserve(n + n / 4 + 16);
    IndentState st;
    bool previousContinues = false;  // the last non-blank line ends with " _"
    const qsizetype limit = std::max<qsizetype>(16 * n, qsizetype(1) << 22);
    for (qsizetype a = 0;;) {
        const qsizetype b = lineEnd(d, n, a);
        const QStringView line(d + a, b - a);
        if (b >= n) {
            // The empty remainder after the final line break is not visited.
            out += line;
            break;
        }
        if (!onlySpaces(line)) {
            const QStringView s = stripLeadingSpaces(line);
            if (previousContinues) {
                st.outdent = -1;  // a continuation sits one step right of its statement
            } else if (startsWith(s, "If ") && isSingleLineIf(s, d, n, b + 2)) {
                st.outdent = 0;
            } else {
                indentStep(st, s);
            }
            const int tabs = st.level - st.outdent;
            if (tabs > 0) {
                // Thousands of open blocks are no code but garbage; their tabs
                // would grow with the square of the lines.
                if (out.size() + tabs > limit) throw ParseError("Einrückung zu tief");
                out.append(QString(tabs, QLatin1Char('\t')));
            }
            out += s;
            previousContinues = s.endsWith(QLatin1String(" _"));
        }
        out += QLatin1String("\r\n");
        a = b + 2;
    }
    return out;
}

}  // namespace lumo
