#include "view/widgets/KeyedTree.h"

#include <algorithm>
#include <vector>

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "base/Progress.h"
#include "view/widgets/NodeWidths.h"

namespace lumo {

namespace {
constexpr int kKeyRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;

// A node that answers its key, name, picture key and picture itself instead
// of holding them as item data: each value set on an item costs more than
// making the item, and a project's tree has thousands of nodes, most of
// which are never drawn. The picture is fetched when first drawn.
class KeyedItem : public QTreeWidgetItem {
public:
    using Images = std::function<QIcon(const QString&)>;
    KeyedItem(const QString& key, const QString& text, const QString& imageKey, const Images* images)
        : key_(key), text_(text), imageKey_(imageKey), images_(images) {}

    QVariant data(int column, int role) const override {
        if (column == 0) {
            if (role == Qt::DisplayRole || role == Qt::EditRole) return text_;
            if (role == kKeyRole) return key_;
            if (role == kImageRole) return imageKey_;
            if (role == Qt::DecorationRole && images_) {
                if (!iconFetched_) {
                    icon_ = (*images_)(imageKey_);
                    iconFetched_ = true;
                }
                return icon_;
            }
        }
        return QTreeWidgetItem::data(column, role);
    }
    void setData(int column, int role, const QVariant& value) override {
        sizeLook = 0;
        if (column != 0 || (role != Qt::DisplayRole && role != Qt::EditRole)) {
            QTreeWidgetItem::setData(column, role, value);
            return;
        }
        const QString text = value.toString();
        if (text == text_) return;
        text_ = text;
        emitDataChanged();
    }

    // The size the tree's delegate worked out for the node, and the look
    // (numbered by the delegate) it holds for; 0: none.
    mutable QSize size;
    mutable quint32 sizeLook = 0;

private:
    QString key_;
    QString text_;
    QString imageKey_;
    const Images* images_;  // the tree's, which outlives its nodes
    mutable QIcon icon_;
    mutable bool iconFetched_ = false;
};

QColor rgb(quint32 v) {
    return QColor(int((v >> 16) & 0xFF), int((v >> 8) & 0xFF), int(v & 0xFF));
}

// A node drawn in colours of its own (the shown module: yellow on black)
// keeps them when it is also the selected node; the selection colour would
// otherwise hide exactly the node the user is looking for. The selection
// still shows, as a frame in the selection colour.
class MarkedNodeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Asked for every node after each layout: the node itself keeps its
    // size for as long as the tree asks with the same look.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (option.features & QStyleOptionViewItem::WrapText) return nodeSize(option, index);
        const quint32 look = widths_.lookOf(option);
        const auto* tree = static_cast<const QTreeWidget*>(parent());
        const auto* node = dynamic_cast<const KeyedItem*>(tree->itemFromIndex(index));
        if (node && node->sizeLook == look) return node->size;
        const QSize size = nodeSize(option, index);
        if (node) {
            node->size = size;
            node->sizeLook = look;
        }
        return size;
    }
    void forgetSizes() { widths_.forget(); }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (!(option.state & QStyle::State_Selected) || !KeyedTree::hasOwnColors(index)) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem plain(option);
        plain.state &= ~QStyle::State_Selected;
        QStyledItemDelegate::paint(painter, plain, index);
        painter->save();
        QPen pen(option.palette.color(QPalette::Active, QPalette::Highlight));
        pen.setWidth(2);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option.rect.adjusted(1, 1, -1, -1));
        painter->restore();
    }

private:
    QSize nodeSize(const QStyleOptionViewItem& option, const QModelIndex& index) const {
        if (index.data(Qt::SizeHintRole).isValid()) return QStyledItemDelegate::sizeHint(option, index);
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        return widths_.sizeOf(*this, option, opt, index);
    }

    // Asked from the const questions of the view.
    mutable NodeWidths widths_;
};
}  // namespace

bool KeyedTree::hasOwnColors(const QModelIndex& index) {
    const QVariant bg = index.data(Qt::BackgroundRole);
    if (!bg.isValid()) return false;
    const QBrush brush = qvariant_cast<QBrush>(bg);
    // White is the tree's own background: a node given back its plain
    // colours is selected like any other.
    return brush.style() != Qt::NoBrush && brush.color() != QColor(Qt::white);
}

KeyedTree::KeyedTree(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Long names scroll sideways instead of being cut off.
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setItemDelegate(new MarkedNodeDelegate(this));
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* it, int) { emit nodeSelected(it); });
    // Opened by click, key or code: the children left for later join it before it is drawn again.
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        if (laterCount_ > 0) makeChildrenOf(itemFromIndex(index));
    });
    connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* it, int) {
        if (!settingCheck_ && checkable_) emit nodeChecked(it);
    });
}

