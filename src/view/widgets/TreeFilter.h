#pragma once
// The filter line above a tree of modules and their routines: typing hides
// every node whose name does not contain the text (case-insensitive); a
// module stays with all its routines when its own name matches, and with
// the matching ones, opened, when only they match. Rows are hidden, never
// rebuilt, so a large tree keeps up with the typing. Escape empties the
// line, and an empty line gives the tree back as it was before the first
// letter (which modules were open), scrolled to the current node. Enter
// shows the first node whose name matches; Down goes into the tree.
#include <QLineEdit>
#include <QList>
#include <QPersistentModelIndex>

class QTreeWidgetItem;

namespace lumo {

class KeyedTree;

class TreeFilter : public QLineEdit {
    Q_OBJECT
public:
    TreeFilter(KeyedTree* tree, QWidget* parent);

    // Empties the line and shows every node again.
    void reset();
    // The nodes hidden by the filter now.
    int hiddenCount() const { return hidden_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void apply(const QString& text);
    void remember();
    void restore();
    void setShown(QTreeWidgetItem* item, bool shown);

    KeyedTree* tree_;
    bool filtering_ = false;  // the tree's state before filtering is remembered
    QList<QPersistentModelIndex> opened_;
    int hidden_ = 0;
};

}  // namespace lumo
