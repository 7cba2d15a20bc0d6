#include "export/TextExport.h"

#include "base/Ui.h"
#include "export/ExportContext.h"
#include "view/TextView.h"

namespace lumo {

void textToClipboard(const QString& text, const ExportContext& context) {
    context.ui.clearClipboard();
    context.ui.setClipboardText(text);
    if (context.options.confirmClipboard) context.ui.message(QStringLiteral("Text in Zwischenablage"));
}

void textOfSelection(const TextView& view, const ExportContext& context) {
    const QString text = view.selText();
    if (text.isEmpty()) {
        context.ui.message(QStringLiteral("Bitte markieren Sie den gewünschten Text"), {}, MsgIcon::Warning);
        return;
    }
    textToClipboard(text, context);
}

void textOfModule(const TextView& view, const ExportContext& context) {
    const QString text = view.text();
    if (text.isEmpty()) return;
    textToClipboard(text, context);
}

void copyWholeView(TextView& view, Ui& ui, const std::function<void()>& controlCopy) {
    const int caret = view.selStart();
    view.setSelStart(0);
    view.setSelLength(view.length());
    ui.clearClipboard();
    controlCopy();
    view.setSelStart(caret);
}

void copyModule(TextView& view, bool zoomOn, Ui& ui, const std::function<void()>& controlCopy) {
    if (zoomOn) {
        ui.message(QStringLiteral("Steht im Zoom Modus nicht zur Verfügung"), {}, MsgIcon::Information);
        return;
    }
    copyWholeView(view, ui, controlCopy);
}

}  // namespace lumo
