#pragma once
// A module's code as the body of its web page: coloured as the HTML export
// colours it (the colours themselves come from the page's style sheet),
// every line an element with the anchor "L<n>" (its number is drawn by the
// style sheet), routines with anchors of their own, and declared names
// linked to where they are declared. The words that call routines are
// found in the same reading, as the caller search finds them in the text.
#include <vector>

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

namespace lumo {

class PageBytes;

// A word of the code as the page meets it.
struct SiteWord {
    QStringView text;
    int line = 0;          // of the page, whose lines end at line feeds
    int callLine = 0;      // as the caller search counts lines: by carriage returns
    bool linkable = false;  // plain code: a name that may link
    bool calling = false;   // outside keywords, comments, strings and routine lines: a name that may call
};

// What the code asks about its words, once for each.
class SiteCodeWords {
public:
    virtual ~SiteCodeWords() = default;
    // The link of a linkable word, escaped for the page; empty for none.
    virtual QByteArrayView seen(const SiteWord& word) = 0;
};

// An anchor id (escaped) that stands at a line: a routine's first line.
struct SiteAnchor {
    int line = 0;
    QByteArray id;
};

// The inside of the <pre> element. anchors: by line.
void writeSiteCode(PageBytes& out, QStringView tagged, SiteCodeWords& words, const std::vector<SiteAnchor>& anchors);

}  // namespace lumo
