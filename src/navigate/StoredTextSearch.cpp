#include "navigate/StoredTextSearch.h"

#include <algorithm>
#include <cstring>

#include <QChar>

#include "base/ByteSearch.h"
#include "base/CaseFold.h"
#include "model/TaggedText.h"

namespace lumo {

namespace {

// The character at p[0, n): its length in bytes and its code point; 0 when
// the bytes are no well-formed UTF-8 character.
int utf8Char(const unsigned char* p, qsizetype n, char32_t& cp) {
    const unsigned char c = p[0];
    int length = 0;
    char32_t least = 0;
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    if (c >= 0xC2 && c <= 0xDF) length = 2, cp = c & 0x1F, least = 0x80;
    else if (c >= 0xE0 && c <= 0xEF) length = 3, cp = c & 0x0F, least = 0x800;
    else if (c >= 0xF0 && c <= 0xF4) length = 4, cp = c & 0x07, least = 0x10000;
    else return 0;
    if (n < length) return 0;
    for (int k = 1; k < length; ++k) {
        if ((p[k] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (p[k] & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

// Characters the code view shows as a blank (paragraph and object marks,
// non-characters) or that decoding may take for a byte order mark: where one
// stands, the bytes alone do not tell the shown text.
bool shownOtherwise(char32_t cp) {
    return cp == 0x2028 || cp == 0x2029 || cp == 0xFFFC || cp == 0xFEFF || (cp >= 0xFDD0 && cp <= 0xFDEF) ||
           (cp & 0xFFFE) == 0xFFFE;
}

// The fold a case-insensitive QString search compares, per character.
char32_t foldOf(char32_t cp) { return cp < 0x80 ? asciiLower(char16_t(cp)) : QChar::toCaseFolded(cp); }

// Every character folding to `folded`, in UTF-8. Characters with case end
// below U+20000; those that fold to another are listed once per run.
std::vector<QByteArray> formsOf(char32_t folded) {
    static const std::vector<std::pair<char32_t, char32_t>> foldedFrom = [] {
        std::vector<std::pair<char32_t, char32_t>> pairs;  // (fold, character), by fold
        for (char32_t cp = 0; cp < 0x20000; ++cp) {
            if (cp == 0xD800) cp = 0xE000;
            if (foldOf(cp) != cp) pairs.emplace_back(foldOf(cp), cp);
        }
        std::sort(pairs.begin(), pairs.end());
        return pairs;
    }();
    std::vector<QByteArray> forms;
    auto add = [&](char32_t cp) { forms.push_back(QString::fromUcs4(&cp, 1).toUtf8()); };
    if (foldOf(folded) == folded) add(folded);
    for (auto it = std::lower_bound(foldedFrom.begin(), foldedFrom.end(), std::make_pair(folded, char32_t(0)));
         it != foldedFrom.end() && it->first == folded; ++it)
        add(it->second);
    return forms;
}

// The text spans the reader of tagged text finds, written one after the
// other as the code view shows them: a stored marker escape as the marker
// alone. Everything it copies comes from the stored bytes, so the shown text
// is never longer than they are.
class ShownBytes {
public:
    ShownBytes(const char* from, char* to) : p_(from), out_(to) {}
    void tag(TagKind) { at_ += taglayout::kKeptTagBytes; }
    void advance(qsizetype n) {
        if (regular_) copy(at_, at_ + n);
        at_ += n;
    }
    bool regular() const { return regular_; }
    bool ascii() const { return ascii_; }
    qsizetype written() const { return written_; }

private:
    void put(const char* from, qsizetype n) {
        std::memcpy(out_ + written_, from, size_t(n));
        written_ += n;
    }
    void copy(qsizetype from, qsizetype to) {
        const auto* u = reinterpret_cast<const unsigned char*>(p_);
        while (from < to) {
            const qsizetype k = findOutsidePrintableAscii(p_, from, to);
            put(p_ + from, k - from);
            if (k == to) return;
            const unsigned char c = u[k];
            // CR LF is the view's line break; CR or LF alone or NUL the view
            // drops or replaces.
            if (c == '\r' && k + 1 < to && u[k + 1] == '\n') {
                put(p_ + k, 2);
                from = k + 2;
                continue;
            }
            if (c == '\r' || c == '\n' || c == 0) {
                regular_ = false;
                return;
            }
            char32_t cp = c;
            const int length = c < 0x80 ? 1 : utf8Char(u + k, to - k, cp);
            if (length == 0 || shownOtherwise(cp)) {
                regular_ = false;
                return;
            }
            put(p_ + k, length);
            ascii_ = ascii_ && c < 0x80;
            from = k + length;
            if (cp == kMarkerChar && from < to && u[from] == '?') ++from;  // the stored escape
        }
    }

    const char* p_;
    char* out_;
    qsizetype at_ = 0;
    qsizetype written_ = 0;
    bool regular_ = true;
    bool ascii_ = true;
};

// UTF-16 units of the well-formed UTF-8 p[0, n).
qsizetype utf16Units(const unsigned char* p, qsizetype n) {
    qsizetype units = 0;
    for (qsizetype i = 0; i < n; ++i) units += ((p[i] & 0xC0) != 0x80) + (p[i] >= 0xF0);
    return units;
}

}  // namespace

StoredTextSearch::StoredTextSearch(const QString& what, bool wholeWord) : units_(what.size()), wholeWord_(wholeWord) {
    usable_ = !what.isEmpty();
    for (qsizetype i = 0; i < what.size() && usable_; ++i) {
        const char16_t c = what[i].unicode();
        char32_t cp = c;
        if (QChar::isHighSurrogate(c) && i + 1 < what.size() && what[i + 1].isLowSurrogate())
            cp = QChar::surrogateToUcs4(c, what[++i].unicode());
        else if (QChar::isSurrogate(c) || c == u'\r' || c == u'\n')
            usable_ = false;  // a hit over a line break, or half a character
        folded_.push_back(foldOf(cp));
    }
    if (!usable_) return;
    firstForms_ = formsOf(folded_[0]);
    auto asciiPair = [](const std::vector<QByteArray>& forms, char (&pair)[2]) {
        if (forms.size() > 2 || std::any_of(forms.begin(), forms.end(), [](const QByteArray& f) { return f.size() != 1; }))
            return false;
        pair[0] = forms.front()[0];
        pair[1] = forms.back()[0];
        return true;
    };
    asciiFirst_ = asciiPair(firstForms_, first_);
    asciiStart_ = asciiFirst_ && (folded_.size() == 1 || asciiPair(formsOf(folded_[1]), second_));
    screens_ = std::all_of(folded_.begin(), folded_.end(), [](char32_t c) { return c < 0x80 && c != u'|'; });
}

// Whether the search text may stand at byte `at` of the stored text, whose
// character there is a form of its first one: each further character read
// after any tags and stray line breaks, a blank also matching what the view
// shows as a blank. A hit of the shown text always passes: the text holds
// no "|" and no marker, so every tag inside a hit is one the reader takes
// whole, and the view only ever drops or blanks what is skipped here.
bool StoredTextSearch::mayStartAt(QByteArrayView tagged, qsizetype at) const {
    const char* p = tagged.data();
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    const qsizetype n = tagged.size();
    qsizetype q = at;
    for (size_t k = 0; k < folded_.size(); ++k) {
        TagKind kind;
        while (k > 0 && q < n) {
            if (u[q] == '|' && taglayout::keptTagAt(p, n, q, kind)) q += taglayout::kKeptTagBytes;
            else if (u[q] == '\r' || u[q] == '\n') ++q;
            else break;
        }
        if (q >= n) return false;
        char32_t cp = u[q];
        const int length = cp < 0x80 ? 1 : utf8Char(u + q, n - q, cp);
        if (length == 0) return false;
        const bool blank = folded_[k] == u' ' && (cp == 0 || cp == 0x2028 || cp == 0x2029 || cp == 0xFFFC ||
                                                  cp == 0xFDD0 || cp == 0xFDD1);
        if (foldOf(cp) != folded_[k] && !blank) return false;
        q += length;
    }
    return true;
}

// Calls f(at) for every byte where the search text may stand, until f returns false.
template <class F>
void StoredTextSearch::forEachCandidate(QByteArrayView tagged, F f) const {
    const char* p = tagged.data();
    const qsizetype n = tagged.size();
    if (asciiFirst_) {
        for (qsizetype i = findEitherByte(p, 0, n, first_[0], first_[1]); i < n;
             i = findEitherByte(p, i + 1, n, first_[0], first_[1]))
            if (mayStartAt(tagged, i) && !f(i)) return;
        return;
    }
    std::vector<qsizetype> starts;
    for (const QByteArray& form : firstForms_) findAllOccurrences(tagged, form, starts);
    std::sort(starts.begin(), starts.end());
    for (const qsizetype at : starts)
        if (mayStartAt(tagged, at) && !f(at)) return;
}

bool StoredTextSearch::mayHold(QByteArrayView tagged) const {
    bool may = false;
    forEachCandidate(tagged, [&](qsizetype) { return !(may = true); });
    return may;
}

bool StoredTextSearch::readShown(QByteArrayView tagged) {
    shown_.resize(tagged.size());
    ShownBytes sink(tagged.data(), shown_.data());
    readTaggedUtf8(tagged, sink);
    shown_.resize(sink.written());
    shownAscii_ = sink.ascii();
    return sink.regular();
}

qsizetype StoredTextSearch::matchEnd(qsizetype at) const {
    const auto* u = reinterpret_cast<const unsigned char*>(shown_.constData());
    const qsizetype n = shown_.size();
    qsizetype q = at;
    for (const char32_t f : folded_) {
        if (q >= n) return -1;
        char32_t cp = u[q];
        const int length = cp < 0x80 ? 1 : utf8Char(u + q, n - q, cp);
        if (foldOf(cp) != f) return -1;
        q += length;
    }
    return q;
}

bool StoredTextSearch::isWholeWord(qsizetype at, qsizetype end) const {
    const auto* u = reinterpret_cast<const unsigned char*>(shown_.constData());
    const qsizetype n = shown_.size();
    // A character beyond U+FFFF is a surrogate unit to the view's rule, no word character.
    auto wordChar = [&](qsizetype i) {
        char32_t cp = u[i];
        if (cp >= 0x80) utf8Char(u + i, n - i, cp);
        return cp <= 0xFFFF && isSearchWordChar(QChar(char16_t(cp)));
    };
    if (at > 0) {
        qsizetype before = at - 1;
        while (before > 0 && (u[before] & 0xC0) == 0x80) --before;
        if (wordChar(before)) return false;
    }
    return end >= n || !wordChar(end);
}

template <class F>
void StoredTextSearch::forEachMatch(F f) const {
    const char* s = shown_.constData();
    const qsizetype n = shown_.size();
    if (asciiStart_) {
        for (qsizetype i = 0; i < n; ++i) {
            i = folded_.size() > 1 ? findEitherPair(s, i, n, first_[0], first_[1], second_[0], second_[1])
                                   : findEitherByte(s, i, n, first_[0], first_[1]);
            if (i >= n) return;
            const qsizetype end = matchEnd(i);
            if (end >= 0 && !f(i, end)) return;
        }
        return;
    }
    std::vector<qsizetype> starts;
    for (const QByteArray& form : firstForms_) findAllOccurrences(shown_, form, starts);
    std::sort(starts.begin(), starts.end());
    for (const qsizetype at : starts) {
        const qsizetype end = matchEnd(at);
        if (end >= 0 && !f(at, end)) return;
    }
}

void StoredTextSearch::hitsInShown(int module, int line, bool positions, std::vector<SearchHit>& out) const {
    const char* s = shown_.constData();
    const auto* u = reinterpret_cast<const unsigned char*>(s);
    const qsizetype n = shown_.size();
    qsizetype lineStart = 0, lineEnd = -1;  // of `line`; -1 while not looked for
    qsizetype counted = 0, units = 0;       // UTF-16 units of shown_[0, counted)
    QString lineText;
    forEachMatch([&](qsizetype at, qsizetype end) {
        if (wholeWord_ && !isWholeWord(at, end)) return true;
        for (qsizetype nl = findByte(s, lineStart, at, '\n'); nl < at; nl = findByte(s, lineStart, at, '\n')) {
            ++line;
            lineStart = nl + 1;
            lineEnd = -1;
        }
        if (lineEnd < 0) {
            const qsizetype nl = findByte(s, lineStart, n, '\n');
            lineEnd = nl < n ? nl - 1 : n;  // before its CR
            lineText = QString::fromUtf8(s + lineStart, lineEnd - lineStart);
        }
        if (positions) {
            units += shownAscii_ ? at - counted : utf16Units(u + counted, at - counted);
            counted = at;
        }
        out.push_back({module, line, int(units), int(units_), lineText});
        return true;
    });
}

// Each line that may hold a hit read alone: the reader of tagged text takes
// a line as it takes it within the whole (no tag holds a line break), and
// where lines end in CR LF and nowhere else, the view's lines are the stored
// lines.
std::optional<std::vector<SearchHit>> StoredTextSearch::hitsByLine(QByteArrayView tagged, int module) {
    const char* p = tagged.data();
    const qsizetype n = tagged.size();
    std::vector<SearchHit> out;
    bool checked = false, readable = true;
    int line = 1;
    qsizetype counted = 0;   // line breaks counted in p[0, counted)
    qsizetype nextLine = 0;  // where the line after the last one read starts
    forEachCandidate(tagged, [&](qsizetype at) {
        if (at < nextLine) return true;
        if (!checked && !(checked = true, onlyCrLfPairs(p, n))) return readable = false;
        qsizetype start = at;
        while (start > 0 && p[start - 1] != '\n') --start;
        const qsizetype nl = findByte(p, at, n, '\n');
        const qsizetype end = nl < n ? nl - 1 : n;
        line += int(countByte(p + counted, p + start, '\n'));
        counted = start;
        nextLine = nl + 1;
        if (!readShown(tagged.sliced(start, end - start))) return readable = false;
        hitsInShown(module, line, false, out);
        return true;
    });
    if (!readable) return std::nullopt;
    return out;
}

std::optional<std::vector<SearchHit>> StoredTextSearch::hits(QByteArrayView tagged, int module, bool positions) {
    if (!usable_) return std::nullopt;
    if (screens_ && !positions) return hitsByLine(tagged, module);
    if (screens_ && !mayHold(tagged)) return std::vector<SearchHit>{};
    if (!readShown(tagged)) return std::nullopt;
    std::vector<SearchHit> out;
    hitsInShown(module, 1, true, out);
    return out;
}

std::optional<bool> StoredTextSearch::holds(QByteArrayView tagged) {
    if (!usable_) return std::nullopt;
    if (screens_ && !mayHold(tagged)) return false;
    if (!readShown(tagged)) return std::nullopt;
    bool found = false;
    forEachMatch([&](qsizetype, qsizetype) { return !(found = true); });
    return found;
}

}  // namespace lumo
