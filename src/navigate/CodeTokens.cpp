#include "navigate/CodeTokens.h"

namespace lumo {

bool CodeToken::is(const char* keyword) const {
    return word && text.compare(QLatin1StringView(keyword), Qt::CaseInsensitive) == 0;
}

namespace {

bool isHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// The characters that may follow a name as its type: Join$, Count%, Size&.
bool isTypeCharacter(QChar c) { return c == u'$' || c == u'%' || c == u'&' || c == u'#' || c == u'@' || c == u'!'; }

}  // namespace

void tokenizeLine(QStringView s, int lineNumber, std::vector<CodeToken>& out, int from) {
    const qsizetype n = s.size();
    for (qsizetype i = std::max(0, from - 1); i < n;) {
        const QChar c = s[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        const int column = int(i) + 1;
        if (c.isLetter() || c == u'_') {
            qsizetype j = i + 1;
            while (j < n && isNameChar(s[j])) ++j;
            out.push_back({s.sliced(i, j - i), lineNumber, column, true});
            // A type character belongs to the name unless a name or number
            // follows at once ("a!b" is a member access, "x&H" no suffix).
            if (j < n && isTypeCharacter(s[j]) && (j + 1 >= n || !isNameChar(s[j + 1]))) ++j;
            i = j;
        } else if (c.isDigit() || (c == u'&' && i + 1 < n && (s[i + 1] == u'H' || s[i + 1] == u'h' ||
                                                              s[i + 1] == u'O' || s[i + 1] == u'o'))) {
            qsizetype j = i + 1;
            if (c == u'&') ++j;
            while (j < n && (isNameChar(s[j]) || s[j] == u'.' || isHexDigit(s[j]))) ++j;
            if (j < n && isTypeCharacter(s[j])) ++j;
            out.push_back({s.sliced(i, j - i), lineNumber, column, false});
            i = j;
        } else if (c == u'[') {
            // A bracketed name ([Foo Bar]) is one name, brackets excluded.
            const qsizetype close = s.indexOf(u']', i + 1);
            const qsizetype j = close < 0 ? n : close;
            out.push_back({s.sliced(i + 1, j - i - 1), lineNumber, column + 1, true});
            i = close < 0 ? n : close + 1;
        } else if (c == u':' && i + 1 < n && s[i + 1] == u'=') {
            out.push_back({s.sliced(i, 2), lineNumber, column, false});
            i += 2;
        } else {
            out.push_back({s.sliced(i, 1), lineNumber, column, false});
            ++i;
        }
    }
}

}  // namespace lumo
