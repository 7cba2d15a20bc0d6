#pragma once
// What the tree logic asks of a tree of keyed nodes (treProjekt,
// treRoutSuche, treApp). The widget (view/widgets/KeyedTree) implements it;
// NodeList (a plain list) does where there is no window.
#include <memory>

#include <QString>
#include <QStringList>

namespace lumo {

// Nodes a tree need not make before it is asked for them: a project's tree
// holds many thousand routines, and most modules are never opened. A node
// is told by its position in the source (0-based, in the source's order).
class NodeSource {
public:
    virtual ~NodeSource() = default;
    virtual QString key(int at) const = 0;
    virtual QString text(int at) const = 0;
    virtual QString imageKey(int at) const = 0;
    // The position of the node keyed `key`, or -1 when the source has none.
    virtual int find(const QString& key) const = 0;
};

class NodeTree {
public:
    virtual ~NodeTree() = default;

    virtual void clear() = 0;
    // Adds a node under the node keyed `parentKey` ("" adds a root node).
    // False when the parent does not exist or the key is taken.
    virtual bool addNode(const QString& parentKey, const QString& key, const QString& text,
                         const QString& imageKey) = 0;
    // The nodes [first, last) of `source` under the node keyed `parentKey`,
    // as addNode would add them one by one; a tree may make them only when
    // they are looked up, listed or their parent is opened. Their keys are
    // new to the tree and differ from each other. False when the parent
    // does not exist.
    virtual bool addNodesLater(const QString& parentKey, const std::shared_ptr<const NodeSource>& source, int first,
                               int last) {
        if (!hasNode(parentKey)) return false;
        for (int at = first; at < last; ++at) addNode(parentKey, source->key(at), source->text(at), source->imageKey(at));
        return true;
    }
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
