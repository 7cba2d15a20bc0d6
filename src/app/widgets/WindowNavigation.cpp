#include "app/widgets/WindowNavigation.h"

#include <algorithm>

#include <QLabel>
#include <QToolTip>

#include "app/widgets/CodeArea.h"
#include "app/widgets/CommandBar.h"
#include "app/widgets/HitPanel.h"
#include "app/widgets/StatusPanels.h"
#include "app/widgets/Trees.h"
#include "base/AppState.h"
#include "base/Ui.h"
#include "model/WorkingStore.h"
#include "navigate/CallSites.h"
#include "navigate/Callers.h"
#include "navigate/Definition.h"
#include "navigate/NameUses.h"
#include "view/CodeWindow.h"
#include "view/widgets/CodeView.h"
#include "view/widgets/KeyedTree.h"

namespace lumo {

namespace {

Ui& ui() { return *appState().ui; }

WorkingStore& store() { return WorkingStore::instance(); }

QString escaped(const QStringList& lines) {
    QStringList out;
    for (const QString& l : lines) out << l.toHtmlEscaped();
    return out.join(u'\n');
}

}  // namespace

WindowNavigation::WindowNavigation(CodeWindow& window, CodeArea& code, Trees& trees, StatusPanels& panels,
                                   CommandBar& commands, HitPanel& hits, std::function<bool()> codeShown)
    : window_(window), code_(code), trees_(trees), panels_(panels), commands_(commands), hits_(hits),
      codeShown_(std::move(codeShown)) {}

bool WindowNavigation::run(Command command, int index) {
    switch (command) {
    case Command::Definition: definitionCommand(); return true;
    case Command::Callers: callersCommand(); return true;
    case Command::AllReferences: allReferencesCommand(); return true;
    case Command::CloseCallers: closeCallerResult(); return true;
    case Command::RoutineBack:
    case Command::RoutineNext: statusPanelClick(StatusPanel(index)); return true;
    default: return false;
    }
}

void WindowNavigation::reset() {
    window_.setHistoryEnabled(false, false);
    caret_.reset();
    history_.reset();
    markedModule_ = -1;
    marks_.clear();
}

// ---------------------------------------------------------------------------
// Jumps from the trees

void WindowNavigation::nodeSelection(QTreeWidgetItem* item) {
    ModuleTreeState& state = trees_.state();
    if (state.ignoreNextNodeClick) {
        state.ignoreNextNodeClick = false;
        return;
    }
    if (!item || !codeShown_()) return;
    const QString key = KeyedTree::keyOf(item);
    try {
        if (const auto site = callSiteOfKey(key); site && item->parent()) {
            showCallSite(item, site->first, site->second);
        } else if (!item->parent()) {
            const int n = keyNumber(key);
            if (n - 1 != code_.current()) window_.showModule(n - 1);
            panels_.setText(PanelModule, item->text(0));
            trees_.highlightModule(code_.current());
            panels_.setText(PanelRoutine, QString());
            code_.visibleView()->setSelStart(0);
        } else {
            const int n = keyNumber(KeyedTree::keyOf(item->parent()));
            if (n - 1 != code_.current()) window_.showModule(n - 1);
            goToRoutine(*code_.visibleView(), store(), keyNumber(key));
            panels_.setText(PanelModule, item->parent()->text(0));
            trees_.highlightModule(code_.current());
            panels_.setText(PanelRoutine, item->text(0));
            followShownCode();  // a caller tree's node: the project tree follows
            pushHistory(window_, history_);
        }
    } catch (const std::exception& e) {
        ui().message(QString::fromUtf8(e.what()));
    }
    code_.refreshZoomAndFocus();
}

void WindowNavigation::showCallSite(QTreeWidgetItem* item, int moduleNumber, int line) {
    if (moduleNumber < 1 || moduleNumber > trees_.state().moduleCount) return;
    const HistoryMark left = caretMark(window_, history_);
    if (moduleNumber - 1 != code_.current()) window_.showModule(moduleNumber - 1);
    goToLine(*code_.visibleView(), line);
    try {
        selectNameOnLine(*code_.visibleView(), projectScopeOf(store()), moduleNumber, line, callersName_);
    } catch (const std::exception&) {
        // The line's first word stays selected.
    }
    const QTreeWidgetItem* moduleNode = item->parent()->parent();
    panels_.setText(PanelModule,
                    moduleNode ? moduleNode->text(0) : trees_.projectTree()->nodeText(moduleKey(moduleNumber)));
    trees_.highlightModule(code_.current());
    panels_.setText(PanelRoutine, item->parent()->text(0));
    followShownCode();
    lumo::recordJump(window_, history_, left);
}

// ---------------------------------------------------------------------------
// Definition and callers

void WindowNavigation::definitionCommand() {
    if (!codeShown_()) return;
    lumo::definitionCommand(window_, history_, store(), ui());
}

void WindowNavigation::callersCommand() {
    if (!codeShown_()) return;
    const QString name = panels_.text(PanelRoutine);
    switch (lumo::callersCommand(*trees_.callerTree(), store(), name, code_.current(), trees_.state().moduleCount,
                                 ui(), &callersRoutine_)) {
    case CallersOutcome::Stopped: return;
    case CallersOutcome::NoneFound: trees_.showNoCallers(); return;
    case CallersOutcome::Found:
        callersName_ = name;
        offerCallSites();
        trees_.showCallerResult(name);
        commands_.setEnabled(Command::CloseCallers, true);
        return;
    }
}

void WindowNavigation::allReferencesCommand() {
    if (!codeShown_()) return;
    const std::optional<ReferenceList> found = lumo::allReferencesCommand(window_, store(), ui());
    if (!found) return;
    hits_.showHits(found->name, found->hits,
                   [this](int index) { return trees_.projectTree()->nodeText(moduleKey(index + 1)); },
                   QStringLiteral("Verweise"));
    window_.focusVisibleView();
}

void WindowNavigation::offerCallSites() {
    // Found when a caller is first opened: all at once would double the
    // caller search on a large project, for lines the user may never open.
    for (QTreeWidgetItem* node : trees_.callerTree()->nodesInOrder())
        if (node->parent()) node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
}

void WindowNavigation::callSitesOpened(QTreeWidgetItem* node) {
    if (!node->parent() || node->parent()->parent() || node->childCount() > 0) return;
    KeyedTree* tree = trees_.callerTree();
    const int module = keyNumber(KeyedTree::keyOf(node->parent()));
    tree->setRedraw(false);
    try {
        // The other callers of the module get theirs too, from the one reading.
        addCallSiteNodes(*tree, store(), callersRoutine_, module);
    } catch (const std::exception& e) {
        ui().message(QString::fromUtf8(e.what()), {}, MsgIcon::Warning);
    }
    tree->setRedraw(true);
    if (node->childCount() == 0) node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void WindowNavigation::closeCallerResult() {
    // The project tree comes back only where it was the tree shown; after a
    // refresh the application tree stands in its place.
    trees_.closeCallerResult(codeShown_());
    commands_.setEnabled(Command::CloseCallers, false);
}

// ---------------------------------------------------------------------------
// History and the caret

void WindowNavigation::statusPanelClick(StatusPanel panel) {
    if (!codeShown_()) return;
    historyPanelClick(window_, history_, panel);
}

void WindowNavigation::recordJump(const std::function<void()>& jump) {
    if (!codeShown_() || !code_.visibleView()) {
        jump();
        return;
    }
    const HistoryMark left = caretMark(window_, history_);
    jump();
    if (code_.visibleView() && caretMark(window_, history_).place != left.place) lumo::recordJump(window_, history_, left);
}

void WindowNavigation::showRoutineAtLine(int line, int moduleNumber) {
    ++routineQueries_;
    try {
        panels_.setText(PanelRoutine, routineNameAtLine(store(), line, moduleNumber));
    } catch (const std::exception&) {
        panels_.setText(PanelRoutine, QString());
    }
}

void WindowNavigation::followShownCode() {
    const int module = code_.current();
    CodeView* view = code_.visibleView();
    if (!view) return;
    int routine = 0;
    try {
        if (const auto hit = routineAtLine(store(), view->lineOfPosition(view->selStart()) + 1, module + 1))
            routine = hit->number;
    } catch (const std::exception&) {
        // Without the store the module's node is still right.
    }
    trees_.revealShownCode(module, routine);
}

void WindowNavigation::trackCaret(int index) {
    CodeView* view = code_.view(index);
    if (!view) return;
    const auto line = caret_.changedLine(*view, codeShown_());
    if (!line) return;
    // One question answers both the panel and the tree.
    ++routineQueries_;
    std::optional<RoutineHit> hit;
    try {
        hit = routineAtLine(store(), *line + 1, index + 1);
    } catch (const std::exception&) {
    }
    panels_.setText(PanelRoutine, hit ? hit->name : QString());
    if (index == code_.current()) trees_.revealShownCode(index, hit ? hit->number : 0);
}

QString WindowNavigation::hoverText(int index, int position) {
    const CodeView* view = code_.view(index);
    if (!view || !codeShown_() || position < 0 || position > view->length()) return {};
    const int line = view->lineOfPosition(position);
    try {
        const std::optional<HoverInfo> info =
            hoverAt(projectScopeOf(store()), index + 1, line + 1, position - view->lineStart(line) + 1);
        if (!info) return {};
        QString html = QStringLiteral("<p style='white-space:pre'><b>%1</b></p>").arg(info->place.toHtmlEscaped());
        if (!info->comment.isEmpty())
            html += QStringLiteral("<pre style='color:#006400'>%1</pre>").arg(escaped(info->comment));
        if (!info->declaration.isEmpty()) html += QStringLiteral("<pre>%1</pre>").arg(escaped(info->declaration));
        return html;
    } catch (const std::exception&) {
        return {};
    }
}

void WindowNavigation::hover(int index, int position, const QPoint& globalPos) {
    const QString text = hoverText(index, position);
    if (text.isEmpty()) QToolTip::hideText();
    else QToolTip::showText(globalPos, text, code_.view(index));
}

void WindowNavigation::markOccurrences(int index) {
    CodeView* view = code_.view(index);
    if (!view || index != code_.current() || !codeShown_()) return;
    const int pos = view->selStart();
    // Still on one of the uses marked: they are the same.
    if (markedModule_ == index &&
        std::any_of(marks_.begin(), marks_.end(), [pos](const auto& m) { return pos >= m.first && pos <= m.first + m.second; }))
        return;
    if (markedModule_ >= 0 && markedModule_ != index)
        if (CodeView* before = code_.view(markedModule_)) before->setMarks({});
    ++occurrenceQueries_;
    marks_.clear();
    markedModule_ = index;
    try {
        const CaretPlace at = caretPlace(*view);
        NameResolver resolver(projectScopeOf(store()));
        for (const NameReference& r : occurrencesAt(resolver, index + 1, at.line, at.column))
            marks_.push_back({view->lineStart(r.line - 1) + r.column - 1, r.length});
    } catch (const std::exception&) {
        marks_.clear();
    }
    view->setMarks(marks_);
}

void WindowNavigation::showCaretLocation() {
    const int module = code_.current();
    const int line = caret_.take(*code_.visibleView());
    showRoutineAtLine(line + 1, module + 1);
    panels_.setText(PanelModule, trees_.projectTree()->nodeText(moduleKey(module + 1)));
    trees_.highlightModule(module);
    followShownCode();
}

}  // namespace lumo
