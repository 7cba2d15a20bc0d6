#include "app/widgets/CodeWindowSite.h"

#include "app/widgets/CodeArea.h"
#include "app/widgets/CommandBar.h"
#include "app/widgets/StatusPanels.h"
#include "app/widgets/Trees.h"
#include "app/widgets/WorkProgress.h"
#include "view/widgets/ChoiceList.h"
#include "view/widgets/CodeView.h"

namespace lumo {

CodeWindowSite::CodeWindowSite(CodeArea& code, Trees& trees, StatusPanels& panels, CommandBar& commands,
                               WorkProgress& progress, QWidget* chooserParent)
    : code_(code), trees_(trees), panels_(panels), commands_(commands), progress_(progress),
      chooserParent_(chooserParent) {}

int CodeWindowSite::currentModule() const { return code_.current(); }

int CodeWindowSite::moduleCount() const { return codeShown() ? trees_.state().moduleCount : 0; }

TextView* CodeWindowSite::codeView(int index) { return code_.view(index); }

QString CodeWindowSite::moduleText(int index) { return code_.text(index); }

std::optional<QByteArray> CodeWindowSite::storedModuleText(int index) { return code_.storedText(index); }

Progress& CodeWindowSite::progress() { return progress_; }

QString CodeWindowSite::panelText(StatusPanel panel) const { return panels_.text(panel); }

void CodeWindowSite::setPanelText(StatusPanel panel, const QString& text) { panels_.setText(panel, text); }

void CodeWindowSite::highlightModuleNode() {
    trees_.highlightModule(code_.current());
    followShownCode();
}

void CodeWindowSite::setHistoryEnabled(bool back, bool next) {
    panels_.setHistoryEnabled(back, next);
    commands_.setEnabled(Command::RoutineBack, back);
    commands_.setEnabled(Command::RoutineNext, next);
}

bool CodeWindowSite::zoomOn() const { return code_.zoomOn(); }

void CodeWindowSite::focusVisibleView() { code_.visibleView()->setFocus(); }

void CodeWindowSite::refreshZoomAndFocus() { code_.refreshZoomAndFocus(); }

std::optional<int> CodeWindowSite::chooseAtCaret(const QString& title, const QStringList& entries) {
    CodeView* view = code_.visibleView();
    ChoiceList chooser(chooserParent_, title, entries);
    return chooser.chooseAt(view->viewport()->mapToGlobal(view->cursorRect().bottomLeft()));
}

}  // namespace lumo
