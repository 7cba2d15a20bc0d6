#pragma once
// The one writer of tagged text as HTML, a sink of readTagged. The HTML
// export's fragment (HtmlRenderer) and the site's pages (export/site/)
// are both written by it; they differ only in the markup they give it, the
// page they write to and the hooks they add.
//
// A page is a class with
//     void add(QByteArrayView markup);    // as it is
//     void addEscaped(QStringView text);  // as the page's escaping wants it
//     void addNumber(qint64 n);           // in decimal
// Hooks are a class with
//     static constexpr bool kLinks;       // whether words of plain code are offered to link()
//     QByteArrayView link(QStringView word, int line);  // its link, escaped; empty for none
//     void lineStarted(Page& page, int line);           // after a line's element opened
// (NoHtmlHooks adds nothing).
#include <array>

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include "base/ByteSearch.h"
#include "model/TaggedText.h"
#include "model/TextOperations.h"

namespace lumo {

// What the tags become and where lines go.
struct HtmlCodeMarkup {
    // false: each tag's markup (`tags`) stands where the tag stands, and line
    // breaks are text. true: every line is an element of its own,
    // <span id="L<n>"> to "\n</span>", carriage returns left out; the colour's
    // element (`colours`) and the routine line's (`routineLine`) open at a
    // line's end are closed there and opened again on the next, so that every
    // line can be a link target and the markup stays nested.
    bool lineElements = false;
    std::array<QByteArray, kTagKindCount> tags;  // by TagKind
    std::array<QByteArray, 4> colours;            // by ColourSlot, each closed by "</span>"; Plain: none
    QByteArray routineLine;                       // closed by "</span>"; empty for none
};

struct NoHtmlHooks {
    static constexpr bool kLinks = false;
    QByteArrayView link(QStringView, int) { return {}; }
    template <class Page>
    void lineStarted(Page&, int) {}
};

namespace htmlcode {

// isIdentChar, asked for every character of plain code: ASCII from a table.
inline const std::array<bool, 128> kAsciiIdent = [] {
    std::array<bool, 128> t{};
    for (char16_t u = 0; u < 128; ++u) t[u] = isIdentChar(QChar(u));
    return t;
}();

inline bool identChar(QChar c) { return c.unicode() < 128 ? kAsciiIdent[c.unicode()] : isIdentChar(c); }

}  // namespace htmlcode

template <class Page, class Hooks = NoHtmlHooks>
class HtmlCodeWriter {
public:
    HtmlCodeWriter(Page& page, const HtmlCodeMarkup& markup, Hooks& hooks)
        : page_(page), markup_(markup), hooks_(hooks) {}

    // A run of text goes out in one piece up to the next word that becomes
    // a link, or (with line elements) the line's end.
    void text(QStringView s) {
        const bool words = Hooks::kLinks && slot_ == ColourSlot::Plain;
        const bool lines = markup_.lineElements;
        if (!words && !lines) {
            page_.addEscaped(s);
            return;
        }
        const QChar* p = s.data();
        const qsizetype n = s.size();
        qsizetype from = 0;  // the first character not yet written
        for (qsizetype i = 0; i < n;) {
            // Inside a keyword, comment or string no word is offered: only
            // the line breaks matter there.
            if (!words) i = findLineBreak(reinterpret_cast<const char16_t*>(p), i, n);
            if (i == n) break;
            const char16_t c = p[i].unicode();
            if (lines && (c == u'\r' || c == u'\n')) {
                flush(s, from, i);
                if (c == u'\n') endLine();
                from = ++i;
                continue;
            }
            if (!htmlcode::identChar(p[i])) {
                ++i;
                continue;
            }
            qsizetype e = i + 1;
            while (e < n && htmlcode::identChar(p[e])) ++e;
            const QByteArrayView href = hooks_.link(s.sliced(i, e - i), line_);
            if (!href.isEmpty()) {
                flush(s, from, i);
                startLine();
                page_.add("<a href=\"");
                page_.add(href);
                page_.add("\">");
                page_.addEscaped(s.sliced(i, e - i));
                page_.add("</a>");
                from = e;
            }
            i = e;
        }
        flush(s, from, n);
    }

    void tag(TagKind kind) {
        ColourSlot slot = slot_;
        bool bold = bold_;
        if (!colourOfTag(kind, slot)) bold = kind == TagKind::LineOpen;
        if (!markup_.lineElements) {
            page_.add(markup_.tags[size_t(kind)]);
            slot_ = slot;
            bold_ = bold;
            return;
        }
        if (slot == slot_ && bold == bold_) return;
        if (open_) closeElements();
        slot_ = slot;
        bold_ = bold;
        if (open_) openElements();
    }

    // After the last run: closes the last line's element.
    void finish() {
        if (open_) endLine();
    }

private:
    void startLine() {
        if (open_ || !markup_.lineElements) return;
        open_ = true;
        // The number itself is drawn by the style sheet (a counter of the
        // lines), so that the page stays small and a copy holds only code.
        page_.add("<span id=\"L");
        page_.addNumber(line_);
        page_.add("\">");
        hooks_.lineStarted(page_, line_);
        openElements();
    }

    void endLine() {
        startLine();  // an empty line is a line too
        closeElements();
        // The break inside the line's element: as a block of its own, a
        // line followed by a break outside it would show an empty line.
        page_.add("\n</span>");
        open_ = false;
        ++line_;
    }

    void openElements() {
        if (bold_) page_.add(markup_.routineLine);
        page_.add(markup_.colours[size_t(slot_)]);
    }

    void closeElements() {
        if (slot_ != ColourSlot::Plain) page_.add("</span>");
        if (bold_ && !markup_.routineLine.isEmpty()) page_.add("</span>");
    }

    // Inline: called for nearly every run, and most often with nothing to write.
    [[gnu::always_inline]] void flush(QStringView s, qsizetype from, qsizetype to) {
        if (to <= from) return;
        startLine();
        page_.addEscaped(s.sliced(from, to - from));
    }

    Page& page_;
    const HtmlCodeMarkup& markup_;
    Hooks& hooks_;
    ColourSlot slot_ = ColourSlot::Plain;
    bool bold_ = false;
    bool open_ = false;  // a line's element is open
    int line_ = 1;
};

}  // namespace lumo
