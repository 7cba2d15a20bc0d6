#pragma once
// A tree of keyed nodes kept as a plain list in the order they were added,
// with their parents: the tree filled where there is no window (the headless
// entry, tests), and what the structure listing and the project exports read
// from the tree that is shown.
#include <vector>

#include <QHash>
#include <QStringList>

#include "view/NodeTree.h"

namespace lumo {

struct ListedNode {
    QString parentKey;  // "" for a root node
    QString key;
    QString text;
    QString imageKey;
    int parent = -1;  // position of the parent in the same list; -1 for a root node
    quint32 background = 0xFFFFFF;
    quint32 foreground = 0x000000;
};

class NodeList : public NodeTree {
public:
    bool expanded = false;  // expandAll was called
    int redrawOff = 0;      // setRedraw(false) not yet undone by setRedraw(true)

    const std::vector<ListedNode>& nodes() const { return nodes_; }

    void clear() override;
    bool addNode(const QString& parentKey, const QString& key, const QString& text, const QString& imageKey) override;
    int nodeCount() const override { return int(nodes_.size()); }
    bool hasNode(const QString& key) const override { return index_.contains(key); }
    QString nodeText(const QString& key) const override;
    void expandAll() override { expanded = true; }
    bool setNodeColors(const QString& key, quint32 background, quint32 foreground) override;
    void setRedraw(bool on) override { redrawOff += on ? -1 : 1; }

    // The node of that key, or nullptr.
    const ListedNode* find(const QString& key) const;

private:
    std::vector<ListedNode> nodes_;
    QHash<QString, int> index_;  // key -> position in nodes_
};

}  // namespace lumo
