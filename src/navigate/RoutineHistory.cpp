#include "navigate/RoutineHistory.h"

#include "navigate/RoutineLocation.h"
#include "view/CodeWindow.h"
#include "view/TextView.h"

namespace lumo {

namespace {
const QChar kBar = u'|';
}

QString RoutineHistory::placeText(int module, int position) {
    return QString::number(module) + kBar + QString::number(position);
}

QString RoutineHistory::labelText(const QString& moduleName, const QString& routineName) {
    return moduleName + kBar + routineName;
}

void RoutineHistory::push(const QString& place, const QString& label) {
    int slot;
    if (current_ == kLastSlot) {
        // Full: the oldest place goes, every other moves down one slot.
        for (int i = 2; i <= kLastSlot; ++i) {
            places_[size_t(i - 1)] = places_[size_t(i)];
            labels_[size_t(i - 1)] = labels_[size_t(i)];
        }
        slot = kLastSlot;
    } else {
        slot = current_ + 1;
    }
    places_[size_t(slot)] = place;
    labels_[size_t(slot)] = label;
    current_ = newest_ = slot;
}

std::optional<HistoryPlace> RoutineHistory::back() {
    if (current_ <= 1) return std::nullopt;
    --current_;
    return at(current_);
}

std::optional<HistoryPlace> RoutineHistory::next() {
    if (current_ >= newest_) return std::nullopt;
    ++current_;
    return at(current_);
}

std::optional<HistoryPlace> RoutineHistory::currentPlace() const {
    if (current_ <= 0) return std::nullopt;
    return at(current_);
}

void RoutineHistory::rewriteCurrentPosition(int position) {
    if (current_ <= 0) return;
    QString& place = places_[size_t(current_)];
    const qsizetype bar = place.indexOf(kBar);
    place = (bar < 0 ? place : place.left(bar)) + kBar + QString::number(position);
}

// The module index is the number before the first "|", the position the
// number after the last; the label's module name is the part before its
// first "|", the routine name the part after its last.
HistoryPlace RoutineHistory::at(int slot) const {
    const QString& place = places_[size_t(slot)];
    const QString& label = labels_[size_t(slot)];
    HistoryPlace p;
    p.module = place.section(kBar, 0, 0).toInt();
    p.position = place.section(kBar, -1).toInt();
    p.moduleName = label.section(kBar, 0, 0);
    p.routineName = label.section(kBar, -1);
    return p;
}

void pushHistory(CodeWindow& window, RoutineHistory& history) {
    history.push(RoutineHistory::placeText(window.currentModule(), window.visibleView().selStart()),
                 RoutineHistory::labelText(window.panelText(PanelModule), window.panelText(PanelRoutine)));
    window.setHistoryEnabled(history.canGoBack(), history.canGoNext());
}

HistoryMark caretMark(CodeWindow& window, const RoutineHistory& history) {
    TextView& view = window.visibleView();
    HistoryMark mark{RoutineHistory::placeText(window.currentModule(), view.selStart()),
                     RoutineHistory::labelText(window.panelText(PanelModule), window.panelText(PanelRoutine))};
    if (const auto place = history.currentPlace(); place && place->module == window.currentModule())
        mark.onCurrentPlace = view.lineOfPosition(place->position) == view.lineOfPosition(view.selStart());
    return mark;
}

void recordJump(CodeWindow& window, RoutineHistory& history, const HistoryMark& left) {
    if (!left.onCurrentPlace) history.push(left.place, left.label);
    const HistoryMark reached = caretMark(window, history);
    if (reached.place != left.place) history.push(reached.place, reached.label);
    window.setHistoryEnabled(history.canGoBack(), history.canGoNext());
}

void historyPanelClick(CodeWindow& window, RoutineHistory& history, StatusPanel panel) {
    if (panel == PanelBack || panel == PanelNext) {
        const std::optional<HistoryPlace> place = panel == PanelBack ? history.back() : history.next();
        if (!place) return;
        if (place->module != window.currentModule()) window.showModule(place->module);
        TextView& view = window.visibleView();
        view.setSelStart(place->position);
        window.setPanelText(PanelModule, place->moduleName);
        window.highlightModuleNode();
        window.setPanelText(PanelRoutine, place->routineName);
        markLineStart(view);
        window.setHistoryEnabled(history.canGoBack(), history.canGoNext());
    }
    window.refreshZoomAndFocus();
}

}  // namespace lumo
