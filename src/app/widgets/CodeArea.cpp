#include "app/widgets/CodeArea.h"

#include <algorithm>

#include <QMenu>
#include <QTimer>

#include "base/AppState.h"
#include "model/WorkingStore.h"
#include "navigate/RoutineLocation.h"
#include "render/TaggedContent.h"
#include "view/widgets/CodeView.h"

namespace lumo {

CodeArea::CodeArea(QWidget* container, QMenu* zoomPopup) : QObject(container), container_(container) {
    codeViews_.push_back(makeView(0));
    zoomView_ = new CodeView(container_);
    zoomView_->setObjectName(QStringLiteral("rtbZoom"));
    zoomView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(zoomView_, &QWidget::customContextMenuRequested, this,
            [this, zoomPopup](const QPoint& p) { zoomPopup->popup(zoomView_->mapToGlobal(p)); });
    zoomView_->hide();
    colourBlindView_ = new CodeView(container_);
    colourBlindView_->setObjectName(QStringLiteral("rtbFarbeBlind"));
    colourBlindView_->hide();
    zoomView_->setLineNumbersShown(appState().options.showLineNumbers);
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    connect(settle_, &QTimer::timeout, this, [this] { emit caretSettled(current_); });
}

void CodeArea::setLineNumbersShown(bool on) {
    for (CodeView* v : codeViews_)
        if (v) v->setLineNumbersShown(on);
    zoomView_->setLineNumbersShown(on);
}

// The zoom view numbers its lines as the module does: from the routine's first.
void CodeArea::showZoomLineNumbers() {
    const CodeView* view = visibleView();
    zoomView_->setFirstLineNumber(view->lineOfPosition(view->selStart()) + 1);
}

CodeView* CodeArea::makeView(int index) const {
    // Made on first request, which may come through a const look at the area.
    auto* self = const_cast<CodeArea*>(this);
    auto* v = new CodeView(container_);
    v->setObjectName(QStringLiteral("rtbHaupt"));
    v->setProperty("index", index);
    v->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(v, &QWidget::customContextMenuRequested, self, [self, v](const QPoint& p) { emit self->contextMenuRequested(v, p); });
    connect(v, &CodeView::keyReleased, self, [self, index](int) { emit self->caretMayHaveMoved(index); });
    connect(v, &CodeView::mouseReleased, self, [self, index](int button) {
        if (button == 1) emit self->caretMayHaveMoved(index);
    });
    connect(v, &QPlainTextEdit::cursorPositionChanged, self, [self, index] {
        if (index == self->current_ && self->settle_) self->settle_->start();
    });
    connect(v, &CodeView::hoverAt, self,
            [self, index](int pos, const QPoint& global) { emit self->hoverRequested(index, pos, global); });
    connect(v, &CodeView::definitionClicked, self, [self] { emit self->definitionClicked(); });
    v->setLineNumbersShown(appState().options.showLineNumbers);
    v->hide();
    // Where the shown view stands (the zoom view is kept there): filled at its
    // size, the view lays out its text once, not again when it is placed.
    if (zoomView_) v->setGeometry(zoomView_->geometry());
    return v;
}

CodeView* CodeArea::view(int index) const {
    if (index < 0 || index >= count()) return nullptr;
    CodeView*& v = codeViews_[size_t(index)];
    if (!v) v = makeView(index);
    if (!filled_[size_t(index)]) {
        try {
            fillView(index);
        } catch (const std::exception&) {
            // Left empty and unfilled: show() reports it, and the next request tries again.
        }
    }
    return v;
}

void CodeArea::fillView(int index) const {
    // The content the view would read from the module's RTF, made without
    // writing and parsing the RTF text.
    const QString tagged = WorkingStore::instance().readModuleText(index + 1);
    codeViews_[size_t(index)]->setContent(taggedToContent(tagged, appState().options));
    filled_[size_t(index)] = true;
}

int CodeArea::madeCount() const {
    return int(std::count_if(codeViews_.begin(), codeViews_.end(), [](const CodeView* v) { return v != nullptr; }));
}

QString CodeArea::text(int index) const {
    if (index < 0 || index >= count()) return {};
    if (filled_[size_t(index)]) return codeViews_[size_t(index)]->text();
    try {
        return taggedToViewText(WorkingStore::instance().readModuleText(index + 1));
    } catch (const std::exception&) {
        return {};
    }
}

std::optional<QByteArray> CodeArea::storedText(int index) const {
    if (index < 0 || index >= count() || filled_[size_t(index)]) return std::nullopt;
    try {
        return WorkingStore::instance().readModuleBytes(index + 1);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

CodeView* CodeArea::shownView() const {
    return zoomOn_ ? zoomView_ : visibleView();
}

void CodeArea::clear() {
    current_ = 0;
    while (codeViews_.size() > 1) {
        delete codeViews_.back();
        codeViews_.pop_back();
    }
    codeViews_[0]->setRtf(QString());
    filled_.assign(1, true);  // without a project the one view is empty, and done
}

void CodeArea::reset() {
    clear();
    codeViews_[0]->show();
}

void CodeArea::makeViews(int moduleCount) {
    clear();
    if (moduleCount < 1) return;
    codeViews_.resize(size_t(moduleCount), nullptr);
    filled_.assign(size_t(moduleCount), false);
}

void CodeArea::renderAgain() {
    for (int i = 0; i < count(); ++i) {
        if (i == current_ || !codeViews_[size_t(i)]) continue;
        // The first view stays as the one a reset shows; emptied, it is filled again when shown.
        if (i == 0) {
            codeViews_[0]->setRtf(QString());
        } else {
            delete codeViews_[size_t(i)];
            codeViews_[size_t(i)] = nullptr;
        }
        filled_[size_t(i)] = false;
    }
    fillView(current_);
}

bool CodeArea::show(int index) {
    if (index < 0 || index >= count()) return false;
    CodeView* target = view(index);
    if (!filled_[size_t(index)]) fillView(index);  // throws what view() kept quiet
    if (CodeView* shown = visibleView()) shown->hide();
    current_ = index;
    target->show();
    return true;
}

bool CodeArea::toggleZoom() {
    zoomOn_ = !zoomOn_;
    zoomView_->setVisible(zoomOn_);
    if (!zoomOn_) return false;
    zoomView_->raise();
    CodeView* view = visibleView();
    // The zoom shows the caret's routine; leaving the zoom finds the caret
    // where the user left it.
    const int start = view->selStart();
    const int length = view->selLength();
    zoomToRoutine(*view, *zoomView_, WorkingStore::instance(), current_ + 1, view->lineOfPosition(start) + 1,
                  *appState().ui);
    showZoomLineNumbers();
    view->setSelStart(start);
    view->setSelLength(length);
    return true;
}

void CodeArea::refreshZoomAndFocus() {
    CodeView* view = visibleView();
    if (zoomOn_) {
        zoomToRoutine(*view, *zoomView_, WorkingStore::instance(), current_ + 1,
                      view->lineOfPosition(view->selStart()) + 1, *appState().ui);
        showZoomLineNumbers();
        zoomView_->setFocus();
    } else {
        view->setFocus();
    }
}

}  // namespace lumo
