#pragma once
// Tagged module text to RTF: a table of what every tag becomes, applied by
// plain replacement, and the document head around the body. Characters above
// 127 stay as they are; the code view reads the document as Windows-1252.
#include <QString>

#include "app/Options.h"

namespace lumo {

// In place: tagged text becomes an RTF body.
void taggedToRtf(QString& text, const Options& options);

// In place: head (fonts, colour table, tab stops, font switch) + body + "}".
void wrapRtfDocument(QString& body, const Options& options);

// "\redR\greenG\blueB;" of a 0x00BBGGRR colour.
QString rtfColorEntry(qint32 colour);

}  // namespace lumo
