#include "navigate/CommentBlock.h"

#include <algorithm>

#include <QRegularExpression>

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

namespace {

// The text of a comment line without its mark ("'", "'''", "Rem") and the
// number of apostrophes it began with.
QStringView commentText(QStringView line, int& marks) {
    QStringView t = line.trimmed();
    marks = 0;
    if (t.startsWith(u'\'')) {
        while (marks < t.size() && t[marks] == u'\'') ++marks;
        return t.sliced(marks).trimmed();
    }
    return t.sliced(3).trimmed();  // "Rem"
}

bool isSeparator(QStringView text) {
    for (const QChar c : text)
        if (c.isLetterOrNumber()) return false;
    return true;
}

// The quoted argument of an annotation: @Description("Adds ""one""") -> Adds "one".
QString quotedArgument(QStringView text) {
    const qsizetype open = text.indexOf(u'"');
    if (open < 0) return {};
    QString out;
    for (qsizetype k = open + 1; k < text.size(); ++k) {
        if (text[k] == u'"') {
            if (k + 1 < text.size() && text[k + 1] == u'"') {
                out += u'"';
                ++k;
                continue;
            }
            break;
        }
        out += text[k];
    }
    return out.trimmed();
}

void addLine(QString& to, QStringView line) {
    if (line.isEmpty()) return;
    if (!to.isEmpty() && !to.endsWith(u'\n')) to += u' ';
    to += line;
}

void endParagraph(QString& text) {
    while (text.endsWith(u'\n')) text.chop(1);
    if (!text.isEmpty()) text += QStringLiteral("\n\n");
}

// A tag's {Type} and the word after it: "{WebRequest} request The request".
QStringView skipType(QStringView rest) {
    rest = rest.trimmed();
    if (rest.startsWith(u'{')) {
        const qsizetype close = rest.indexOf(u'}');
        rest = close < 0 ? QStringView() : rest.sliced(close + 1).trimmed();
    }
    return rest;
}

QString xmlPart(const QString& xml, QStringView tag, qsizetype from = 0, qsizetype* end = nullptr) {
    const qsizetype open = xml.indexOf(u'<' + tag.toString(), from, Qt::CaseInsensitive);
    if (open < 0) return {};
    const qsizetype body = xml.indexOf(u'>', open);
    if (body < 0) return {};
    const QString closing = QStringLiteral("</") + tag.toString() + u'>';
    qsizetype close = xml.indexOf(closing, body, Qt::CaseInsensitive);
    if (close < 0) close = xml.size();
    if (end) *end = close;
    return xml.sliced(body + 1, close - body - 1).simplified();
}

DocComment xmlDocComment(const QString& xml) {
    DocComment doc;
    doc.text = xmlPart(xml, u"summary");
    const QString remarks = xmlPart(xml, u"remarks");
    if (!remarks.isEmpty()) doc.text += (doc.text.isEmpty() ? QString() : QStringLiteral("\n\n")) + remarks;
    static const QRegularExpression param(QStringLiteral("<param\\s+name\\s*=\\s*\"([^\"]*)\"\\s*>(.*?)</param>"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    for (auto it = param.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        doc.params.push_back({m.captured(1).trimmed(), m.captured(2).simplified()});
    }
    doc.returns = xmlPart(xml, u"returns");
    return doc;
}

}  // namespace

DocComment docCommentOf(const QStringList& block) {
    DocComment doc;
    QString description;  // of '@Description: it comes first
    QString xml;          // of ''' lines
    bool xmlTags = false;
    enum class Into { Text, Param, Returns, Nothing } into = Into::Text;
    for (const QString& line : block) {
        if (!isCommentLine(line)) continue;
        int marks = 0;
        const QStringView text = commentText(line, marks);
        if (marks >= 3) {
            xml += text;
            xml += u'\n';
            if (text.contains(u'<')) xmlTags = true;
        }
        if (text.startsWith(u'@')) {
            qsizetype n = 1;
            while (n < text.size() && (text[n].isLetterOrNumber() || text[n] == u'_')) ++n;
            const QStringView tag = text.sliced(1, n - 1);
            const QStringView rest = text.sliced(n);
            if (tag.compare(u"Description", Qt::CaseInsensitive) == 0 ||
                tag.compare(u"ModuleDescription", Qt::CaseInsensitive) == 0) {
                addLine(description, quotedArgument(rest));
            } else if (tag == u"param") {
                QStringView r = skipType(rest);
                qsizetype end = 0;
                while (end < r.size() && !r[end].isSpace()) ++end;
                QString name = r.first(end).toString();
                name.remove(u'[').remove(u']');
                name = name.section(u'=', 0, 0);
                QStringView said = r.sliced(end).trimmed();
                if (said.startsWith(u'-')) said = said.sliced(1).trimmed();
                doc.params.push_back({name, said.toString()});
                into = Into::Param;
            } else if (tag == u"return" || tag == u"returns") {
                addLine(doc.returns, skipType(rest));
                into = Into::Returns;
            } else if (!tag.isEmpty() && tag[0].isLower() && !rest.startsWith(u'(')) {
                into = Into::Nothing;  // @method, @example, @throws: not part of the description
            }
            continue;  // an annotation ('@Folder, '@Ignore) leaves the text as it was
        }
        if (text.isEmpty() || isSeparator(text)) {
            if (into == Into::Nothing) continue;
            into = Into::Text;
            endParagraph(doc.text);
            continue;
        }
        switch (into) {
        case Into::Text: addLine(doc.text, text); break;
        case Into::Param: addLine(doc.params.back().text, text); break;
        case Into::Returns: addLine(doc.returns, text); break;
        case Into::Nothing: break;
        }
    }
    if (xmlTags) {
        DocComment fromXml = xmlDocComment(xml);
        if (!fromXml.isEmpty()) doc = std::move(fromXml);
    }
    while (doc.text.endsWith(u'\n')) doc.text.chop(1);
    if (!description.isEmpty()) doc.text = description + (doc.text.isEmpty() ? QString() : QStringLiteral("\n\n") + doc.text);
    doc.summary = firstSentence(doc.text);
    return doc;
}

std::optional<QString> vbDescriptionOf(QStringView line) {
    static const QRegularExpression attribute(
        QStringLiteral("^\\s*Attribute\\s+(?:[A-Za-z_][A-Za-z0-9_]*\\.)?VB_Description\\s*=\\s*(\".*)$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = attribute.match(line);
    if (!m.hasMatch()) return std::nullopt;
    return quotedArgument(m.capturedView(1));
}

namespace {

void putFirst(DocComment& doc, const QString& description) {
    if (description.isEmpty()) return;
    doc.text = doc.text.isEmpty() ? description : description + QStringLiteral("\n\n") + doc.text;
    doc.summary = firstSentence(doc.text);
}

bool startsWithWord(QStringView line, QStringView word) {
    const QStringView t = line.trimmed();
    return t.startsWith(word, Qt::CaseInsensitive) && (t.size() == word.size() || t[word.size()].isSpace());
}

}  // namespace

DocComment documentationAt(const std::function<QString(int)>& lineText, int head, int headLines, int lineCount) {
    DocComment doc = docCommentOf(commentBlockAbove(lineText, head));
    QString attributes;
    for (int n = head + std::max(headLines, 1); n <= lineCount; ++n) {
        const QString line = lineText(n);
        if (!startsWithWord(line, u"Attribute")) break;
        if (const auto d = vbDescriptionOf(line)) addLine(attributes, *d);
    }
    putFirst(doc, attributes);
    return doc;
}

DocComment moduleDocumentation(const std::function<QString(int)>& lineText, int end) {
    QStringList block;
    QString attributes;
    int blockStart = 0, blockEnd = 0;  // the opening comment block
    bool codeSeen = false;
    for (int n = 1; n < end; ++n) {
        const QString line = lineText(n);
        if (isCommentLine(line)) {
            if (!codeSeen && (blockEnd == 0 || blockEnd == n - 1)) {
                if (blockStart == 0) blockStart = n;
                blockEnd = n;
            } else if (line.trimmed().sliced(1).trimmed().startsWith(u"@ModuleDescription", Qt::CaseInsensitive)) {
                block << line;
            }
            continue;
        }
        if (const auto d = vbDescriptionOf(line)) addLine(attributes, *d);
        const QString t = line.trimmed();
        if (t.isEmpty() || startsWithWord(t, u"Attribute") || startsWithWord(t, u"Option")) {
            if (blockEnd != 0 && !t.isEmpty()) codeSeen = true;
            continue;
        }
        codeSeen = true;
    }
    QStringList opening;
    if (blockStart > 0 && blockEnd != end - 1)
        for (int n = blockStart; n <= blockEnd; ++n) opening << lineText(n);
    DocComment doc = docCommentOf(opening + block);
    putFirst(doc, attributes);
    return doc;
}

QString firstSentence(QStringView text) {
    const qsizetype paragraph = text.indexOf(u"\n\n");
    if (paragraph >= 0) text = text.first(paragraph);
    for (qsizetype k = 0; k + 1 < text.size(); ++k) {
        if (text[k] != u'.' && text[k] != u'!' && text[k] != u'?') continue;
        if (!text[k + 1].isSpace()) continue;
        // "z.B. " and "d. h. ": a word of one letter or with a dot inside is an abbreviation.
        qsizetype w = k;
        while (w > 0 && !text[w - 1].isSpace()) --w;
        const QStringView word = text.sliced(w, k - w);
        if (text[k] == u'.' && (word.size() <= 1 || word.contains(u'.'))) continue;
        return text.first(k + 1).toString();
    }
    return text.toString();
}

}  // namespace lumo
