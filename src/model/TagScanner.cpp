#include "model/TagScanner.h"

#include <array>

#include <QStringList>

#include "model/Keywords.h"
#include "model/Tags.h"

namespace lumo {

namespace {

// What the replacement chain sees, translated to the plain text:
// - The widening puts a space on both sides of "(", ")", ",", TAB and every
//   line break, and the continuation tag ends with a space. The keyword list
//   is matched between spaces, so a keyword is a run of ordinary characters
//   with one of these on each side: before it a space, one of the widened
//   characters or the end of a line break (real or continued); after it a
//   space, a widened character or a real line break.
// - Inside comments and strings every space is protected, so nothing in them
//   separates anything: a run that touches a comment or a string is glued to
//   it and is no keyword.
// - One replacement per entry, left to right: two equal keywords with exactly
//   one space between them share that space, and the second one is skipped.
//   Entries of several words (all beginning with "Option", no entry of its
//   own) run before the single words.

struct Tables {
    struct Multi {
        QStringList words;
    };
    std::vector<Multi> multi;
    QStringList words;  // storage for the keys
    // Single words by first letter (A to Z) and length (up to 10): the few
    // candidates a run has to be compared with.
    static constexpr int kMaxLength = 10;
    struct Candidate {
        QStringView word;
        int entry;
    };
    std::vector<Candidate> byStart[26][kMaxLength + 1];

    int find(QStringView run) const {
        if (run.size() > kMaxLength) return -1;
        const char16_t first = run.front().unicode();
        if (first < u'A' || first > u'Z') return -1;
        for (const Candidate& c : byStart[first - u'A'][run.size()])
            if (c.word == run) return c.entry;
        return -1;
    }
};

const Tables& tables() {
    static const Tables t = [] {
        Tables t;
        const QStringList& entries = keywordEntries();
        for (int i = 0; i < entries.size(); ++i) {
            const QStringList w = entries[i].split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (w.size() > 1) t.multi.push_back({w});
            else t.words << w.first();
        }
        for (const QString& w : t.words) {
            // Every single keyword begins with a capital and has at most ten letters.
            Q_ASSERT(w.front() >= u'A' && w.front() <= u'Z' && w.size() <= Tables::kMaxLength);
            t.byStart[w.front().unicode() - u'A'][w.size()].push_back(
                {QStringView(w), int(entries.indexOf(QLatin1Char(' ') + w + QLatin1Char(' ')))});
        }
        return t;
    }();
    return t;
}

// Characters that may start a transient tag or end a region.
bool isSpecialInComment(char16_t c) { return c == kMarkerChar || c == u'"' || c == u'_' || c == u'\r'; }
bool isSpecialInString(char16_t c) { return isSpecialInComment(c); }

bool isWidened(QChar c) {
    const char16_t u = c.unicode();
    return u == u'(' || u == u')' || u == u',' || u == u'\t';
}

class Scanner {
    static constexpr qsizetype kMaxGrowth = 5;

public:
    explicit Scanner(const QString& text) : p_(text.constData()), n_(text.size()) {
        // Nothing grows by more than five times: a lone quote becomes the
        // string tag and the quote, a two-letter keyword with its space nine.
        out_.resize(kMaxGrowth * n_ + 16);
        w_ = out_.data();
    }

    QString run() {
        qsizetype i = 0;
        while (i < n_) i = logicalLine(i);
        out_.truncate(w_ - out_.constData());
        return std::move(out_);
    }

private:
    void put(QChar c) { *w_++ = c; }
    void put(const QString& s) { put(QStringView(s)); }
    void put(QStringView s) {
        std::copy(s.begin(), s.end(), w_);
        w_ += s.size();
    }
    // Copies the characters from i on up to the next one that needs a look
    // of its own (stop), and returns where it stopped.
    template <typename Stop>
    qsizetype copyUntil(qsizetype i, Stop stop) {
        qsizetype e = i;
        while (e < n_ && !stop(p_[e].unicode())) ++e;
        put(QStringView(p_ + i, e - i));
        return e;
    }

    bool lineBreakAt(qsizetype i) const { return i + 1 < n_ && p_[i] == u'\r' && p_[i + 1] == u'\n'; }
    // VBA continues a line only with a blank before the underscore; in
    // "Name = name_" the underscore is the last letter of a name.
    bool continuationAt(qsizetype i) const {
        return p_[i] == u'_' && i > 0 && (p_[i - 1] == u' ' || p_[i - 1] == u'\t') && lineBreakAt(i + 1);
    }

    // A space in the widened text before position i.
    bool separatedBefore(qsizetype i) const {
        if (i == 0) return false;
        const QChar c = p_[i - 1];
        if (c == u' ' || isWidened(c)) return true;
        return c == u'\n' && i >= 2 && p_[i - 2] == u'\r';
    }
    // A space in the widened text after the character before position i.
    bool separatedAt(qsizetype i) const {
        if (i >= n_) return false;
        const QChar c = p_[i];
        return c == u' ' || isWidened(c) || lineBreakAt(i);
    }

