#include "export/ExportCommands.h"

#include <algorithm>

#include "base/Ui.h"
#include "export/ExportContext.h"
#include "export/Html.h"
#include "model/Codes.h"
#include "model/TagCode.h"
#include "model/Tags.h"
#include "model/WorkingStore.h"
#include "view/ProjectTree.h"
#include "view/TextView.h"
#include "view/NodeList.h"

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

void exportTextAsHtml(const QString& code, const ExportContext& context) {
    // The tagger reads lines ended by CR LF; text copied here mostly ends its
    // lines with LF alone, and a comment would then run to the end of the text.
    QString lines = code;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    QString html = tagFragment(lines, context.options);
    if (!convertToHtml(html, context)) return;
    htmlToClipboard(html, context);
}

void htmlOfClipboard(const ExportContext& context) {
    const QString code = context.ui.clipboardText();
    if (code.isEmpty()) {
        context.ui.message(QStringLiteral("Kein Text in der Zwischenablage"), {}, MsgIcon::Information);
        return;
    }
    exportTextAsHtml(code, context);
}

void htmlOfSelection(const TextView& view, const ExportContext& context) {
    const QString code = view.selText();
    if (code.isEmpty()) {
        context.ui.message(QStringLiteral("Bitte markieren Sie den gewünschten Text"), {}, MsgIcon::Warning);
        return;
    }
    exportTextAsHtml(code, context);
}

void htmlOfWholeView(TextView& view, const ExportContext& context) {
    const int caret = view.selStart();
    view.setSelStart(0);
    view.setSelLength(view.length());
    const QString code = view.selText();
    view.setSelStart(caret);
    if (code.isEmpty()) return;
    exportTextAsHtml(code, context);
}

QString moduleHtml(WorkingStore& store, int moduleNumber, const Options& options) {
    QString text = store.readModuleText(moduleNumber);
    taggedToHtml(text, options);
    return text;
}

void writeProjectHtml(WorkingStore& store, const std::vector<ExportModule>& modules, const Options& options,
                      bool headings, const std::function<void(const QString&)>& write) {
    for (size_t i = 0; i < modules.size(); ++i) {
        QString text = store.readModuleText(int(i) + 1);
        if (headings) text = withModuleHeader(text, modules[i], TypeTexts::Html);
        taggedToHtml(text, options);
        write(text);
    }
}

QString projectHtml(WorkingStore& store, const std::vector<ExportModule>& modules, const Options& options,
                    bool headings) {
    QString out;
    writeProjectHtml(store, modules, options, headings, [&out](const QString& piece) { out += piece; });
    return out;
}

namespace {

// The HTML a command made, or nothing with the failure shown.
template <class Make>
void exportStoredHtml(const ExportContext& context, Make make) {
    QString html;
    {
        OperationStatus status(context, QStringLiteral("Erzeuge Html Code"));
        try {
            html = make();
        } catch (const std::exception& e) {
            context.ui.message(QString::fromStdString(e.what()));
            return;
        }
    }
    htmlToClipboard(html, context);
}

}  // namespace

void exportModuleHtml(WorkingStore& store, int moduleNumber, const ExportContext& context) {
    exportStoredHtml(context, [&] { return moduleHtml(store, moduleNumber, context.options); });
}

void exportProjectHtml(WorkingStore& store, const std::vector<ExportModule>& modules, const ExportContext& context) {
    exportStoredHtml(context,
                     [&] { return projectHtml(store, modules, context.options, context.moduleHeadings); });
}

}  // namespace lumo