void KeyedTree::clear() {
    qDeleteAll(waitingRoots_);
    waitingRoots_.clear();
    for (auto& [parent, children] : waitingChildren_) qDeleteAll(children);
    waitingChildren_.clear();
    QTreeWidget::clear();
    items_.clear();
    order_.clear();
    later_.clear();
    laterOf_.clear();
    laterCount_ = 0;
    lastParent_ = nullptr;
    if (auto* delegate = dynamic_cast<MarkedNodeDelegate*>(itemDelegate())) delegate->forgetSizes();
}

QTreeWidgetItem* KeyedTree::newItem(const QString& key, const QString& text, const QString& imageKey) {
    // Made whole before it joins anything, so that the tree never sees it half made.
    QTreeWidgetItem* it = new KeyedItem(key, text, imageKey, images_ ? &images_ : nullptr);
    if (checkable_) {
        settingCheck_ = true;
        it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
        it->setCheckState(0, Qt::Unchecked);
        settingCheck_ = false;
    }
    items_.insert(key, it);
    return it;
}

void KeyedTree::place(QTreeWidgetItem* parent, QList<QTreeWidgetItem*> children) {
    if (!redrawOff_) {
        if (parent)
            parent->addChildren(children);
        else
            addTopLevelItems(children);
    } else if (!parent) {
        waitingRoots_.append(children);
    } else if (!parent->treeWidget()) {
        parent->addChildren(children);  // the parent waits too and takes them along
    } else {
        if (waitingChildren_.empty() || waitingChildren_.back().first != parent) waitingChildren_.push_back({parent, {}});
        waitingChildren_.back().second.append(children);
    }
}

bool KeyedTree::addNode(const QString& parentKey, const QString& key, const QString& text, const QString& imageKey) {
    QTreeWidgetItem* parent = nullptr;
    if (!parentKey.isEmpty()) {
        // Children come by parent: the parent of the node before is mostly this one's.
        if (!lastParent_ || parentKey != lastParentKey_) {
            lastParent_ = item(parentKey);
            lastParentKey_ = parentKey;
        }
        parent = lastParent_;
        if (!parent) return false;
        // Its children left for later come first, as they were added first.
        if (laterCount_ > 0) makeChildrenOf(parent);
    }
    if (hasNode(key)) return false;
    QTreeWidgetItem* it = newItem(key, text, imageKey);
    place(parent, {it});
    order_.append(it);
    return true;
}

bool KeyedTree::addNodesLater(const QString& parentKey, const std::shared_ptr<const NodeSource>& source, int first,
                              int last) {
    QTreeWidgetItem* parent = item(parentKey);
    if (!parent) return false;
    if (first >= last) return true;
    LaterNodes later;
    later.parent = parent;
    later.source = source;
    later.first = first;
    later.last = last;
    later.orderAt = order_.size();
    later.policyBefore = parent->childIndicatorPolicy();
    if (!laterOf_.contains(parent)) laterOf_.insert(parent, int(later_.size()));
    later_.push_back(std::move(later));
    laterCount_ += last - first;
    // The arrow shows before the children are made.
    parent->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return true;
}

KeyedTree::LaterSpot KeyedTree::findLater(const QString& key) const {
    if (laterCount_ == 0) return {};
    // The groups mostly share one source: it is asked once, not once per group.
    const NodeSource* asked = nullptr;
    int at = -1;
    for (size_t g = 0; g < later_.size(); ++g) {
        const LaterNodes& group = later_[g];
        if (group.made) continue;
        if (group.source.get() != asked) {
            asked = group.source.get();
            at = asked->find(key);
        }
        if (at >= group.first && at < group.last) return {int(g), at};
    }
    return {};
}

void KeyedTree::makeLater(int index) {
    LaterNodes& group = later_[size_t(index)];
    if (group.made) return;
    group.made = true;
    group.items.reserve(group.last - group.first);
    for (int at = group.first; at < group.last; ++at)
        group.items.append(newItem(group.source->key(at), group.source->text(at), group.source->imageKey(at)));
    laterCount_ -= group.last - group.first;
    QTreeWidgetItem* parent = group.parent;
    // The parent's next group not yet made, if any.
    int next = -1;
    for (size_t g = size_t(index) + 1; g < later_.size() && next < 0; ++g)
        if (later_[g].parent == parent && !later_[g].made) next = int(g);
    if (laterOf_.value(parent, -1) == index) {
        if (next >= 0)
            laterOf_.insert(parent, next);
        else
            laterOf_.remove(parent);
    }
    if (next < 0) parent->setChildIndicatorPolicy(group.policyBefore);
    place(parent, group.items);
}

