#include "support/ReferenceTagging.h"

#include <QRegularExpression>
#include <QStringList>

#include "model/Keywords.h"
#include "model/Tags.h"

namespace lumo::reference {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString protectSpaces(QString s) {
    return s.replace(QLatin1Char(' '), tags().blank);
}

QString commentRun(const QString& line, qsizetype from) {
    return tags().comment + protectSpaces(line.mid(from)) + tags().close;
}

// Quotes and no apostrophe: the pieces between quote characters alternate
// between code (even) and string contents (odd).
QString tagStringsOnly(const QString& line) {
    const Tags& t = tags();
    QStringList pieces = line.split(QLatin1Char('"'));
    const qsizetype last = pieces.size() - 1;
    for (qsizetype i = 0; i <= last; ++i) {
        if (i % 2 == 1) {
            pieces[i] = protectSpaces(pieces[i]);
        } else if (i == 0) {
            pieces[i] += t.string;
        } else {
            pieces[i].prepend(t.close);
            if (i != last) pieces[i] += t.string;
        }
    }
    return pieces.join(QLatin1Char('"'));
}

// Comment and string tags of one logical line (a quote before the first
// apostrophe, both present).
QString scanQuotedLine(const QString& line) {
    const Tags& t = tags();
    QString out;
    out.reserve(line.size() + 32);
    bool inString = false;
    qsizetype opened = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (!inString && c == QLatin1Char('\'')) {
            out += commentRun(line, i);
            return out;
        }
        if (c == QLatin1Char('"')) {
            if (!inString) {
                inString = true;
                opened = i;
            } else {
                inString = false;
                out += t.string + protectSpaces(line.mid(opened, i - opened + 1)) + t.close;
            }
        } else if (!inString) {
            out += c;
        }
    }
    // A string still open at the end of the line runs on without a close tag.
    if (inString) out += t.string + protectSpaces(line.mid(opened));
    return out;
}

// Comment and string tags of one logical line, whichever case it is.
QString tagCommentsAndStrings(const QString& line) {
    const qsizetype quote = line.indexOf(QLatin1Char('"'));
    const qsizetype apostrophe = line.indexOf(QLatin1Char('\''));
    if (quote < 0 || (apostrophe >= 0 && apostrophe < quote)) {
        if (apostrophe < 0) return line;
        return line.left(apostrophe) + commentRun(line, apostrophe);
    }
    if (apostrophe >= 0) return scanQuotedLine(line);
    return tagStringsOnly(line);
}

}  // namespace

const QRegularExpression& continuationAfterBlank() {
    static const QRegularExpression continuation(QStringLiteral("(?<=[ \t])_\r\n"));
    return continuation;
}

QString tagWrapped(QString text, const QRegularExpression& continuation) {
    const Tags& t = tags();
    text.replace(t.marker, t.escape);
    text.replace(QLatin1String("\"\""), t.doubleQuote);
    text.replace(continuation, t.continuation);
    text.replace(QLatin1String("("), QLatin1String(" ( "));
    text.replace(QLatin1String(")"), QLatin1String(" ) "));
    text.replace(QLatin1String(","), QLatin1String(" , "));
    text.replace(QLatin1String("\t"), QLatin1String(" \t "));

    QStringList lines = text.split(kCrLf);
    for (QString& line : lines) line = tagCommentsAndStrings(line);
    text = lines.join(kCrLf);
    text.replace(kCrLf, QLatin1String(" \r\n "));

    for (const QString& entry : keywordEntries()) text.replace(entry, taggedKeywordEntry(entry));

    text.replace(t.blank, QLatin1String(" "));
    text.replace(QLatin1String(" \t "), QLatin1String("\t"));
    text.replace(QLatin1String(" \r\n "), kCrLf);
    text.replace(QLatin1String(" ) "), QLatin1String(")"));
    text.replace(QLatin1String(" ( "), QLatin1String("("));
    text.replace(QLatin1String(" , "), QLatin1String(","));
    return text;
}

}  // namespace lumo::reference
