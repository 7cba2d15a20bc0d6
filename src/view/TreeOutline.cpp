#include "view/TreeOutline.h"

namespace lumo {

void TreeOutline::clear() {
    nodes.clear();
    index_.clear();
}

bool TreeOutline::addNode(const QString& parentKey, const QString& key, const QString& text, const QString& imageKey) {
    if (index_.contains(key)) return false;
    int parent = -1;
    if (!parentKey.isEmpty()) {
        const auto it = index_.constFind(parentKey);
        if (it == index_.cend()) return false;
        parent = it.value();
    }
    index_.insert(key, int(nodes.size()));
    nodes.push_back({key, text, imageKey, parent});
    return true;
}

QString TreeOutline::nodeText(const QString& key) const {
    const OutlineNode* n = node(key);
    return n ? n->text : QString();
}

const OutlineNode* TreeOutline::node(const QString& key) const {
    const auto it = index_.constFind(key);
    return it == index_.cend() ? nullptr : &nodes[size_t(it.value())];
}

}  // namespace lumo
