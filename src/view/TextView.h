#pragma once
// What the logic asks of a code view. Positions are 0-based character
// indexes in which a line break counts as the two characters CR LF, so that
// positions and lengths agree with the stored module texts; lines count from
// 0. The widget (view/widgets/CodeView) implements it; navigation and search
// are written against this interface only and run in tests without a window.
#include <QString>

namespace lumo {

class TextView {
public:
    virtual ~TextView() = default;

    virtual void setRtf(const QString& rtf) = 0;   // "" clears the view
    virtual QString rtf() const = 0;              // the whole content as RTF
    virtual QString text() const = 0;             // plain text, lines joined with CR LF
    virtual int length() const = 0;               // == text().size()

    virtual int selStart() const = 0;
    virtual void setSelStart(int pos) = 0;        // moves the caret, scrolls it into view, empties the selection
    virtual int selLength() const = 0;
    virtual void setSelLength(int len) = 0;       // extends from selStart
    virtual QString selText() const = 0;
    virtual QString selRtf() const = 0;           // the selection as an RTF document

    virtual int lineOfPosition(int pos) const = 0;
    // Case-insensitive search from start to the end; the match becomes the selection.
    // Returns the match position or -1.
    virtual int find(const QString& what, int start, bool wholeWord) = 0;
    // Moves the caret forward or backward up to the first character in the set
    // (negate: not in the set).
    virtual void moveUpTo(const QString& set, bool forward, bool negate) = 0;
    // Extends the selection forward or backward over characters in the set
    // (negate: not in the set).
    virtual void span(const QString& set, bool forward, bool negate) = 0;

    // The target of a jump in view: line `line` (0-based) about a third down
    // the pane, the lines from `contextLine` above it (a comment block) in
    // view as far as they fit. A view that shows no pane leaves it.
    virtual void revealLine(int line, int contextLine) { (void)line; (void)contextLine; }
};

}  // namespace lumo
