#pragma once
// The tagging pass: plain VBA text in, tagged module text out (see Tags.h).
#include <QString>

#include "base/Options.h"
#include "model/ParseError.h"

namespace lumo {

class WorkingStore;

enum class TagMode {
    // Tags the module text, has the parser record its routines and the
    // module row under store.moduleCounter, writes the module text file and
    // gives back the stored text. Throws ParseError or StoreError.
    Module,
    // Tags the text and marks routine lines for display only, touching no store.
    Fragment,
};

// text: lines separated by CR LF.
void tagCode(QString& text, TagMode mode, const Options& options, WorkingStore& store);
QString tagFragment(const QString& text, const Options& options);

// The tagging up to the routine passes: the text wrapped in line breaks,
// indented (einr), without blank lines (leer), with transient, comment,
// string and keyword tags, in one scan (TagScanner.h); the tests hold it to
// the chain of whole-text replacements these steps are defined as.
QString tagText(const QString& input, const Options& options);

}  // namespace lumo
