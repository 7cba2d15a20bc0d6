#pragma once
// The places the user jumped to, for going back and forward like a browser.
// A place is "module index|caret position", its label "module name|routine
// name" (the status panels when it was added). Slot 0 is never used, so
// that current 0 means an empty history; at most 30 places exist at a time
// and the oldest is dropped when a 31st comes.
#include <array>
#include <optional>

#include <QString>

#include "base/StatusPanel.h"

namespace lumo {

class CodeWindow;

struct HistoryPlace {
    int module = 0;    // 0-based module index
    int position = 0;  // caret position
    QString moduleName;
    QString routineName;
};

class RoutineHistory {
public:
    static constexpr int kSlots = 31;
    static constexpr int kLastSlot = kSlots - 1;

    // Adds a place after the current one; newer places are abandoned.
    void push(const QString& place, const QString& label);
    // One place back or forward; nothing at the oldest or the newest place.
    std::optional<HistoryPlace> back();
    std::optional<HistoryPlace> next();
    // The place shown now; nothing while the history is empty.
    std::optional<HistoryPlace> currentPlace() const;
    // Keeps the module part of the current place and puts `position` after it.
    void rewriteCurrentPosition(int position);
    // Empty again; the old texts stay in their slots but cannot be reached.
    void reset() { current_ = newest_ = 0; }

    bool canGoBack() const { return current_ > 1; }
    bool canGoNext() const { return current_ < newest_; }
    int current() const { return current_; }
    int newest() const { return newest_; }
    QString place(int slot) const { return valid(slot) ? places_[size_t(slot)] : QString(); }
    QString label(int slot) const { return valid(slot) ? labels_[size_t(slot)] : QString(); }

    static QString placeText(int module, int position);
    static QString labelText(const QString& moduleName, const QString& routineName);

private:
    static bool valid(int slot) { return slot >= 0 && slot < kSlots; }
    HistoryPlace at(int slot) const;

    std::array<QString, kSlots> places_;
    std::array<QString, kSlots> labels_;
    int current_ = 0;
    int newest_ = 0;
};

// Adds the caret's place in the visible view, labelled with the status
// panels, and sets Back and Next after it.
void pushHistory(CodeWindow& window, RoutineHistory& history);

// The caret's place in the visible view with its label, taken before a jump.
struct HistoryMark {
    QString place;
    QString label;
    // On the line of the current place: where Back or Next (which put the
    // caret on the line's first word) or the last jump left the user.
    bool onCurrentPlace = false;
};
HistoryMark caretMark(CodeWindow& window, const RoutineHistory& history);
// After a jump (Definition, a call site, a hit, a search) from `left`: left is
// recorded unless it is on the current place, so that Back returns to where
// the jump was asked for, then the place reached unless it is left itself.
// Newer places are abandoned; Back and Next are set after it.
void recordJump(CodeWindow& window, RoutineHistory& history, const HistoryMark& left);

// A click on status panel `panel`; the menu items Back and Next come here
// with PanelBack and PanelNext. Back at the oldest and Next at the newest place do
// nothing at all; every other click ends with the zoom refreshed or the code
// view focused.
void historyPanelClick(CodeWindow& window, RoutineHistory& history, StatusPanel panel);

}  // namespace lumo
