#pragma once
// The left of the window: the application tree of the documents' projects
// (treApp) with its explanation box (txtAppAktiv), the project tree of
// modules and routines (treProjekt), and the caller tree (treRoutSuche) with
// its head (tobSuche, lblRoutSuche) that takes the main toolbar's place
// while a caller result is shown. They share one ModuleTreeState.
#include <QObject>
#include <QStringList>
#include <QRect>

#include "acquire/OfficeListing.h"
#include "view/ProjectTree.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QToolBar;
class QTreeWidgetItem;
class QWidget;

namespace lumo {

class KeyedTree;
class TreeFilter;

class Trees : public QObject {
    Q_OBJECT
public:
    // The trees and the explanation box go into container.
    explicit Trees(QWidget* container);
    // The head of the caller result goes into toolbarParent and takes
    // mainToolbar's place while shown. Returns its close button, for the
    // window to wire.
    QAction* buildCallerHead(QWidget* toolbarParent, QToolBar* mainToolbar);

    KeyedTree* projectTree() const { return projectTree_; }
    KeyedTree* appTree() const { return appTree_; }
    KeyedTree* callerTree() const { return callerTree_; }
    // The filter line above the project tree, shown whenever that tree is.
    TreeFilter* filter() const { return filter_; }
    QPlainTextEdit* explanationBox() const { return explanationBox_; }
    QToolBar* callerToolbar() const { return callerToolbar_; }
    QLabel* callerLabel() const { return callerLabel_; }
    ModuleTreeState& state() { return state_; }
    const ModuleTreeState& state() const { return state_; }

    // The documents' projects as listed, drawn in the application tree.
    AppTree& appNodes() { return appNodes_; }
    const AppTree& appNodes() const { return appNodes_; }
    void drawAppTree();
    // Ticks again the nodes of these keys that are still listed; true when
    // something ticked can be read.
    bool restoreTicks(const QStringList& keys);
    // Over the application tree, where it has nothing to list.
    void showExplanation(const QString& text);

    // The caller tree shown with `routine` in its head, or, without callers, the project tree back.
    void showCallerResult(const QString& routine);
    void showNoCallers();
    // The caller result closed; the project tree comes back when projectTreeBack.
    void closeCallerResult(bool projectTreeBack);
    // Marks the node of module index `currentModule` in the project tree.
    void highlightModule(int currentModule);
    // Selects and scrolls into view the node of the code shown: the routine's
    // node (number `routine`), its module unfolded; the module's where the
    // filter hides the routine.
    void revealShownCode(int currentModule, int routine);
    // The tree that is shown; of several, the last of application, project, caller tree.
    KeyedTree* shownTree() const;

    // The left pane: every tree and the explanation box fill it, but the
    // project tree leaves its top to the filter line.
    void placeLeftPane(const QRect& pane);
    QRect leftPane() const { return pane_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void nodeSelected(QTreeWidgetItem* item);  // in the project or the caller tree
    // A tick in the application tree; readable when something ticked can be read.
    void ticksChanged(bool readable);

private:
    void tick(QTreeWidgetItem* item);

    KeyedTree* projectTree_ = nullptr;
    KeyedTree* callerTree_ = nullptr;
    KeyedTree* appTree_ = nullptr;
    QPlainTextEdit* explanationBox_ = nullptr;
    TreeFilter* filter_ = nullptr;
    QRect pane_;
    QToolBar* mainToolbar_ = nullptr;
    QToolBar* callerToolbar_ = nullptr;
    QLabel* callerLabel_ = nullptr;
    ModuleTreeState state_;
    AppTree appNodes_;
};

}  // namespace lumo
