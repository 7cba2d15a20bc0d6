#pragma once
// What the tree logic asks of a tree of keyed nodes (treProjekt,
// treRoutSuche, treApp). The widget (view/widgets/KeyedTree) implements it;
// NodeList (a plain list) does where there is no window.
#include <QString>
#include <QStringList>

namespace lumo {

class NodeTree {
public:
    virtual ~NodeTree() = default;

    virtual void clear() = 0;
    // Adds a node under the node keyed `parentKey` ("" adds a root node).
    // False when the parent does not exist or the key is taken.
    virtual bool addNode(const QString& parentKey, const QString& key, const QString& text,
                         const QString& imageKey) = 0;
    virtual int nodeCount() const = 0;
    virtual bool hasNode(const QString& key) const = 0;
    virtual QString nodeText(const QString& key) const = 0;
    virtual void expandAll() = 0;
    // Colours as 0xRRGGBB. False when no node has that key.
    virtual bool setNodeColors(const QString& key, quint32 background, quint32 foreground) = 0;
    // Bulk changes are bracketed by setRedraw(false) ... setRedraw(true).
    virtual void setRedraw(bool on) = 0;
};

}  // namespace lumo
