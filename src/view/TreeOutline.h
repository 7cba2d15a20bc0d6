#pragma once
// The nodes of a tree in the order they were added, with their parents: what
// the structure listing and the project exports read from the tree that is
// shown. TreeOutline is also a NodeTree of its own, for filling the project
// tree where there is no window (the headless entry, tests).
#include <vector>

#include <QHash>
#include <QString>

#include "view/NodeTree.h"

namespace lumo {

struct OutlineNode {
    QString key;
    QString text;
    QString imageKey;
    int parent = -1;  // index of the parent node in the same list; -1 for a top-level node
};

class TreeOutline : public NodeTree {
public:
    std::vector<OutlineNode> nodes;

    void clear() override;
    bool addNode(const QString& parentKey, const QString& key, const QString& text, const QString& imageKey) override;
    int nodeCount() const override { return int(nodes.size()); }
    bool hasNode(const QString& key) const override { return index_.contains(key); }
    QString nodeText(const QString& key) const override;
    void expandAll() override {}
    bool setNodeColors(const QString& key, quint32, quint32) override { return hasNode(key); }
    void setRedraw(bool) override {}

    // The node of that key, or nullptr.
    const OutlineNode* node(const QString& key) const;

private:
    QHash<QString, int> index_;
};

}  // namespace lumo
