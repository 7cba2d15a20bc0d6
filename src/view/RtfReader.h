#pragma once
// Reads the RTF dialect our renderer writes (and the common subset around
// it): groups, font and colour tables, \cf, \b, \plain, \f, \fs, \tab, \par,
// \pard, \tx, \li, \deftab, \'hh, \u, escaped \\ \{ \}. Unknown control words
// and ignorable destinations are skipped. Any input is accepted: text that
// is not RTF at all is taken as plain text, and broken RTF never fails.
#include "view/RtfContent.h"

namespace lumo {

RtfContent readRtf(const QString& rtf);
// Plain text (lines separated by CR LF, LF or CR) as content with one run.
RtfContent plainTextContent(const QString& text);

}  // namespace lumo
