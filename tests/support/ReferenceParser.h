#pragma once
// The module parser as the steps are defined, one whole-text split, join
// and replacement after the other; the program's one-scan version is held
// to it on the corpus and on random modules.
#include <vector>

#include <QString>

#include "base/Options.h"
#include "model/ModuleParser.h"

namespace lumo::reference {

// Previous: the pipeline as it read modules before alternative heads after
// #Else and continuations only after a blank were known, kept to hold every
// module that read then to what it gave then. Current: with both.
enum class Rules { Previous, Current };

// newRuleHits counts the lines on which a rule of Current decided.
void parseRoutines(QString& text, const QString& keywordTag, const Options& options, qint32* routineCounter,
                   std::vector<FoundRoutine>* found, Rules rules = Rules::Current, int* newRuleHits = nullptr);
QString indentText(const QString& wrapped, Rules rules = Rules::Current);
QString tagText(const QString& code, const Options& options, Rules rules = Rules::Current, int* newRuleHits = nullptr);
ParsedModule parseModule(const QString& code, const Options& options, qint32& routineCounter,
                         Rules rules = Rules::Current, int* newRuleHits = nullptr);
QString tagFragment(const QString& code, const Options& options, Rules rules = Rules::Current);

// The line count and the rows of a parsed module, one routine a line, for
// comparing two parses at a glance.
QString describeRows(const ParsedModule& module);

}  // namespace lumo::reference
