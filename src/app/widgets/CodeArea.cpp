#include "app/widgets/CodeArea.h"

#include <QMenu>

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
}

CodeView* CodeArea::makeView(int index) {
    auto* v = new CodeView(container_);
    v->setObjectName(QStringLiteral("rtbHaupt"));
    v->setProperty("index", index);
    v->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(v, &QWidget::customContextMenuRequested, this, [this, v](const QPoint& p) { emit contextMenuRequested(v, p); });
    connect(v, &CodeView::keyReleased, this, [this, index](int) { emit caretMayHaveMoved(index); });
    connect(v, &CodeView::mouseReleased, this, [this, index](int button) {
        if (button == 1) emit caretMayHaveMoved(index);
    });
    v->hide();
    return v;
}

CodeView* CodeArea::view(int index) const {
    return (index >= 0 && index < count()) ? codeViews_[size_t(index)] : nullptr;
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
}

void CodeArea::reset() {
    clear();
    codeViews_[0]->show();
}

void CodeArea::makeViews(int moduleCount) {
    // One repaint for the whole batch instead of one per module.
    QWidget* window = container_->window();
    window->setUpdatesEnabled(false);
    clear();
    try {
        for (int i = 1; i < moduleCount; ++i) codeViews_.push_back(makeView(i));
        const Options& options = appState().options;
        WorkingStore& store = WorkingStore::instance();
        for (int n = 1; n <= moduleCount; ++n) {
            // The content the view would read from the module's RTF, made
            // without writing and parsing the RTF text.
            codeViews_[size_t(n - 1)]->setContent(taggedToContent(store.readModuleText(n), options));
        }
    } catch (...) {
        window->setUpdatesEnabled(true);
        throw;
    }
    window->setUpdatesEnabled(true);
}

bool CodeArea::show(int index) {
    CodeView* target = view(index);
    if (!target) return false;
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
    view->setSelStart(start);
    view->setSelLength(length);
    return true;
}

void CodeArea::refreshZoomAndFocus() {
    CodeView* view = visibleView();
    if (zoomOn_) {
        zoomToRoutine(*view, *zoomView_, WorkingStore::instance(), current_ + 1,
                      view->lineOfPosition(view->selStart()) + 1, *appState().ui);
        zoomView_->setFocus();
    } else {
        view->setFocus();
    }
}

}  // namespace lumo
