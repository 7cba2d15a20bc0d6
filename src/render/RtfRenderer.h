#pragma once
// Tagged module text to RTF: a table of what every tag becomes, applied by
// plain replacement, and the document head around the body. Characters above
// 127 stay as they are; the code view reads the document as Windows-1252.
#include <QByteArray>
#include <QString>

#include "base/Options.h"

namespace lumo {

// In place: tagged text becomes an RTF body.
void taggedToRtf(QString& text, const Options& options);

// In place: head (fonts, colour table, tab stops, font switch) + body + "}".
void wrapRtfDocument(QString& body, const Options& options);
// That head alone, for a document written piece by piece.
QString rtfDocumentHead(const Options& options);

// "\redR\greenG\blueB;" of a 0x00BBGGRR colour.
QString rtfColorEntry(qint32 colour);

// A document as the bytes of an RTF file: ASCII as it is, the rest of
// Windows-1252 as \'hh, anything beyond as \uN?, so that every reader shows
// the characters the document holds.
QByteArray rtfFileBytes(const QString& document);

}  // namespace lumo
