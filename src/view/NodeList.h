#pragma once
// A tree of keyed nodes kept as a plain list in the order they were added:
// what the headless entry prints, and a tree for logic run without widgets.
#include <vector>

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
    std::vector<ListedNode> nodes;
    bool expanded = false;

    void clear() override { nodes.clear(); }
    bool addNode(const QString& parentKey, const QString& key, const QString& text,
                 const QString& imageKey) override {
        if (find(key) || (!parentKey.isEmpty() && !find(parentKey))) return false;
        nodes.push_back({parentKey, key, text, imageKey});
        return true;
    }
    int nodeCount() const override { return int(nodes.size()); }
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
        for (const ListedNode& n : nodes)
            if (n.key == key) return &n;
        return nullptr;
    }
    ListedNode* find(const QString& key) {
        return const_cast<ListedNode*>(static_cast<const NodeList*>(this)->find(key));
    }
};

}  // namespace lumo
