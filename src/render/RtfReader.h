#pragma once
// Reads the RTF dialect our renderer writes (and the common subset around
// it): groups, font and colour tables, \cf, \b, \plain, \f, \fs, \tab, \par,
// \pard, \tx, \li, \deftab, \'hh, \u, escaped \\ \{ \}. Unknown control words
// and ignorable destinations are skipped. Any input is accepted: text that
// is not RTF at all is taken as plain text, and broken RTF never fails.
#include "render/RtfContent.h"

namespace lumo {

RtfContent readRtf(const QString& rtf);
// Plain text (lines separated by CR LF, LF or CR) as content with one run.
RtfContent plainTextContent(const QString& text);

// Replaces, within paragraphs, the characters a text document would take as
// paragraph or frame marks (CR, U+2028, U+2029, NUL ...) by blanks, so that
// every character of the content is one position in the view.
void makeTextSafe(QString& text);

}  // namespace lumo
