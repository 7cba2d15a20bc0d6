#pragma once
// A tree of keyed nodes kept as a plain list in the order they were added:
// what the headless entry prints, and a tree for logic run without widgets.
#include <vector>

#include <QHash>

#include "view/NodeTree.h"

namespace lumo {

struct ListedNode {
    QString parentKey;  // "" for a root node
    QString key;
    QString text;
    QString imageKey;
    quint32 background = 0xFFFFFF;
    quint32 foreground = 0x000000;
};

class NodeList : public NodeTree {
public:
    bool expanded = false;

    const std::vector<ListedNode>& nodes() const { return nodes_; }

    void clear() override {
        nodes_.clear();
        index_.clear();
    }
    bool addNode(const QString& parentKey, const QString& key, const QString& text,
                 const QString& imageKey) override {
        if (index_.contains(key) || (!parentKey.isEmpty() && !index_.contains(parentKey))) return false;
        index_.insert(key, nodes_.size());
        nodes_.push_back({parentKey, key, text, imageKey});
        return true;
    }
    int nodeCount() const override { return int(nodes_.size()); }
    bool hasNode(const QString& key) const override { return find(key) != nullptr; }
    QString nodeText(const QString& key) const override {
        const ListedNode* n = find(key);
        return n ? n->text : QString();
    }
    void expandAll() override { expanded = true; }
    bool setNodeColors(const QString& key, quint32 background, quint32 foreground) override {
        ListedNode* n = find(key);
        if (!n) return false;
        n->background = background;
        n->foreground = foreground;
        return true;
    }
    void setRedraw(bool) override {}

    const ListedNode* find(const QString& key) const {
        const auto it = index_.constFind(key);
        return it == index_.cend() ? nullptr : &nodes_[it.value()];
    }
    ListedNode* find(const QString& key) {
        return const_cast<ListedNode*>(static_cast<const NodeList*>(this)->find(key));
    }

private:
    std::vector<ListedNode> nodes_;
    QHash<QString, size_t> index_;  // key -> position in nodes
};

}  // namespace lumo
