#include "view/NodeList.h"

namespace lumo {

void NodeList::clear() {
    nodes_.clear();
    index_.clear();
}

bool NodeList::addNode(const QString& parentKey, const QString& key, const QString& text, const QString& imageKey) {
    if (index_.contains(key)) return false;
    int parent = -1;
    if (!parentKey.isEmpty()) {
        const auto it = index_.constFind(parentKey);
        if (it == index_.cend()) return false;
        parent = it.value();
    }
    index_.insert(key, int(nodes_.size()));
    nodes_.push_back({parentKey, key, text, imageKey, parent});
    return true;
}

QString NodeList::nodeText(const QString& key) const {
    const ListedNode* n = find(key);
    return n ? n->text : QString();
}

bool NodeList::setNodeColors(const QString& key, quint32 background, quint32 foreground) {
    const auto it = index_.constFind(key);
    if (it == index_.cend()) return false;
    nodes_[size_t(it.value())].background = background;
    nodes_[size_t(it.value())].foreground = foreground;
    return true;
}

const ListedNode* NodeList::find(const QString& key) const {
    const auto it = index_.constFind(key);
    return it == index_.cend() ? nullptr : &nodes_[size_t(it.value())];
}

}  // namespace lumo
