#pragma once
// The HTML commands: HTML of the clipboard, of a selection, of the zoom view,
// of one module and of the whole project, each handed to the clipboard; and
// the header block that introduces every module of a project export.
#include <functional>
#include <vector>

#include <QString>

#include "base/Options.h"

namespace lumo {

class TextView;
class NodeList;
class WorkingStore;
struct ExportContext;

// A module as the project tree shows it: its name and picture key ("M" + type).
struct ExportModule {
    QString name;
    QString imageKey;
};

// The two exports name the document module differently.
enum class TypeTexts { Html, Rtf };

// "Typ = ..." by picture key; empty for a type without a text.
QString moduleTypeText(const QString& imageKey, TypeTexts texts);
// The three comment lines naming the module, as tagged text: coloured as a
// comment and, with rouf, bold.
QString moduleHeaderBlock(const QString& name, const QString& typeText);
// CR LF CR LF + header block + CR LF CR LF + the module's tagged text.
QString withModuleHeader(const QString& tagged, const ExportModule& module, TypeTexts texts);

// Modules 1 to moduleCount as the tree names them (node "M" + number).
std::vector<ExportModule> exportModules(const NodeList& tree, int moduleCount);

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
// pre element each, in module order). Throw StoreError and HtmlError.
QString moduleHtml(WorkingStore& store, int moduleNumber, const Options& options);
QString projectHtml(WorkingStore& store, const std::vector<ExportModule>& modules, const Options& options,
                    bool headings = true);
// The same HTML module by module: each module's piece goes to `write` as soon
// as it is made, so that the whole never has to be held. projectHtml is the
// pieces joined.
void writeProjectHtml(WorkingStore& store, const std::vector<ExportModule>& modules, const Options& options,
                      bool headings, const std::function<void(const QString&)>& write);

// The commands "Modul" and "Projekt" of the menu HTML: the HTML to the
// clipboard, one footer question at most. A module text file that cannot be
// read is reported and nothing reaches the clipboard.
void exportModuleHtml(WorkingStore& store, int moduleNumber, const ExportContext& context);
void exportProjectHtml(WorkingStore& store, const std::vector<ExportModule>& modules, const ExportContext& context);

}  // namespace lumo
