#pragma once
// A code view on a plain string, with the position rules of the real one:
// a line break is the two characters CR LF. Counts how often the line of a
// position is asked for.
#include <ostream>

#include <QString>

#include "view/TextView.h"

namespace lumo::test {

class PlainTextView : public TextView {
public:
    QString content;
    QString lastRtf;
    int start = 0;
    int len = 0;
    mutable int lineQueries = 0;

    explicit PlainTextView(QString text = {}) : content(std::move(text)) {}

    void setRtf(const QString& rtf) override { lastRtf = rtf; if (rtf.isEmpty()) content.clear(); start = len = 0; }
    QString rtf() const override { return lastRtf; }
    QString text() const override { return content; }
    int length() const override { return int(content.size()); }
    int selStart() const override { return start; }
    // A position between CR and LF stands for the end of its line, as in the real view.
    void setSelStart(int pos) override {
        start = qBound(0, pos, length());
        if (start > 0 && start < length() && content.at(start - 1) == '\r' && content.at(start) == '\n') --start;
        len = 0;
    }
    int selLength() const override { return len; }
    void setSelLength(int l) override { len = qBound(0, l, length() - start); }
    QString selText() const override { return content.mid(start, len); }
    QString selRtf() const override { return "{\\rtf1 " + selText() + "}"; }
    int lineOfPosition(int pos) const override {
        ++lineQueries;
        return int(content.left(qBound(0, pos, length())).count(QLatin1Char('\n')));
    }
    // Whole words are bounded by characters that are no letter, digit or "_", as in the real view.
    int find(const QString& what, int from, bool wholeWord) override {
        if (what.isEmpty() || from > length()) return -1;
        auto wordChar = [](QChar c) { return c.isLetterOrNumber() || c == u'_'; };
        for (int p = int(content.indexOf(what, qMax(from, 0), Qt::CaseInsensitive)); p >= 0;
             p = int(content.indexOf(what, p + 1, Qt::CaseInsensitive))) {
            const int end = p + int(what.size());
            if (wholeWord && ((p > 0 && wordChar(content.at(p - 1))) || (end < length() && wordChar(content.at(end)))))
                continue;
            start = p;
            len = int(what.size());
            return p;
        }
        return -1;
    }
    void moveUpTo(const QString& set, bool forward, bool negate) override {
        auto stops = [&](QChar c) { return set.contains(c) != negate; };
        int pos;
        if (forward) {
            pos = start + len;
            while (pos < length() && !stops(content.at(pos))) ++pos;
        } else {
            pos = start;
            while (pos > 0 && !stops(content.at(pos - 1))) --pos;
        }
        start = pos;
        len = 0;
    }
    void span(const QString& set, bool forward, bool negate) override {
        auto spans = [&](QChar c) { return set.contains(c) != negate; };
        int a = start, b = start + len;
        if (forward) {
            while (b < length() && spans(content.at(b))) ++b;
        } else {
            while (a > 0 && spans(content.at(a - 1))) --a;
        }
        start = a;
        len = b - a;
    }
};

}  // namespace lumo::test

// Readable QString values in test failures.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE
