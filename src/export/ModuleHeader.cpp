#include "export/ModuleHeader.h"

#include <algorithm>

#include "model/Codes.h"
#include "model/TagCode.h"
#include "model/Tags.h"
#include "view/NodeList.h"
#include "view/ProjectTree.h"

namespace lumo {

namespace {

struct TypeTextRow {
    int moduleType;
    const char* html;
    const char* rtf;
};

// The type texts of the header blocks, by module type.
constexpr TypeTextRow kTypeTexts[] = {
    {ModUserForm, "Typ = Userform", "Typ = Userform"},
    {ModStandard, "Typ = Allgemeines Modul", "Typ = Allgemeines Modul"},
    {ModClass, "Typ = Klassenmodul", "Typ = Klassenmodul"},
    {ModDocument, "Typ = Document", "Typ = Element der Mappe(Sheet, Workbook, ...)"},
};

const QString kStars = QStringLiteral("' **************************************************************");

}  // namespace

QString moduleTypeText(const QString& imageKey, TypeTexts texts) {
    for (const TypeTextRow& row : kTypeTexts)
        if (imageKey == moduleImageKey(row.moduleType))
            return QString::fromUtf8(texts == TypeTexts::Html ? row.html : row.rtf);
    return {};
}

QString moduleHeaderBlock(const QString& name, const QString& typeText) {
    const Tags& t = tags();
    QString block = t.lineOpen + t.comment + kStars + QStringLiteral("\r\n'  Modul:  xxxxx  yyyyy\r\n") + kStars +
                    t.close + t.lineClose;
    // The name goes into tagged text: its marker characters are stored
    // escaped as the source's are, so that a name holding tag text (a
    // hand-edited store, an odd VB_Name) shows as it is and colours nothing.
    QString storedName = name;
    storedName.replace(QChar(kMarkerChar), QStringLiteral("\u0178?"));
    block.replace(QStringLiteral("xxxxx"), storedName);
    block.replace(QStringLiteral("yyyyy"), typeText);
    return block;
}

QString withModuleHeader(const QString& tagged, const ExportModule& module, TypeTexts texts) {
    return QStringLiteral("\r\n\r\n") + moduleHeaderBlock(module.name, moduleTypeText(module.imageKey, texts)) +
           QStringLiteral("\r\n\r\n") + tagged;
}

std::vector<ExportModule> exportModules(const NodeList& tree, int moduleCount) {
    std::vector<ExportModule> out;
    out.reserve(size_t(std::max(0, moduleCount)));
    for (int n = 1; n <= moduleCount; ++n) {
        const ListedNode* node = tree.find(moduleKey(n));
        out.push_back(node ? ExportModule{node->text, node->imageKey} : ExportModule{});
    }
    return out;
}

}  // namespace lumo
