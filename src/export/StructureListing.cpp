#include "export/StructureListing.h"

#include "base/Ui.h"

namespace lumo {

QString structureListing(const std::vector<ListedNode>& nodes) {
    // Each top-level node followed by its children in node order: the
    // children gathered once instead of one pass over all nodes per parent.
    std::vector<std::vector<int>> children(nodes.size());
    for (size_t j = 0; j < nodes.size(); ++j) {
        const int parent = nodes[j].parent;
        if (parent >= 0 && size_t(parent) < nodes.size()) children[size_t(parent)].push_back(int(j));
    }
    QString out;
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].parent >= 0) continue;
        out += nodes[i].text + QStringLiteral("\r\n");
        for (const int j : children[i]) out += QLatin1Char('\t') + nodes[size_t(j)].text + QStringLiteral("\r\n");
    }
    return out;
}

void structureToClipboard(const std::vector<ListedNode>& nodes, Ui& ui, bool meld, const QString& title) {
    const QString listing = structureListing(nodes);
    ui.clearClipboard();
    ui.setClipboardText(listing);
    if (meld) ui.message(QStringLiteral("Struktur in der Zwischenablage erstellt"), title, MsgIcon::Information);
}

}  // namespace lumo