    // The characters every region shares: marker, doubled quote, continuation.
    // Returns the characters consumed, 0 when c at i is none of them.
    qsizetype transient(qsizetype i) {
        const char16_t c = p_[i].unicode();
        if (c == kMarkerChar) {
            put(tags().escape);
            return 1;
        }
        if (c == u'"' && i + 1 < n_ && p_[i + 1] == u'"') {
            put(tags().doubleQuote);
            return 2;
        }
        if (continuationAt(i)) {
            put(tags().continuation);
            return 3;
        }
        return 0;
    }

    // From i to the end of a comment: the rest of the logical line.
    qsizetype comment(qsizetype i) {
        put(tags().comment);
        while (i < n_ && !lineBreakAt(i)) {
            if (const qsizetype k = transient(i)) {
                i += k;
            } else {
                put(p_[i]);
                i = copyUntil(i + 1, isSpecialInComment);
            }
        }
        put(tags().close);
        return i;
    }

    // From the opening quote at i; a string still open at the end of the
    // logical line gets no close tag.
    qsizetype string(qsizetype i) {
        put(tags().string);
        put(p_[i]);
        ++i;
        while (i < n_ && !lineBreakAt(i)) {
            if (const qsizetype k = transient(i)) {
                i += k;
            } else if (p_[i] == u'"') {
                put(p_[i]);
                put(tags().close);
                return i + 1;
            } else {
                put(p_[i]);
                i = copyUntil(i + 1, isSpecialInString);
            }
        }
        return i;
    }

    // An entry of several words beginning with the run "Option" at [s, e):
    // the entry index and the end of its last word, or -1.
    int severalWords(qsizetype e, qsizetype* end) const {
        const auto& multi = tables().multi;
        for (int m = 0; m < int(multi.size()); ++m) {
            const QStringList& words = multi[size_t(m)].words;
            qsizetype pos = e;
            bool hit = true;
            for (qsizetype w = 1; w < words.size() && hit; ++w) {
                const QString& word = words[w];
                hit = pos + 1 + word.size() <= n_ && p_[pos] == u' ' &&
                      QStringView(p_ + pos + 1, word.size()) == word;
                pos += 1 + word.size();
            }
            if (hit && separatedAt(pos)) {
                *end = pos;
                return m;
            }
        }
        return -1;
    }

    // A run of ordinary characters starting at i.
    qsizetype word(qsizetype i) {
        qsizetype e = i;
        while (e < n_) {
            const QChar c = p_[e];
            if (c == u' ' || isWidened(c) || c == u'"' || c == u'\'' || c.unicode() == kMarkerChar) break;
            if (c == u'\r' && lineBreakAt(e)) break;
            if (continuationAt(e)) break;
            ++e;
        }
        if (e == i) {  // cannot happen for a character no other case takes
            put(p_[i]);
            return i + 1;
        }
        const QStringView run(p_ + i, e - i);
        if (separatedBefore(i) && separatedAt(e)) {
            if (run == QLatin1String("Option")) {
                qsizetype end = 0;
                const int m = severalWords(e, &end);
                if (m >= 0 && !(lastMultiEntry_[size_t(m)] >= 0 && lastMultiEntry_[size_t(m)] + 1 == i &&
                                p_[lastMultiEntry_[size_t(m)]] == u' ')) {
                    const QStringList& words = tables().multi[size_t(m)].words;
                    for (qsizetype w = 0; w < words.size(); ++w) {
                        if (w > 0) put(QChar(u' '));
                        put(tags().keyword);
                        put(words[w]);
                        put(tags().close);
                    }
                    lastMultiEntry_[size_t(m)] = end;
                    return end;
                }
            } else {
                const int entry = tables().find(run);
                if (entry >= 0) {
                    const bool sharesSpace = lastEntry_ == entry && lastEnd_ + 1 == i && p_[lastEnd_] == u' ';
                    if (!sharesSpace) {
                        put(tags().keyword);
                        put(run);
                        put(tags().close);
                        lastEntry_ = entry;
                        lastEnd_ = e;
                        return e;
                    }
                }
            }
        }
        put(run);
        return e;
    }

    // One logical line from i, with its line break; returns the position after it.
    qsizetype logicalLine(qsizetype i) {
        while (i < n_) {
            if (lineBreakAt(i)) {
                put(QChar(u'\r'));
                put(QChar(u'\n'));
                return i + 2;
            }
            const QChar c = p_[i];
            if (const qsizetype k = transient(i)) {
                i += k;
            } else if (c == u'\'') {
                i = comment(i);
            } else if (c == u'"') {
                i = string(i);
            } else if (c == u' ' || isWidened(c)) {
                put(c);
                ++i;
            } else {
                i = word(i);
            }
        }
        return i;
    }

    const QChar* p_;
    qsizetype n_;
    QString out_;
    QChar* w_ = nullptr;
    int lastEntry_ = -1;
    qsizetype lastEnd_ = -1;
    std::array<qsizetype, 5> lastMultiEntry_{-1, -1, -1, -1, -1};
};

}  // namespace

QString scanTags(const QString& text) {
    return Scanner(text).run();
}

}  // namespace lumo
