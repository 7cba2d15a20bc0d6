#pragma once
// Small text functions shared by every area.
#include <QString>

namespace lumo {

// The text after the last occurrence of separator (letters compared without
// regard to case); the whole text when it does not occur; "" when it ends the text.
QString afterLast(const QString& text, const QString& separator);
// The text before the first occurrence of separator; the whole text when it
// does not occur; "" when the text begins with it.
QString beforeFirst(const QString& text, const QString& separator);
// The last component of a path ("/" separated).
QString fileNamePart(const QString& path);

// text with every occurrence of before (not empty) replaced by after, in one
// pass: QString::replace moves the rest of the text for every thousand
// matches, which makes a module of millions of lines cost minutes.
QString replaceAll(QStringView text, QStringView before, QStringView after);

// text with every control character shown as a visible escape ("\x1B",
// "\x9B"), so that names and code lines from a document can never drive a
// terminal (set its title, move the cursor, hide what follows). Tabs, line
// feeds and the CR of a CR LF stay as they are.
QString visibleControls(const QString& text);

// The leading number of a stored text: blanks skipped, an optional sign,
// digits with "." as decimal point; the rest is ignored; no number gives 0.
double leadingNumber(const QString& text);
// The leading number rounded (halves to even) and kept within [lo, hi].
qint64 leadingInteger(const QString& text, qint64 lo, qint64 hi);

}  // namespace lumo
