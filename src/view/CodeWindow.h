#pragma once
// What the navigation and search commands ask of the main window: its code
// views (one per module, exactly one visible), the status panels, the tree
// highlight, the zoom switch and the focus. The window implements it; tests
// use a fake over plain text views, so the commands run without widgets.
#include <optional>

#include <QString>
#include <QStringList>

#include "base/StatusPanel.h"

namespace lumo {

class TextView;

class CodeWindow {
public:
    virtual ~CodeWindow() = default;

    virtual int currentModule() const = 0;  // 0-based index of the visible code view
    virtual int moduleCount() const = 0;
    virtual TextView* codeView(int index) = 0;  // nullptr outside 0 .. moduleCount - 1
    TextView& visibleView() { return *codeView(currentModule()); }
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
