#pragma once
// The right of the window: one code view per module (rtbHaupt, exactly one
// visible), the zoom view over it (rtbZoom) and the hidden colour-blind view
// (rtbFarbeBlind). It knows which module is shown and whether the zoom is on.
#include <vector>

#include <QObject>

class QMenu;
class QPoint;
class QWidget;

namespace lumo {

class CodeView;

class CodeArea : public QObject {
    Q_OBJECT
public:
    // The views go into container; a right click on the zoom view pops zoomPopup.
    CodeArea(QWidget* container, QMenu* zoomPopup);

    CodeView* view(int index) const;  // nullptr outside 0 .. count() - 1
    int count() const { return int(codeViews_.size()); }
    int current() const { return current_; }  // 0-based index of the module shown
    CodeView* visibleView() const { return view(current_); }
    CodeView* zoomView() const { return zoomView_; }
    bool zoomOn() const { return zoomOn_; }
    // The view the exports of a selection read: the zoom view when it is on.
    CodeView* shownView() const;

    // Back to the first view, empty and shown.
    void reset();
    // One view per module, each filled with its module's code from the
    // working store as the options say. Throws StoreError.
    void makeViews(int moduleCount);
    // Makes the view of module index `index` the visible one; false when there is none.
    bool show(int index);
    // Switches the zoom and returns whether it is on. Switched on, it shows
    // the routine of the caret; the caret stays where the user left it.
    bool toggleZoom();
    // With the zoom on: it shows the routine of the caret's line and takes
    // the focus; otherwise the visible view takes it.
    void refreshZoomAndFocus();

signals:
    void contextMenuRequested(CodeView* view, const QPoint& pos);
    // A key or the left mouse button was released in the view of module index `index`.
    void caretMayHaveMoved(int index);

private:
    CodeView* makeView(int index);
    void clear();

    QWidget* container_;
    std::vector<CodeView*> codeViews_;
    CodeView* zoomView_ = nullptr;
    CodeView* colourBlindView_ = nullptr;
    int current_ = 0;
    bool zoomOn_ = false;
};

}  // namespace lumo
