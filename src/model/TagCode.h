#pragma once
// The tagging pass: plain VBA text in, tagged module text out (see Tags.h).
#include <QRegularExpression>
#include <QString>

#include "base/Options.h"
#include "model/ParseError.h"

namespace lumo {

class WorkingStore;

// Module mode (fragment false): tags the module text, has the parser record
// its routines and the module row under store.moduleCounter, writes the
// module text file and gives back the stored text. Throws ParseError or
// StoreError. Fragment mode: tags the text and marks routine lines for
// display only, touching no store. text: lines separated by CR LF.
void tagCode(QString& text, bool fragment, const Options& options, WorkingStore& store);
QString tagFragment(const QString& text, const Options& options);

// The tagging up to the routine passes: the text wrapped in line breaks,
// indented (einr), without blank lines (leer), with transient, comment,
// string and keyword tags. byReplacement runs these steps as the chain of
// whole-text replacements they are defined as (one per keyword-list entry
// among them); the one-scan default is held to it by the tests.
QString tagText(const QString& input, const Options& options, bool byReplacement = false);

// The steps from the escape tag to the undone widening as the chain of
// whole-text replacements they are defined as, on the wrapped text. A line
// continues where continuation matches ("_" and the line break after a
// blank: VBA's rule).
const QRegularExpression& continuationAfterBlank();
QString tagWrappedByReplacement(QString wrapped, const QRegularExpression& continuation = continuationAfterBlank());

// Comment and string tags of one logical line (a quote before the first
// apostrophe, both present).
QString scanQuotedLine(const QString& line);

// Comment and string tags of one logical line, whichever case it is.
QString tagCommentsAndStrings(const QString& line);

}  // namespace lumo
