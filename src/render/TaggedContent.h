#pragma once
// Tagged module text straight to the content a code view shows, without
// writing RTF and reading it back. The result is exactly what reading
// wrapRtfDocument(taggedToRtf(text)) gives: both are sinks of the one
// reader of tagged text.
#include <QString>

#include "base/Options.h"
#include "render/RtfContent.h"

namespace lumo {

RtfContent taggedToContent(const QString& tagged, const Options& options);

// The text alone of taggedToContent (line breaks as LF): what a code view
// shows of a piece of tagged text, without reading a head for the formats.
QString taggedToText(QStringView tagged);
// What a code view filled with taggedToContent returns as its text: the text
// made safe for display, lines joined with CR LF. Lets a search look through
// modules whose view was never made.
QString taggedToViewText(QStringView tagged);

}  // namespace lumo
