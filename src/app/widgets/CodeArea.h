#pragma once
// The right of the window: one code view per module (rtbHaupt, exactly one
// visible), the zoom view over it (rtbZoom) and the hidden colour-blind view
// (rtbFarbeBlind). It knows which module is shown and whether the zoom is on.
// A module's view is made when it is first asked for: a project of a thousand
// modules is shown without building a thousand documents nobody looks at.
#include <optional>
#include <vector>

#include <QObject>
#include <QString>

class QMenu;
class QTimer;
class QPoint;
class QWidget;

namespace lumo {

class CodeView;

class CodeArea : public QObject {
    Q_OBJECT
public:
    // The views go into container; a right click on the zoom view pops zoomPopup.
    CodeArea(QWidget* container, QMenu* zoomPopup);

    // The view of module index `index`, made and filled from the working
    // store when first asked for; nullptr outside 0 .. count() - 1.
    CodeView* view(int index) const;
    int count() const { return int(codeViews_.size()); }
    // The views made so far.
    int madeCount() const;
    // What the view of module index `index` shows (lines joined with CR LF),
    // without making the view; empty outside 0 .. count() - 1.
    QString text(int index) const;
    // The stored tagged text of module index `index` while its view is not
    // made; nothing once it is, outside 0 .. count() - 1 or when unreadable.
    std::optional<QByteArray> storedText(int index) const;
    int current() const { return current_; }  // 0-based index of the module shown
    CodeView* visibleView() const { return view(current_); }
    CodeView* zoomView() const { return zoomView_; }
    bool zoomOn() const { return zoomOn_; }
    // The view the exports of a selection read: the zoom view when it is on.
    CodeView* shownView() const;

    // Back to the first view, empty and shown.
    void reset();
    // A view for each of moduleCount modules, each made and filled from the
    // working store as the options say when it is first shown.
    void makeViews(int moduleCount);
    // The options changed how code looks: the visible view is filled again,
    // the others are dropped and made anew when next shown. Throws StoreError.
    void renderAgain();
    // Makes the view of module index `index` the visible one; false when there is none.
    bool show(int index);
    // Switches the zoom and returns whether it is on. Switched on, it shows
    // the routine of the caret; the caret stays where the user left it.
    bool toggleZoom();
    // With the zoom on: it shows the routine of the caret's line and takes
    // the focus; otherwise the visible view takes it.
    void refreshZoomAndFocus();
    // The gutter of line numbers on every code view and the zoom view.
    void setLineNumbersShown(bool on);

    // How long the caret rests before caretSettled (the uses of its name
    // are marked then, not at every key).
    static constexpr int kSettleMs = 150;

signals:
    void contextMenuRequested(CodeView* view, const QPoint& pos);
    // A key or the left mouse button was released in the view of module index `index`.
    void caretMayHaveMoved(int index);
    // The caret of the shown view moved, by whatever, and rested kSettleMs.
    void caretSettled(int index);
    // The mouse rests on a character of the view of module index `index`.
    void hoverRequested(int index, int position, const QPoint& globalPos);
    // Ctrl+click in a code view.
    void definitionClicked();

private:
    CodeView* makeView(int index) const;
    void fillView(int index) const;
    void clear();
    void showZoomLineNumbers();

    QWidget* container_;
    // Null where a module's view is not made yet; the first always exists.
    mutable std::vector<CodeView*> codeViews_;
    mutable std::vector<bool> filled_;
    CodeView* zoomView_ = nullptr;
    CodeView* colourBlindView_ = nullptr;
    int current_ = 0;
    bool zoomOn_ = false;
    QTimer* settle_ = nullptr;
};

}  // namespace lumo
