#pragma once
// The module parser as the steps are defined, one whole-text split, join
// and replacement after the other; the program's one-scan version is held
// to it on the corpus and on random modules.
#include <vector>

#include <QString>

#include "app/Options.h"
#include "model/ModuleParser.h"

namespace lumo::reference {

void parseRoutines(QString& text, const QString& keywordTag, const Options& options, qint32* routineCounter,
                   std::vector<FoundRoutine>* found);
QString indentText(const QString& wrapped);
QString tagText(const QString& code, const Options& options);
ParsedModule parseModule(const QString& code, const Options& options, qint32& routineCounter);
QString tagFragment(const QString& code, const Options& options);

}  // namespace lumo::reference
