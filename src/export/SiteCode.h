#pragma once
// A module's code as the body of its web page: coloured as the HTML export
// colours it (the colours themselves come from the page's style sheet),
// every line an element with the anchor "L<n>" (its number is drawn by the
// style sheet), routines with anchors of their own, and declared names
// linked to where they are declared.
#include <functional>
#include <vector>

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

namespace lumo {

class PageBytes;

// The link of a name on a line, escaped for the page; empty for none.
using SiteLinkOf = std::function<QByteArrayView(QStringView name, int line)>;

// An anchor id (escaped) that stands at a line: a routine's first line.
struct SiteAnchor {
    int line = 0;
    QByteArray id;
};

// The inside of the <pre> element. anchors: by line.
void writeSiteCode(PageBytes& out, QStringView tagged, const SiteLinkOf& linkOf, const std::vector<SiteAnchor>& anchors);

}  // namespace lumo
