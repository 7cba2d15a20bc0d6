#pragma once
// Tagged text in a notation a test can spell: [k]…[/] keyword, [c]…[/]
// comment, [s]…[/] string, [x]…[/x] routine line.
#include <ostream>

#include <QString>

#include "model/Tags.h"

// Readable failure messages for QString comparisons.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace lumo::test {

inline QString readable(QString text) {
    const Tags& t = tags();
    text.replace(t.keyword, QStringLiteral("[k]"));
    text.replace(t.comment, QStringLiteral("[c]"));
    text.replace(t.string, QStringLiteral("[s]"));
    text.replace(t.close, QStringLiteral("[/]"));
    text.replace(t.lineOpen, QStringLiteral("[x]"));
    text.replace(t.lineClose, QStringLiteral("[/x]"));
    return text;
}

// Every stored tag removed and every stored escape "Ÿ?" undone: what the
// code view shows as plain text.
inline QString untagged(QString text) {
    const Tags& t = tags();
    for (const QString* tag : {&t.keyword, &t.comment, &t.string, &t.close, &t.lineOpen, &t.lineClose})
        text.remove(*tag);
    return text.replace(t.marker + QLatin1Char('?'), t.marker);
}

// Lines as the tests write them, joined with CR LF.
inline QString crlf(const QString& lfText) {
    QString s = lfText;
    return s.replace(QLatin1String("\n"), QLatin1String("\r\n"));
}

}  // namespace lumo::test
