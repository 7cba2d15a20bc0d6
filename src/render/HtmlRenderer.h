#pragma once
// Tagged text as HTML source: the fragment with inline colour styles that
// the clipboard export and the preview page carry, written by the one
// writer of code as HTML (HtmlCodeWriter).
#include <optional>
#include <stdexcept>

#include <QString>
#include <QStringView>

#include "base/Options.h"

namespace lumo {

// A colour that HTML cannot be written with; what() is the German description.
class HtmlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// In place: the fifteen characters that HTML (or a paste into a web editor)
// could misread become entities. The marker character and "|" stay, so the
// tags survive.
void escapeHtml(QString& text);
// Appends span to out, escaped as escapeHtml escapes it.
void appendEscapedHtml(QString& out, QStringView span);

// "#RRGGBB" of a 0x00BBGGRR colour; nothing when a component lies outside 0..255.
std::optional<QString> htmlColor(qint32 colour);
// htmlColor, or HtmlError naming `what` (the colour's German name) when there is none.
QString htmlColorOrThrow(qint32 colour, const char* what);

// In place: tagged text to the fragment "<pre><span ...>" ... "</span></pre>",
// comments, strings and keywords in their colours, routine lines bold when
// rouf is set. Throws HtmlError when a colour cannot be written; the text is
// then unchanged.
void taggedToHtml(QString& text, const Options& options);

}  // namespace lumo
