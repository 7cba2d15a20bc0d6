#pragma once
// The main window as navigation sees it, over plain text views: one view
// per module, the status panels as texts, and a record of what got the
// focus and which module was shown or highlighted.
#include <deque>

#include <QStringList>

#include "navigate/PlainTextView.h"
#include "view/CodeWindow.h"

namespace lumo::test {

class FakeCodeWindow : public CodeWindow {
public:
    std::deque<PlainTextView> views;
    int current = 0;
    QString panels[6];
    bool zoom = false;
    bool backEnabled = false, nextEnabled = false;
    QStringList events;  // "show 2", "highlight 2", "focus", "zoomfocus", "caret", "choose"
    QStringList offered;           // the entries of the last choice
    std::optional<int> choice;     // the user's answer to it

    explicit FakeCodeWindow(const QStringList& texts = {}) {
        for (const QString& t : texts) views.emplace_back(t);
    }

    int currentModule() const override { return current; }
    int moduleCount() const override { return int(views.size()); }
    TextView* codeView(int index) override {
        return index >= 0 && index < int(views.size()) ? &views[size_t(index)] : nullptr;
    }
    void showModule(int index) override {
        if (index < 0 || index >= int(views.size())) return;
        current = index;
        events << QStringLiteral("show %1").arg(index);
    }
    QString panelText(StatusPanel panel) const override { return panels[panel]; }
    void setPanelText(StatusPanel panel, const QString& text) override { panels[panel] = text; }
    void highlightModuleNode() override { events << QStringLiteral("highlight %1").arg(current); }
    void showCaretLocation() override { events << QStringLiteral("caret"); }
    void setHistoryEnabled(bool back, bool next) override {
        backEnabled = back;
        nextEnabled = next;
    }
    bool zoomOn() const override { return zoom; }
    void focusVisibleView() override { events << QStringLiteral("focus"); }
    void refreshZoomAndFocus() override { events << (zoom ? QStringLiteral("zoomfocus") : QStringLiteral("focus")); }
    std::optional<int> chooseAtCaret(const QString&, const QStringList& entries) override {
        events << QStringLiteral("choose");
        offered = entries;
        return choice;
    }

    PlainTextView& view(int i) { return views[size_t(i)]; }
    PlainTextView& shown() { return views[size_t(current)]; }
};

}  // namespace lumo::test
