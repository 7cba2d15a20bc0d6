#include "export/HtmlExport.h"

#include <algorithm>

#include "base/Ui.h"
#include "export/ExportContext.h"
#include "export/Html.h"
#include "model/TagCode.h"
#include "model/WorkingStore.h"
#include "view/TextView.h"

namespace lumo {

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
                      bool headings, const std::function<void(const QString&)>& write, Progress& progress) {
    for (size_t i = 0; i < modules.size(); ++i) {
        if (!progress.step(int(i) + 1, int(modules.size()), modules[i].name)) throw WorkStopped();
        QString text = store.readModuleText(int(i) + 1);
        if (headings) text = withModuleHeader(text, modules[i], TypeTexts::Html);
        taggedToHtml(text, options);
        write(text);
    }
}

QString projectHtml(WorkingStore& store, const std::vector<ExportModule>& modules, const Options& options,
                    bool headings, Progress& progress) {
    QString out;
    writeProjectHtml(store, modules, options, headings, [&out](const QString& piece) { out += piece; }, progress);
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
        } catch (const WorkStopped&) {
            return;
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
                     [&] { return projectHtml(store, modules, context.options, context.moduleHeadings, *context.progress); });
}

}  // namespace lumo
