#pragma once
// The one reader of tagged module text. It walks the text once and reports
// to a sink what it finds: runs of text (line breaks and tabs included) and
// the kept tags between them. Every output of tagged text is a sink and
// knows nothing of how the tags look; they all live in src/render/: RTF,
// HTML (one writer for the export and the site), the code view's content,
// plain text. The resolver's code lines in src/navigate/ read the text
// through a sink of their own.
//
// A sink is any class with
//     void text(QStringView span);   // never empty
//     void tag(TagKind kind);
//
// The outputs are defined as chains of whole-text replacements, one tag kind
// after the other in TagKind order. Where two tags share their "|" the chain
// lets the kind replaced first win, and the other tag's characters stay as
// text; the reader resolves such runs of overlapping tags the same way, so a
// sink gives exactly what its chain gives.
#include <algorithm>
#include <array>
#include <cstring>

#include <QByteArrayView>
#include <QStringView>

#include "base/ByteSearch.h"
#include "model/Tags.h"

namespace lumo {

// The colour-table slots of the outputs: plain code, keywords, comments, strings.
enum class ColourSlot : int { Plain = 0, Keyword = 1, Comment = 2, String = 3 };

// The colour a tag switches to; false for the routine-line tags, which switch none.
inline bool colourOfTag(TagKind kind, ColourSlot& slot) {
    switch (kind) {
    case TagKind::Close: slot = ColourSlot::Plain; return true;
    case TagKind::Keyword: slot = ColourSlot::Keyword; return true;
    case TagKind::Comment: slot = ColourSlot::Comment; return true;
    case TagKind::String: slot = ColourSlot::String; return true;
    case TagKind::LineOpen:
    case TagKind::LineClose: return false;
    }
    return false;
}

// A marker character of the source is stored as "Ÿ?" (taglayout::storedEscapeAt):
// no tag holds the marker before a "?", so source text that looks like a
// tag ("|Ÿf|" in a string) can never be read as one. Text runs reach the
// sink with each such escape as the marker character alone; a sink that
// counts positions in the tagged text itself has `void skipped(qsizetype n)`
// called for the character that no run holds; one that counts nothing else
// has `void advance(qsizetype n)` instead and is told only the run's length.
template <class Sink>
void putTaggedText(const QChar* p, qsizetype from, qsizetype to, Sink& sink) {
    if constexpr (requires { sink.advance(qsizetype{}); }) {
        sink.advance(to - from);
    } else {
        qsizetype start = from;
        for (const QChar* m = std::find(p + from, p + to, QChar(kMarkerChar)); m != p + to;
             m = std::find(m + 1, p + to, QChar(kMarkerChar))) {
            const qsizetype k = m - p;
            if (!taglayout::storedEscapeAt(p, to, k)) continue;
            sink.text(QStringView(p + start, k + 1 - start));
            if constexpr (requires { sink.skipped(qsizetype{}); }) sink.skipped(1);
            start = k + 2;
            ++m;
        }
        if (to > start) sink.text(QStringView(p + start, to - start));
    }
}

// What the reader needs to know of the units it walks: characters of a
// QString, or the UTF-8 bytes of a stored text (for sinks that only count,
// so that a search need not decode a module to find its spans).
template <class View>
struct TaggedUnits;

template <>
struct TaggedUnits<QStringView> {
    static constexpr qsizetype tagLength = kKeptTagLength;
    // Tags stand close together in code: a plain loop finds the next "|"
    // sooner than a call into the general search, whose setup costs more
    // than the few characters in between.
    static qsizetype nextBar(QStringView t, qsizetype from) {
        const QChar* p = t.data();
        const QChar* at = std::find(p + from, p + t.size(), QChar(u'|'));
        return at == p + t.size() ? -1 : at - p;
    }
    static bool tagAt(QStringView t, qsizetype i, TagKind& kind) {
        return taglayout::keptTagAt(t.data(), t.size(), i, kind);
    }
    template <class Sink>
    static void putText(QStringView t, qsizetype from, qsizetype to, Sink& sink) {
        putTaggedText(t.data(), from, to, sink);
    }
};

template <>
struct TaggedUnits<QByteArrayView> {
    static constexpr qsizetype tagLength = taglayout::kKeptTagBytes;
    // Tags stand close together in code, so the next "|" is looked for
    // inline, sixteen bytes at a time, rather than through a call.
    static qsizetype nextBar(QByteArrayView t, qsizetype from) {
        const qsizetype at = findByte(t.data(), from, t.size(), '|');
        return at < t.size() ? at : -1;
    }
    static bool tagAt(QByteArrayView t, qsizetype i, TagKind& kind) {
        return taglayout::keptTagAt(t.data(), t.size(), i, kind);
    }
    template <class Sink>
    static void putText(QByteArrayView, qsizetype from, qsizetype to, Sink& sink) {
        static_assert(requires { sink.advance(qsizetype{}); }, "UTF-8 text reaches only sinks that count");
        sink.advance(to - from);
    }
};

template <class View, class Sink>
void readTaggedUnits(View tagged, Sink& sink) {
    using Units = TaggedUnits<View>;
    // Two tags sharing their "|" start this many units apart.
    constexpr qsizetype step = Units::tagLength - 1;
    const qsizetype n = tagged.size();
    qsizetype textStart = 0;
    qsizetype i = 0;
    // A run of overlapping tags is short in any real text; longer runs are
    // resolved in pieces of this size, each as the chain would see it.
    constexpr int kMaxChain = 64;
    std::array<TagKind, kMaxChain> kinds{};
    std::array<bool, kMaxChain> claimed{};
    while (i < n) {
        const qsizetype bar = Units::nextBar(tagged, i);
        if (bar < 0) break;
        TagKind kind;
        if (!Units::tagAt(tagged, bar, kind)) {
            i = bar + 1;
            continue;
        }
        // The run of tags each sharing its first "|" with the one before.
        int m = 0;
        kinds[m++] = kind;
        while (m < kMaxChain && Units::tagAt(tagged, bar + step * m, kind)) kinds[m++] = kind;
        claimed.fill(false);
        if (m == 1) {
            claimed[0] = true;
        } else {
            for (int k = 0; k < kTagKindCount; ++k) {
                for (int c = 0; c < m; ++c) {
                    if (int(kinds[c]) != k || claimed[c]) continue;
                    if ((c > 0 && claimed[c - 1]) || (c + 1 < m && claimed[c + 1])) continue;
                    claimed[c] = true;
                }
            }
        }
        for (int c = 0; c < m; ++c) {
            if (!claimed[c]) continue;
            const qsizetype at = bar + step * c;
            if (at > textStart) Units::putText(tagged, textStart, at, sink);
            sink.tag(kinds[c]);
            textStart = at + Units::tagLength;
        }
        // The "|" closing the run starts no tag; a run cut at the limit goes
        // on with the tag that shares that "|", unless the last tag took it.
        const qsizetype last = bar + step * (m - 1);
        i = (m == kMaxChain && !claimed[m - 1]) ? last + step : std::max(textStart, last + Units::tagLength);
    }
    if (n > textStart) Units::putText(tagged, textStart, n, sink);
}

template <class Sink>
void readTagged(QStringView tagged, Sink& sink) {
    readTaggedUnits(tagged, sink);
}

// The same walk over the UTF-8 bytes of a stored text; the sink counts bytes.
template <class Sink>
void readTaggedUtf8(QByteArrayView tagged, Sink& sink) {
    readTaggedUnits(tagged, sink);
}

}  // namespace lumo
