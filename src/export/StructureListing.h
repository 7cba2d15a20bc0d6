#pragma once
// The outline of the tree that is shown, as plain text: every top-level node
// on a line of its own, each of its direct children below it after a tab.
#include <vector>

#include <QString>

#include "view/NodeList.h"

namespace lumo {

class Ui;

// Two levels in node order (the order the nodes were added), every line
// ending in CR LF; deeper nodes are left out.
QString structureListing(const std::vector<ListedNode>& nodes);

// The listing to the emptied clipboard; with meld, the message titled `title`.
void structureToClipboard(const std::vector<ListedNode>& nodes, Ui& ui, bool meld, const QString& title);

}  // namespace lumo
