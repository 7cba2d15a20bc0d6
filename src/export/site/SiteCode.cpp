#include "export/site/SiteCode.h"

#include <array>
#include <bit>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define LUMO_CODE_SSE2 1
#endif

#include "export/site/PageBytes.h"
#include "model/TaggedText.h"
#include "model/TextOperations.h"

namespace lumo {

namespace {

// isIdentChar, asked for every character of a page: ASCII from a table.
const std::array<bool, 128> kAsciiIdent = [] {
    std::array<bool, 128> t{};
    for (char16_t u = 0; u < 128; ++u) t[u] = isIdentChar(QChar(u));
    return t;
}();

inline bool identChar(QChar c) { return c.unicode() < 128 ? kAsciiIdent[c.unicode()] : isIdentChar(c); }

// The first carriage return or line feed from p[i] on, or n: a comment
// runs long without one.
qsizetype nextBreak(const QChar* p, qsizetype i, qsizetype n) {
#ifdef LUMO_CODE_SSE2
    const __m128i cr = _mm_set1_epi16(u'\r'), lf = _mm_set1_epi16(u'\n');
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(v, cr), _mm_cmpeq_epi16(v, lf)));
        if (hits != 0) return i + std::countr_zero(unsigned(hits)) / 2;
    }
#endif
    for (; i < n; ++i)
        if (p[i] == u'\r' || p[i] == u'\n') return i;
    return n;
}

// Writes lines as elements of their own: a span open at a line's end is
// closed there and opened again on the next line, so that every line can
// be a link target and the markup stays nested.
class SiteCodeSink {
public:
    SiteCodeSink(PageBytes& out, SiteCodeWords& words, const std::vector<SiteAnchor>& anchors)
        : out_(out), words_(words), anchor_(anchors.begin()), anchorsEnd_(anchors.end()) {}

    // A run of a line's text goes out in one piece up to the next word that
    // becomes a link, or the line's end.
    void text(QStringView s) {
        const QChar* p = s.data();
        const qsizetype n = s.size();
        // Inside a keyword, comment or string no word is asked about: only
        // the line breaks matter there.
        const bool linkable = slot_ == ColourSlot::Plain;
        const bool words = linkable || !inSpan_;
        qsizetype from = 0;  // the first character not yet written
        for (qsizetype i = 0; i < n;) {
            if (!words) i = nextBreak(p, i, n);
            if (i == n) break;
            const char16_t c = p[i].unicode();
            if (c == u'\r' || c == u'\n') {
                flush(s, from, i);
                if (c == u'\n') endLine();
                else ++callLine_;
                from = ++i;
                continue;
            }
            if (!identChar(p[i])) {
                ++i;
                continue;
            }
            qsizetype e = i + 1;
            while (e < n && identChar(p[e])) ++e;
            const QByteArrayView href = words_.seen({s.sliced(i, e - i), line_, callLine_, linkable, !inSpan_});
            if (linkable && !href.isEmpty()) {
                flush(s, from, i);
                startLine();
                out_.add("<a href=\"");
                out_.add(href);
                out_.add("\">");
                out_.addEscaped(s.sliced(i, e - i));
                out_.add("</a>");
                from = e;
            }
            i = e;
        }
        flush(s, from, n);
    }

    void tag(TagKind kind) {
        followSpans(kind);
        ColourSlot slot = slot_;
        bool bold = bold_;
        if (!colourOfTag(kind, slot)) bold = kind == TagKind::LineOpen;
        if (slot == slot_ && bold == bold_) return;
        if (open_) closeElements();
        slot_ = slot;
        bold_ = bold;
        if (open_) openElements();
    }

    void finish() {
        if (open_) endLine();
    }

private:
    // The spans the caller search leaves out: from a keyword, comment,
    // string or routine-line tag to its own end tag, whatever stands between.
    // An end tag outside every span is text to the search, and its letter
    // ("|n\u0178|", "|y\u0178|") a word of its own.
    void followSpans(TagKind kind) {
        if (inSpan_) {
            if (kind == awaited_) inSpan_ = false;
            return;
        }
        switch (kind) {
        case TagKind::Comment:
        case TagKind::Keyword:
        case TagKind::String:
            inSpan_ = true;
            awaited_ = TagKind::Close;
            return;
        case TagKind::LineOpen:
            inSpan_ = true;
            awaited_ = TagKind::LineClose;
            return;
        case TagKind::Close: words_.seen({u"n", line_, callLine_, false, true}); return;
        case TagKind::LineClose: words_.seen({u"y", line_, callLine_, false, true}); return;
        }
    }

    void startLine() {
        if (open_) return;
        open_ = true;
        // The number itself is drawn by the style sheet (a counter of the
        // lines), so that the page stays small and a copy holds only code.
        out_.add("<span id=\"L");
        out_.addNumber(line_);
        out_.add("\">");
        while (anchor_ != anchorsEnd_ && anchor_->line < line_) ++anchor_;
        for (; anchor_ != anchorsEnd_ && anchor_->line == line_; ++anchor_) {
            out_.add("<a id=\"");
            out_.add(anchor_->id);
            out_.add("\"></a>");
        }
        openElements();
    }

    void endLine() {
        startLine();  // an empty line is a line too
        closeElements();
        // The break inside the line's element: as a block of its own, a
        // line followed by a break outside it would show an empty line.
        out_.add("\n</span>");
        open_ = false;
        ++line_;
    }

    void openElements() {
        if (bold_) out_.add("<span class=\"r\">");
        switch (slot_) {
        case ColourSlot::Keyword: out_.add("<span class=\"k\">"); break;
        case ColourSlot::Comment: out_.add("<span class=\"c\">"); break;
        case ColourSlot::String: out_.add("<span class=\"s\">"); break;
        case ColourSlot::Plain: break;
        }
    }

    void closeElements() {
        if (slot_ != ColourSlot::Plain) out_.add("</span>");
        if (bold_) out_.add("</span>");
    }

    void flush(QStringView s, qsizetype from, qsizetype to) {
        if (to <= from) return;
        startLine();
        out_.addEscaped(s.sliced(from, to - from));
    }

    PageBytes& out_;
    SiteCodeWords& words_;
    // The next anchor to write: lines are written in order.
    std::vector<SiteAnchor>::const_iterator anchor_;
    std::vector<SiteAnchor>::const_iterator anchorsEnd_;
    ColourSlot slot_ = ColourSlot::Plain;
    bool bold_ = false;
    bool open_ = false;  // a line's element is open
    int line_ = 1;
    int callLine_ = 1;
    bool inSpan_ = false;
    TagKind awaited_ = TagKind::Close;
};

}  // namespace

void writeSiteCode(PageBytes& out, QStringView tagged, SiteCodeWords& words, const std::vector<SiteAnchor>& anchors) {
    SiteCodeSink sink(out, words, anchors);
    readTagged(tagged, sink);
    sink.finish();
}

}  // namespace lumo
