#pragma once
// RTF files of the current module and of the whole project: one document
// each, with one colour table, written as portable RTF bytes.
#include <functional>
#include <vector>

#include <QByteArrayView>
#include <QString>

#include "base/Options.h"
#include "base/Progress.h"
#include "export/ModuleHeader.h"

namespace lumo {

class Ui;
class WorkingStore;
struct ExportContext;

// The chosen path with its extension made "RTF": a three-letter extension
// (the dialog's own or one the user typed, "txt", "rtf") becomes "RTF";
// another extension is replaced by "RTF" as a whole, and a name without one
// gets ".RTF".
QString rtfTargetPath(const QString& chosen);

// The save chooser for an RTF document ("RTF-Dokument:RTF;"), starting in
// startFolder with the proposed name; the target path, or "" when cancelled.
QString chooseRtfFile(Ui& ui, const QString& startFolder, const QString& proposedName);

// The documents. Throw StoreError when a module text file cannot be read;
// the project's, with each module a step of progress, WorkStopped when stopped.
QString moduleRtfDocument(WorkingStore& store, int moduleNumber, const Options& options);
QString projectRtfDocument(WorkingStore& store, const std::vector<ExportModule>& modules, const Options& options,
                           bool headings = true, Progress& progress = noProgress());
// The project's document as the bytes of an RTF file, module by module: each
// piece goes to `write` as soon as it is made, so that the whole is never
// held. The pieces joined are rtfFileBytes(projectRtfDocument(...)).
void writeProjectRtf(WorkingStore& store, const std::vector<ExportModule>& modules, const Options& options,
                     bool headings, const std::function<void(QByteArrayView)>& write,
                     Progress& progress = noProgress());

// Replaces the file at path with the document, or leaves it as it was; the
// failure's description in error.
bool writeRtfFile(const QString& path, const QString& document, QString& error);

// The exports as the commands run them: the status panel PanelOperation and the hourglass
// while they work, a failure shown with its description. True when written.
bool exportModuleRtf(const QString& path, WorkingStore& store, int moduleNumber, const ExportContext& context);
bool exportProjectRtf(const QString& path, WorkingStore& store, const std::vector<ExportModule>& modules,
                      const ExportContext& context);

}  // namespace lumo
