#include "view/widgets/TreeFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QSet>
#include <QTreeWidget>

#include "view/widgets/KeyedTree.h"

namespace lumo {

TreeFilter::TreeFilter(KeyedTree* tree, QWidget* parent) : QLineEdit(parent), tree_(tree) {
    setObjectName(QStringLiteral("txtFilter"));
    setPlaceholderText(QStringLiteral("Filter Module und Routinen"));
    setToolTip(QStringLiteral("Zeigt nur Module und Routinen, deren Name den Text enthält (Esc: alle)"));
    setClearButtonEnabled(true);
    connect(this, &QLineEdit::textChanged, this, &TreeFilter::apply);
}

void TreeFilter::reset() {
    if (text().isEmpty()) {
        apply({});
        return;
    }
    clear();  // applies the empty text
}

void TreeFilter::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
        clear();
        return;
    }
    // Down goes on into the tree; Enter shows the first node whose own name
    // matches, as Enter on that node in the tree would.
    if (event->key() == Qt::Key_Down) {
        tree_->setFocus();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !text().trimmed().isEmpty()) {
        for (QTreeWidgetItem* node : tree_->nodesInOrder()) {
            if (node->isHidden() || !node->text(0).contains(text().trimmed(), Qt::CaseInsensitive)) continue;
            tree_->setCurrentItem(node);
            tree_->setFocus();
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QCoreApplication::sendEvent(tree_, &enter);
            return;
        }
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TreeFilter::setShown(QTreeWidgetItem* item, bool shown) {
    if (item->isHidden() == !shown) return;
    item->setHidden(!shown);
    hidden_ += shown ? -1 : 1;
}

void TreeFilter::remember() {
    opened_.clear();
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* module = tree_->topLevelItem(i);
        if (module->isExpanded()) opened_ << QPersistentModelIndex(tree_->indexFromItem(module));
    }
    filtering_ = true;
}

void TreeFilter::restore() {
    filtering_ = false;
    QSet<QTreeWidgetItem*> open;
    for (const QPersistentModelIndex& index : std::as_const(opened_))
        if (index.isValid()) open.insert(tree_->itemFromIndex(index));
    opened_.clear();
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* module = tree_->topLevelItem(i);
        if (module->isExpanded() != open.contains(module)) module->setExpanded(open.contains(module));
    }
    // The node current now: the one before, or the one the user went to meanwhile.
    // Scrolling to a node opens its module, so a node in a closed one leaves the view where it is.
    QTreeWidgetItem* current = tree_->currentItem();
    if (current && (!current->parent() || current->parent()->isExpanded())) tree_->scrollToItem(current);
}

void TreeFilter::apply(const QString& typed) {
    const QString text = typed.trimmed();
    if (text.isEmpty() && !filtering_ && hidden_ == 0) return;
    tree_->setUpdatesEnabled(false);
    tree_->deferLayout();
    if (!text.isEmpty() && !filtering_) remember();
    // Routines of modules never opened are searched too.
    if (!text.isEmpty()) tree_->makeAllNodes();
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* module = tree_->topLevelItem(i);
        const bool moduleMatches = text.isEmpty() || module->text(0).contains(text, Qt::CaseInsensitive);
        bool routineMatches = false;
        for (int k = 0; k < module->childCount(); ++k) {
            QTreeWidgetItem* routine = module->child(k);
            const bool matches = !text.isEmpty() && routine->text(0).contains(text, Qt::CaseInsensitive);
            routineMatches = routineMatches || matches;
            setShown(routine, moduleMatches || matches);
        }
        setShown(module, moduleMatches || routineMatches);
        if (routineMatches && !module->isExpanded()) module->setExpanded(true);
    }
    if (text.isEmpty() && filtering_) restore();
    tree_->setUpdatesEnabled(true);
}

}  // namespace lumo
