#include "export/StructureListing.h"

#include "base/Ui.h"

namespace lumo {

QString structureListing(const std::vector<ListedNode>& nodes) {
    // Each top-level node followed by its children in node order: the
    // children gathered once instead of one pass over all nodes per parent,
    // and the listing's length known before it is written.
    std::vector<std::vector<int>> children(nodes.size());
    qsizetype length = 0;
    for (size_t j = 0; j < nodes.size(); ++j) {
        const int parent = nodes[j].parent;
        if (parent >= 0 && size_t(parent) < nodes.size()) {
            children[size_t(parent)].push_back(int(j));
            if (nodes[size_t(parent)].parent < 0) length += nodes[j].text.size() + 3;
        } else if (parent < 0) {
            length += nodes[j].text.size() + 2;
        }
    }
    QString out;
    out.reserve(length);
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (nodes[i].parent >= 0) continue;
        out.append(nodes[i].text).append(u"\r\n");
        for (const int j : children[i]) out.append(u'\t').append(nodes[size_t(j)].text).append(u"\r\n");
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
