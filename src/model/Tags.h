#pragma once
// The tags of tagged module text. Each is built from the marker character
// U+0178 once per run and never changes; writer and readers of the stored
// module text agree on them character for character (case-sensitive).
#include <QString>

namespace lumo {

inline constexpr char16_t kMarkerChar = u'\u0178';

struct Tags {
    QString marker;        // the marker character alone
    // Transient: exist only while a text is being tagged.
    QString escape;        // "Ÿ|?"   a marker character of the source
    QString continuation;  // "|Ÿu| " "_" + CR LF; 5 characters, the last a space
    QString blank;         // "|Ÿb|"  a space inside a comment or string literal
    QString doubleQuote;   // "|Ÿd|"  two adjacent quote characters
    // Kept in the stored text.
    QString comment;       // "|Ÿk|"  start of a comment run
    QString string;        // "|Ÿs|"  start of a string-literal run
    QString keyword;       // "|Ÿf|"  start of a keyword
    QString close;         // "|nŸ|"  end of a keyword, comment or string run
    QString lineOpen;      // "|Ÿx|"  start of a routine head, declaration or End line
    QString lineClose;     // "|yŸ|"  end of such a line
};

const Tags& tags();

// keyword tag + word + close tag, the form in which the parser looks for words.
QString taggedKeyword(const QString& word);

// Length of the continuation tag; the parser counts physical lines with it.
inline constexpr int kContinuationTagLength = 5;
// Every kept tag is four characters: "|", two characters one of which is the
// marker, "|". Two tags may share a "|" with each other and nothing more.
inline constexpr int kKeptTagLength = 4;

// The kept tags, in the order in which every output replaces them: where two
// tags share their "|", the one replaced first wins and the other is text.
enum class TagKind : quint8 { Close, Comment, Keyword, String, LineOpen, LineClose };
inline constexpr int kTagKindCount = 6;

// The layout of the tags, character by character. Every reader of tagged
// text recognises tags through these and nowhere else.
namespace taglayout {

// The kept tag starting at p[i], if any (i + 3 < n).
inline bool keptTagAt(const QChar* p, qsizetype n, qsizetype i, TagKind& kind) {
    if (i + 3 >= n || p[i] != u'|' || p[i + 3] != u'|') return false;
    const char16_t a = p[i + 1].unicode();
    const char16_t b = p[i + 2].unicode();
    if (a == kMarkerChar) {
        switch (b) {
        case u'k': kind = TagKind::Comment; return true;
        case u'f': kind = TagKind::Keyword; return true;
        case u's': kind = TagKind::String; return true;
        case u'x': kind = TagKind::LineOpen; return true;
        default: return false;
        }
    }
    if (b == kMarkerChar) {
        if (a == u'n') { kind = TagKind::Close; return true; }
        if (a == u'y') { kind = TagKind::LineClose; return true; }
    }
    return false;
}

// The same kept tags in the UTF-8 bytes the store keeps: the marker is the
// two bytes C5 B8, so a tag is five bytes and two tags sharing their "|"
// start four bytes apart. A byte pair C5 B8 is that character and nothing
// else, so a tag is found in the bytes exactly where it is in the text.
inline constexpr int kKeptTagBytes = 5;

// The kept tag starting at p[i] of UTF-8 text, if any (i + 4 < n).
inline bool keptTagAt(const char* p, qsizetype n, qsizetype i, TagKind& kind) {
    if (i + 4 >= n || p[i] != '|' || p[i + 4] != '|') return false;
    const auto a = static_cast<unsigned char>(p[i + 1]);
    const auto b = static_cast<unsigned char>(p[i + 2]);
    const auto c = static_cast<unsigned char>(p[i + 3]);
    if (a == 0xC5 && b == 0xB8) {
        switch (c) {
        case 'k': kind = TagKind::Comment; return true;
        case 'f': kind = TagKind::Keyword; return true;
        case 's': kind = TagKind::String; return true;
        case 'x': kind = TagKind::LineOpen; return true;
        default: return false;
        }
    }
    if (b == 0xC5 && c == 0xB8) {
        if (a == 'n') { kind = TagKind::Close; return true; }
        if (a == 'y') { kind = TagKind::LineClose; return true; }
    }
    return false;
}

// "|Ÿu| ": "_" + CR LF while a text is tagged.
inline bool continuationAt(const QChar* p, qsizetype n, qsizetype i) {
    return i + 4 < n && p[i] == u'|' && p[i + 1].unicode() == kMarkerChar && p[i + 2] == u'u' && p[i + 3] == u'|' &&
           p[i + 4] == u' ';
}

// "|Ÿd|": two adjacent quote characters while a text is tagged.
inline bool doubleQuoteAt(const QChar* p, qsizetype n, qsizetype i) {
    return i + 3 < n && p[i] == u'|' && p[i + 1].unicode() == kMarkerChar && p[i + 2] == u'd' && p[i + 3] == u'|';
}

// "Ÿ?": a marker character of the source in stored text. No tag holds the
// marker before a "?", so the two can never be read as part of one.
inline bool storedEscapeAt(const QChar* p, qsizetype n, qsizetype i) {
    return i + 1 < n && p[i].unicode() == kMarkerChar && p[i + 1] == u'?';
}

// "Ÿ|?": a marker character of the source while a text is tagged.
inline bool escapeAt(const QChar* p, qsizetype n, qsizetype i) {
    return i + 2 < n && p[i].unicode() == kMarkerChar && p[i + 1] == u'|' && p[i + 2] == u'?';
}

// The keyword tag at p[i] with its word up to the next close tag: the
// word's start and length, or false.
inline bool taggedWordAt(const QChar* p, qsizetype n, qsizetype i, qsizetype& wordStart, qsizetype& wordLength) {
    if (i + 3 >= n || p[i] != u'|' || p[i + 1].unicode() != kMarkerChar || p[i + 2] != u'f' || p[i + 3] != u'|')
        return false;
    for (qsizetype j = i + 4; j + 3 < n; ++j) {
        if (p[j] == u'|' && p[j + 1] == u'n' && p[j + 2].unicode() == kMarkerChar && p[j + 3] == u'|') {
            wordStart = i + 4;
            wordLength = j - i - 4;
            return true;
        }
    }
    return false;
}

}  // namespace taglayout

}  // namespace lumo
