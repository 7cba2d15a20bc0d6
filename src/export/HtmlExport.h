#pragma once
// The HTML commands: HTML of the clipboard, of a selection, of the zoom view,
// of one module and of the whole project, each handed to the clipboard.
#include <functional>
#include <vector>

#include <QString>

#include "base/Options.h"
#include "base/Progress.h"
#include "export/ModuleHeader.h"

namespace lumo {

class TextView;
class WorkingStore;
struct ExportContext;

// Code text (not tagged) to HTML on the clipboard: tagged as a fragment,
// converted, handed over. Nothing when the conversion fails.
void exportTextAsHtml(const QString& code, const ExportContext& context);
// The clipboard's text; "Kein Text in der Zwischenablage" when it holds none.
void htmlOfClipboard(const ExportContext& context);
// The view's selection; "Bitte markieren Sie den gewünschten Text" when nothing is selected.
void htmlOfSelection(const TextView& view, const ExportContext& context);
// The whole view, selected to be taken and then left with its caret where it
// was and no selection. Nothing when the view is empty.
void htmlOfWholeView(TextView& view, const ExportContext& context);

// The HTML of one module, and of modules 1 to M with their header blocks (one
// pre element each, in module order). Throw StoreError and HtmlError; the
// project's, with each module a step of progress, WorkStopped when stopped.
QString moduleHtml(WorkingStore& store, int moduleNumber, const Options& options);
QString projectHtml(WorkingStore& store, const std::vector<ExportModule>& modules, const Options& options,
                    bool headings = true, Progress& progress = noProgress());
// The same HTML module by module: each module's piece goes to `write` as soon
// as it is made, so that the whole never has to be held. projectHtml is the
// pieces joined.
void writeProjectHtml(WorkingStore& store, const std::vector<ExportModule>& modules, const Options& options,
                      bool headings, const std::function<void(const QString&)>& write,
                      Progress& progress = noProgress());

// The commands "Modul" and "Projekt" of the menu HTML: the HTML to the
// clipboard, one footer question at most. A module text file that cannot be
// read is reported and nothing reaches the clipboard.
void exportModuleHtml(WorkingStore& store, int moduleNumber, const ExportContext& context);
void exportProjectHtml(WorkingStore& store, const std::vector<ExportModule>& modules, const ExportContext& context);

}  // namespace lumo
