#pragma once
// A tree widget whose nodes are found by key, with the keyboard rule of the
// code trees: Enter selects the current node, any other key makes the next
// selection event count for nothing, and typed characters never search.
#include <functional>
#include <utility>
#include <vector>

#include <QHash>
#include <QTreeWidget>

#include "view/NodeTree.h"
#include "view/NodeList.h"

namespace lumo {

class KeyedTree : public QTreeWidget, public NodeTree {
    Q_OBJECT
public:
    explicit KeyedTree(QWidget* parent = nullptr);

    // Where the node pictures come from (image key -> icon).
    void setImageSource(std::function<QIcon(const QString&)> images) { images_ = std::move(images); }
    // Nodes carry check boxes (treApp).
    void setCheckable(bool on) { checkable_ = on; }
    // Shared with the other code tree: set by any key but Enter, cleared by
    // the selection event it swallows.
    void setIgnoreFlag(bool* flag) { ignoreFlag_ = flag; }

    void clear() override;
    bool addNode(const QString& parentKey, const QString& key, const QString& text, const QString& imageKey) override;
    // Made when first needed: their parent opened (it shows its arrow
    // before), a node of them looked up, coloured or listed.
    bool addNodesLater(const QString& parentKey, const std::shared_ptr<const NodeSource>& source, int first,
                       int last) override;
    int nodeCount() const override { return int(items_.size()) + laterCount_; }
    bool hasNode(const QString& key) const override { return items_.contains(key) || findLater(key).group >= 0; }
    QString nodeText(const QString& key) const override;
    void expandAll() override {
        makeAllNodes();
        attachWaitingNodes();
        QTreeWidget::expandAll();
    }
    bool setNodeColors(const QString& key, quint32 background, quint32 foreground) override;
    // Off, nodes added wait outside the tree and join it in one step when
    // it is switched on again: a tree of thousands of nodes fills without
    // laying itself out once per node.
    void setRedraw(bool on) override;
    // Lays the rows out once, when the event loop next runs, however many
    // nodes are hidden, opened or closed until then (each would otherwise
    // lay the tree out on its own).
    void deferLayout() { scheduleDelayedItemsLayout(); }
    // Makes every node left for later now: a search through all of them.
    void makeAllNodes();

    // The node of that key, made now if it was left for later.
    QTreeWidgetItem* item(const QString& key);
    static QString keyOf(const QTreeWidgetItem* item);
    // The node carries a background of its own (not the plain white one).
    static bool hasOwnColors(const QModelIndex& index);
    // Nodes in the order they were added (the index order of the original
    // tree), every node made.
    QList<QTreeWidgetItem*> nodesInOrder();
    // Every node in that order with its text, picture key and parent.
    NodeList outline();

    bool isChecked(const QString& key) const;
    // Programmatic ticks never reach the check handler.
    void setChecked(const QString& key, bool on);

signals:
    // A node was chosen: a click or Enter. Passes the item; the receiver
    // applies the ignore rule.
    void nodeSelected(QTreeWidgetItem* item);
    // The user ticked or unticked a node.
    void nodeChecked(QTreeWidgetItem* item);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString&) override {}

private:
    // Nodes [first, last) of a source, to be made under parent.
    struct LaterNodes {
        QTreeWidgetItem* parent = nullptr;
        std::shared_ptr<const NodeSource> source;
        int first = 0;
        int last = 0;
        qsizetype orderAt = 0;  // how many nodes of order_ were added before them
        QTreeWidgetItem::ChildIndicatorPolicy policyBefore = QTreeWidgetItem::DontShowIndicatorWhenChildless;
        bool made = false;
        QList<QTreeWidgetItem*> items;  // once made
    };
    struct LaterSpot {
        int group = -1;  // in later_; -1: no node of that key waits
        int at = -1;     // in the group's source
    };
    QTreeWidgetItem* newItem(const QString& key, const QString& text, const QString& imageKey);
    // Puts the nodes under parent, in the tree or where they wait while the redraw is off.
    void place(QTreeWidgetItem* parent, QList<QTreeWidgetItem*> children);
    LaterSpot findLater(const QString& key) const;
    void makeLater(int group);
    void makeChildrenOf(QTreeWidgetItem* parent);
    void attachWaitingNodes();

    QHash<QString, QTreeWidgetItem*> items_;
    // The parent found last, by its key (nodes are only ever removed all at once).
    QTreeWidgetItem* lastParent_ = nullptr;
    QString lastParentKey_;
    // Nodes added with the redraw off: roots, and children of nodes already in the tree.
    QList<QTreeWidgetItem*> waitingRoots_;
    std::vector<std::pair<QTreeWidgetItem*, QList<QTreeWidgetItem*>>> waitingChildren_;
    bool redrawOff_ = false;
    QList<QTreeWidgetItem*> order_;
    std::vector<LaterNodes> later_;
    QHash<QTreeWidgetItem*, int> laterOf_;  // parent -> its first group in later_ not yet made
    int laterCount_ = 0;                    // nodes left for later, not made yet
    std::function<QIcon(const QString&)> images_;
    bool checkable_ = false;
    bool* ignoreFlag_ = nullptr;
    bool settingCheck_ = false;
};

}  // namespace lumo
