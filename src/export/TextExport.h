#pragma once
// Code as plain text on the clipboard, and the rich copies that leave the
// code view's own formats (rich and plain text) on it.
#include <functional>

#include <QString>

#include "base/Options.h"

namespace lumo {

class TextView;
class Ui;
struct ExportContext;

// The text to the emptied clipboard; with meld, "Text in Zwischenablage".
void textToClipboard(const QString& text, const ExportContext& context);
// The view's selection; "Bitte markieren Sie den gewünschten Text" when nothing is selected.
void textOfSelection(const TextView& view, const ExportContext& context);
// The whole text of a module's view; nothing when it is empty.
void textOfModule(const TextView& view, const ExportContext& context);

// The whole view through the control's own copy: the caret is kept, the
// clipboard emptied first, the whole text copied, the caret put back (the
// selection is gone).
void copyWholeView(TextView& view, Ui& ui, const std::function<void()>& controlCopy);
// "Kopieren Modul": refused while the zoom view is on.
void copyModule(TextView& view, bool zoomOn, Ui& ui, const std::function<void()>& controlCopy);

}  // namespace lumo