void KeyedTree::makeChildrenOf(QTreeWidgetItem* parent) {
    while (laterCount_ > 0) {
        const int group = laterOf_.value(parent, -1);
        if (group < 0) return;
        makeLater(group);
    }
}

void KeyedTree::makeAllNodes() {
    if (later_.empty()) return;
    // Made with the redraw off and joined in one step, as when they were added.
    const bool wasOff = std::exchange(redrawOff_, true);
    for (size_t g = 0; g < later_.size(); ++g) makeLater(int(g));
    redrawOff_ = wasOff;
    if (!wasOff) attachWaitingNodes();
    // Every node in the order it was added: the groups where they were added.
    QList<QTreeWidgetItem*> order;
    order.reserve(order_.size() + items_.size());
    qsizetype direct = 0;
    for (LaterNodes& group : later_) {
        for (; direct < group.orderAt; ++direct) order.append(order_[direct]);
        order.append(group.items);
    }
    for (; direct < order_.size(); ++direct) order.append(order_[direct]);
    order_ = std::move(order);
    later_.clear();
    laterOf_.clear();
}

QTreeWidgetItem* KeyedTree::item(const QString& key) {
    if (QTreeWidgetItem* it = items_.value(key)) return it;
    const LaterSpot spot = findLater(key);
    if (spot.group < 0) return nullptr;
    makeLater(spot.group);
    return items_.value(key);
}

QList<QTreeWidgetItem*> KeyedTree::nodesInOrder() {
    makeAllNodes();
    return order_;
}

void KeyedTree::setRedraw(bool on) {
    redrawOff_ = !on;
    if (on) attachWaitingNodes();
    setUpdatesEnabled(on);
}

void KeyedTree::attachWaitingNodes() {
    if (!waitingRoots_.isEmpty()) addTopLevelItems(std::exchange(waitingRoots_, {}));
    // Thousands of modules take a while to join: the window's events get their turns in between.
    int joined = 0;
    for (auto& [parent, children] : std::exchange(waitingChildren_, {})) {
        parent->addChildren(children);
        if (++joined % 64 == 0) workTurn();
    }
}

QString KeyedTree::nodeText(const QString& key) const {
    if (auto* it = items_.value(key)) return it->text(0);
    const LaterSpot spot = findLater(key);
    return spot.group < 0 ? QString() : later_[size_t(spot.group)].source->text(spot.at);
}

bool KeyedTree::setNodeColors(const QString& key, quint32 background, quint32 foreground) {
    auto* it = item(key);
    if (!it) return false;
    it->setBackground(0, rgb(background));
    it->setForeground(0, rgb(foreground));
    return true;
}

NodeList KeyedTree::outline() {
    NodeList out;
    for (const QTreeWidgetItem* it : nodesInOrder())
        out.addNode(keyOf(it->parent()), keyOf(it), it->text(0), it->data(0, kImageRole).toString());
    return out;
}

QString KeyedTree::keyOf(const QTreeWidgetItem* item) {
    return item ? item->data(0, kKeyRole).toString() : QString();
}

bool KeyedTree::isChecked(const QString& key) const {
    auto* it = items_.value(key);
    return it && it->checkState(0) == Qt::Checked;
}

void KeyedTree::setChecked(const QString& key, bool on) {
    auto* it = items_.value(key);
    if (!it) return;
    settingCheck_ = true;
    it->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    settingCheck_ = false;
}

void KeyedTree::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (ignoreFlag_) *ignoreFlag_ = false;
        if (auto* it = currentItem()) emit nodeSelected(it);
        event->accept();
        return;
    }
    if (ignoreFlag_) *ignoreFlag_ = true;
    // Moving through the tree changes the current node, which is itself a
    // selection event: it swallows the flag the key just set, so that the
    // next click works again, while a lone Shift leaves it for the click.
    QTreeWidgetItem* before = currentItem();
    if (event->text().isEmpty() || !event->text().at(0).isPrint() || event->key() == Qt::Key_Space)
        QTreeWidget::keyPressEvent(event);
    else
        event->accept();  // typed characters: no search by typing
    if (currentItem() != before && ignoreFlag_ && *ignoreFlag_) *ignoreFlag_ = false;
}

}  // namespace lumo
