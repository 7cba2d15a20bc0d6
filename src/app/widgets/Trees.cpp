#include "app/widgets/Trees.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolBar>

#include "view/widgets/KeyedTree.h"
#include "view/widgets/TreeFilter.h"
#include "view/widgets/Icons.h"

namespace lumo {

Trees::Trees(QWidget* container) : QObject(container) {
    auto images = [](const QString& key) { return treeIcon(key); };
    projectTree_ = new KeyedTree(container);
    projectTree_->setObjectName(QStringLiteral("treProjekt"));
    projectTree_->setImageSource(images);
    projectTree_->setIgnoreFlag(&state_.ignoreNextNodeClick);
    connect(projectTree_, &KeyedTree::nodeSelected, this, &Trees::nodeSelected);
    filter_ = new TreeFilter(projectTree_, container);
    filter_->setVisible(!projectTree_->isHidden());
    projectTree_->installEventFilter(this);
    pane_ = projectTree_->geometry();

    callerTree_ = new KeyedTree(container);
    callerTree_->setObjectName(QStringLiteral("treRoutSuche"));
    callerTree_->setImageSource(images);
    callerTree_->setIgnoreFlag(&state_.ignoreNextNodeClick);
    callerTree_->hide();
    connect(callerTree_, &KeyedTree::nodeSelected, this, &Trees::nodeSelected);

    appTree_ = new KeyedTree(container);
    appTree_->setObjectName(QStringLiteral("treApp"));
    appTree_->setImageSource(images);
    appTree_->setCheckable(true);
    connect(appTree_, &KeyedTree::nodeChecked, this, &Trees::tick);

    explanationBox_ = new QPlainTextEdit(container);
    explanationBox_->setObjectName(QStringLiteral("txtAppAktiv"));
    explanationBox_->setReadOnly(true);
    explanationBox_->hide();
}

QAction* Trees::buildCallerHead(QWidget* toolbarParent, QToolBar* mainToolbar) {
    mainToolbar_ = mainToolbar;
    callerToolbar_ = new QToolBar(toolbarParent);
    callerToolbar_->setObjectName(QStringLiteral("tobSuche"));
    callerToolbar_->setMovable(false);
    callerToolbar_->setIconSize(QSize(20, 20));
    callerToolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    QAction* close = callerToolbar_->addAction(toolbarIcon(QStringLiteral("close")), QStringLiteral("close"));
    close->setObjectName(QStringLiteral("close"));
    close->setToolTip(QStringLiteral("Schliesst die Routinensuche"));
    callerLabel_ = new QLabel(callerToolbar_);
    callerLabel_->setObjectName(QStringLiteral("lblRoutSuche"));
    callerLabel_->setMargin(4);
    QFont bold = callerLabel_->font();
    bold.setBold(true);
    callerLabel_->setFont(bold);
    callerToolbar_->addWidget(callerLabel_);
    callerToolbar_->hide();
    return close;
}

void Trees::drawAppTree() {
    appTree_->clear();
    for (const AppNode& n : appNodes_) {
        appTree_->addNode(n.parentKey, n.key, n.text, n.imageKey);
        appTree_->setChecked(n.key, n.checked);
    }
}

bool Trees::restoreTicks(const QStringList& keys) {
    for (AppNode& n : appNodes_) {
        n.checked = keys.contains(n.key);
        appTree_->setChecked(n.key, n.checked);
    }
    return anyChecked(appNodes_);
}

void Trees::showExplanation(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    explanationBox_->setPlainText(shown);
    explanationBox_->show();
    explanationBox_->raise();
}

void Trees::tick(QTreeWidgetItem* item) {
    const QString key = KeyedTree::keyOf(item);
    std::size_t index = 0;
    while (index < appNodes_.size() && appNodes_[index].key != key) ++index;
    if (index == appNodes_.size()) return;
    appTree_->setRedraw(false);
    const bool readable = applyCheck(appNodes_, index, item->checkState(0) == Qt::Checked);
    for (const AppNode& n : appNodes_) appTree_->setChecked(n.key, n.checked);
    emit ticksChanged(readable);
    appTree_->setRedraw(true);
}

void Trees::showCallerResult(const QString& routine) {
    // Modules open, routines closed: their call sites show when opened.
    callerTree_->expandToDepth(0);
    callerTree_->show();
    callerTree_->raise();
    projectTree_->hide();
    mainToolbar_->hide();
    callerToolbar_->show();
    callerLabel_->setText(routine);
}

void Trees::showNoCallers() {
    callerTree_->hide();
    projectTree_->show();
    mainToolbar_->show();
    callerToolbar_->hide();
    callerLabel_->clear();
}

void Trees::closeCallerResult(bool projectTreeBack) {
    callerToolbar_->hide();
    mainToolbar_->show();
    callerTree_->clear();
    callerTree_->hide();
    if (projectTreeBack) projectTree_->show();
}

void Trees::highlightModule(int currentModule) {
    highlightModuleNode(*projectTree_, state_, currentModule);
}

void Trees::revealShownCode(int currentModule, int routine) {
    QTreeWidgetItem* node = routine > 0 ? projectTree_->item(routineKey(routine)) : nullptr;
    if (node && node->isHidden()) node = nullptr;  // filtered away: its module stands for it
    // The reader always sees the routine of the caret: its module unfolds.
    if (node && node->parent() && !node->parent()->isExpanded()) node->parent()->setExpanded(true);
    if (!node) node = projectTree_->item(moduleKey(currentModule + 1));
    if (!node || node->isHidden()) return;  // filtered away
    // Selecting from code emits no nodeSelected (that comes from clicks and
    // keys only), so the tree follows without navigating again.
    projectTree_->setCurrentItem(node);
    projectTree_->scrollToItem(node);
}

KeyedTree* Trees::shownTree() const {
    KeyedTree* shown = nullptr;
    for (KeyedTree* tree : {appTree_, projectTree_, callerTree_})
        if (!tree->isHidden()) shown = tree;
    return shown;
}

void Trees::placeLeftPane(const QRect& pane) {
    pane_ = pane;
    const int line = std::min(filter_->sizeHint().height(), pane.height() / 2);
    filter_->setGeometry(pane.x(), pane.y(), pane.width(), line);
    projectTree_->setGeometry(pane.adjusted(0, line, 0, 0));
    appTree_->setGeometry(pane);
    callerTree_->setGeometry(pane);
    explanationBox_->setGeometry(pane);
}

bool Trees::eventFilter(QObject* watched, QEvent* event) {
    // The filter line comes and goes with the project tree, whoever shows or hides it.
    if (watched == projectTree_ && (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)) {
        filter_->setVisible(event->type() == QEvent::ShowToParent);
        if (filter_->isVisibleTo(filter_->parentWidget())) filter_->raise();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace lumo
