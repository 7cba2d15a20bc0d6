#pragma once
// What the navigation and search commands ask of the main window: its code
// views (one per module, exactly one visible), the status panels, the tree
// highlight, the zoom switch and the focus. The window implements it; tests
// use a fake over plain text views, so the commands run without widgets.
#include <optional>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "base/Progress.h"
#include "base/StatusPanel.h"
#include "view/TextView.h"

namespace lumo {

class CodeWindow {
public:
    virtual ~CodeWindow() = default;

    virtual int currentModule() const = 0;  // 0-based index of the visible code view
    virtual int moduleCount() const = 0;
    virtual TextView* codeView(int index) = 0;  // nullptr outside 0 .. moduleCount - 1
    TextView& visibleView() { return *codeView(currentModule()); }
    // What codeView(index)->text() gives, without making a view that is made
    // only when first shown; "" outside 0 .. moduleCount - 1.
    virtual QString moduleText(int index) {
        const TextView* view = codeView(index);
        return view ? view->text() : QString();
    }
    // The stored tagged text (UTF-8) of a module whose view is not made yet,
    // for a search that need not make its text; nothing where the view is
    // made or the text cannot be read (moduleText() tells then).
    virtual std::optional<QByteArray> storedModuleText(int) { return std::nullopt; }
    // Where a search over every module tells how far it is and learns whether it was stopped.
    virtual Progress& progress() { return noProgress(); }
    // Makes the view of module index `index` the visible one.
    virtual void showModule(int index) = 0;

    virtual QString panelText(StatusPanel panel) const = 0;
    virtual void setPanelText(StatusPanel panel, const QString& text) = 0;
    // Marks the node of the visible module in the project tree.
    virtual void highlightModuleNode() = 0;
    // Both status panels and the highlighted module follow the caret.
    virtual void showCaretLocation() = 0;
    // Back and Next, on the status panels and their menu items alike.
    virtual void setHistoryEnabled(bool back, bool next) = 0;

    virtual bool zoomOn() const = 0;
    virtual void focusVisibleView() = 0;
    // With the zoom view on: it shows the routine of the caret's line and takes
    // the focus; otherwise the visible code view takes it.
    virtual void refreshZoomAndFocus() = 0;
    // The user picks one entry of a short list shown at the caret: its index,
    // or nothing when the list was closed without a choice.
    virtual std::optional<int> chooseAtCaret(const QString& title, const QStringList& entries) = 0;
};

}  // namespace lumo
