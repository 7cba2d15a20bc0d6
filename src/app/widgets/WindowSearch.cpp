#include "app/widgets/WindowSearch.h"

#include <QLineEdit>

#include "app/widgets/CommandBar.h"
#include "app/widgets/HitPanel.h"
#include "app/widgets/Trees.h"
#include "app/widgets/WorkProgress.h"
#include "base/AppState.h"
#include "base/Ui.h"
#include "model/WorkingStore.h"
#include "navigate/CheckHits.h"
#include "navigate/TextSearch.h"
#include "view/CodeWindow.h"
#include "view/widgets/KeyedTree.h"

namespace lumo {

namespace {

Ui& ui() { return *appState().ui; }

}  // namespace

WindowSearch::WindowSearch(CodeWindow& window, Trees& trees, CommandBar& commands, HitPanel& hits,
                           WorkProgress& progress, std::function<bool()> codeShown, JumpRecorder recordJump)
    : window_(window), trees_(trees), commands_(commands), hits_(hits), progress_(progress),
      codeShown_(std::move(codeShown)), recordJump_(std::move(recordJump)) {}

bool WindowSearch::run(Command command) {
    switch (command) {
    case Command::Search: search(false); return true;
    case Command::SearchFromPosition: search(true); return true;
    case Command::AllHits: allHits(); return true;
    case Command::Check: check(); return true;
    case Command::ToggleProjectSearch:
    case Command::ToggleWholeWord: toggleSwitch(command); return true;
    case Command::SelectionToSearch: selectionToSearch(); return true;
    default: return false;
    }
}

void WindowSearch::hitChosen(const SearchHit& hit) {
    if (codeShown_() && hit.module < trees_.state().moduleCount) recordJump_([&] { goToHit(window_, hit); });
}

SearchSwitches WindowSearch::switches() const {
    return SearchSwitches{commands_.checked(Command::ToggleProjectSearch), commands_.checked(Command::ToggleWholeWord)};
}

void WindowSearch::search(bool fromPosition) {
    WorkProgress::Scope work(progress_);
    QLineEdit* searchBox = commands_.searchBox();
    QString text = searchBox->text();
    const SearchSwitches on = switches();
    recordJump_([&] {
        if (fromPosition)
            searchFromPositionCommand(window_, text, on, ui());
        else
            searchCommand(window_, text, on, ui());
    });
    if (text != searchBox->text()) searchBox->setText(text);
}

void WindowSearch::allHits() {
    if (!codeShown_()) return;
    QLineEdit* searchBox = commands_.searchBox();
    QString text = searchBox->text();
    const SearchSwitches on = switches();
    std::vector<SearchHit> hits;
    {
        WorkProgress::Scope work(progress_);
        hits = allHitsCommand(window_, text, on, ui());
        if (progress_.stopped()) return;  // the list shown before stays
    }
    if (text != searchBox->text()) searchBox->setText(text);
    if (hits.empty()) {
        // A list of another text would read as the answer to this one.
        if (!text.isEmpty() && !window_.zoomOn()) hits_.clearHits();
        return;
    }
    hits_.showHits(text, std::move(hits),
                   [this](int module) { return trees_.projectTree()->nodeText(moduleKey(module + 1)); });
}

void WindowSearch::check() {
    if (!codeShown_()) return;
    std::vector<SearchHit> hits;
    {
        WorkProgress::Scope work(progress_);
        hits = checkCommand(window_, WorkingStore::instance(), ui());
        if (progress_.stopped()) return;
    }
    if (hits.empty()) return;
    hits_.showHits(QStringLiteral("Prüfen"), std::move(hits),
                   [this](int module) { return trees_.projectTree()->nodeText(moduleKey(module + 1)); });
}

void WindowSearch::toggleSwitch(Command command) { commands_.setChecked(command, !commands_.checked(command)); }

void WindowSearch::selectionToSearch() {
    if (const std::optional<QString> text = selectionForSearch(window_)) commands_.searchBox()->setText(*text);
}

}  // namespace lumo
