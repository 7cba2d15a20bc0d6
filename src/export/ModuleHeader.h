#pragma once
// The header block that introduces every module of a project export (HTML
// and RTF), and the modules of an export as the project tree names them.
#include <vector>

#include <QString>

namespace lumo {

class NodeList;

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

}  // namespace lumo
