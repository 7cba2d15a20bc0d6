#pragma once
// The window as the navigate/ layer sees it (CodeWindow): the code views of
// the code area, the status panels, the project tree's highlight, the zoom
// and the focus. What only the window or the navigation part can answer
// (showing a module lays the window out; the caret's place is tracked by the
// navigation) it asks through the hooks the window sets.
#include <functional>

#include "view/CodeWindow.h"

class QWidget;

namespace lumo {

class CodeArea;
class CommandBar;
class StatusPanels;
class Trees;
class WorkProgress;

class CodeWindowSite : public CodeWindow {
public:
    // Choosers at the caret open over chooserParent.
    CodeWindowSite(CodeArea& code, Trees& trees, StatusPanels& panels, CommandBar& commands, WorkProgress& progress,
                   QWidget* chooserParent);

    std::function<bool()> codeShown;                // a project's code is shown
    std::function<void(int index)> showModuleHook;  // the window shows the view of module index
    std::function<void()> caretLocation;            // the panels and the tree follow the caret
    std::function<void()> followShownCode;          // the project tree reveals the code shown

    int currentModule() const override;
    int moduleCount() const override;
    TextView* codeView(int index) override;
    QString moduleText(int index) override;
    std::optional<QByteArray> storedModuleText(int index) override;
    Progress& progress() override;
    void showModule(int index) override { showModuleHook(index); }
    QString panelText(StatusPanel panel) const override;
    void setPanelText(StatusPanel panel, const QString& text) override;
    void highlightModuleNode() override;
    void showCaretLocation() override { caretLocation(); }
    void setHistoryEnabled(bool back, bool next) override;
    bool zoomOn() const override;
    void focusVisibleView() override;
    void refreshZoomAndFocus() override;
    std::optional<int> chooseAtCaret(const QString& title, const QStringList& entries) override;

private:
    CodeArea& code_;
    Trees& trees_;
    StatusPanels& panels_;
    CommandBar& commands_;
    WorkProgress& progress_;
    QWidget* chooserParent_;
};

}  // namespace lumo
