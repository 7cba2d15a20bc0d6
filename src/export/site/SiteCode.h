#pragma once
// A module's code as the body of its web page, written by the one writer
// of code as HTML (render/HtmlCodeWriter) with the site's markup and hooks:
// the colours as classes of the page's style sheet, every line an element
// with the anchor "L<n>" (its number is drawn by the style sheet), routines
// with anchors of their own at their first lines, and declared names
// linked to where they are declared.
#include <vector>

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

namespace lumo {

class PageBytes;

// What the code asks about a word of plain code, once for each.
class SiteCodeLinks {
public:
    virtual ~SiteCodeLinks() = default;
    // The link of `word` on line `line` of the page (its lines end at line
    // feeds), escaped for the page; empty for none.
    virtual QByteArrayView link(QStringView word, int line) = 0;
};

// An anchor id (escaped) that stands at a line: a routine's first line.
struct SiteAnchor {
    int line = 0;
    QByteArray id;
};

// The inside of the <pre> element. anchors: by line.
void writeSiteCode(PageBytes& out, QStringView tagged, SiteCodeLinks& links, const std::vector<SiteAnchor>& anchors);

}  // namespace lumo
