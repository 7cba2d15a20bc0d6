#pragma once
// The keywords the tagging pass colours, in processing order. Each entry
// keeps one space before and one after its word or words, so that a keyword
// is found only between separators; case matters ("Redim" is one, "ReDim" is
// not, because the VBA editor writes the latter).
#include <QStringList>

namespace lumo {

// The 111 entries, split from one literal at every comma.
const QStringList& keywordEntries();

// The replacement of one entry: " " + every word tagged by itself + " ".
QString taggedKeywordEntry(const QString& entry);

}  // namespace lumo
