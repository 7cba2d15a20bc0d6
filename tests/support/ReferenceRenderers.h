#pragma once
// The outputs of tagged text as they are defined: chains of whole-text
// replacements. The program's sinks of the one tagged-text reader are held
// to them on the corpus and on random texts.
#include <QString>

#include "base/Options.h"

namespace lumo::reference {

// The RTF body: escapes, then every tag kind after the other, tabs, line breaks.
QString taggedToRtf(QString text, const Options& options);

// The blanking of the callers search as it is defined: find "|" + marker;
// find the matching end tag at or after it (the routine-line close tag when
// the character two after the "|" is "x", the close tag otherwise); spaces
// from the "|" to the end tag's last character; go on from that character.
// A missing end tag blanks to the end of the text.
QString blankTaggedSpans(QString text);
// Fifteen replacements, "&" first.
QString escapeHtml(QString text);
// The HTML fragment: escapes, every tag kind after the other, the frame.
// Colours as "#RRGGBB" of valid values only.
QString taggedToHtml(QString text, const Options& options);

}  // namespace lumo::reference
