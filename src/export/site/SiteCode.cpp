#include "export/site/SiteCode.h"

#include "export/site/PageBytes.h"
#include "model/TaggedText.h"
#include "render/HtmlCodeWriter.h"

namespace lumo {

namespace {

const HtmlCodeMarkup& siteMarkup() {
    static const HtmlCodeMarkup markup = [] {
        HtmlCodeMarkup m;
        m.lineElements = true;
        m.colours[size_t(ColourSlot::Keyword)] = "<span class=\"k\">";
        m.colours[size_t(ColourSlot::Comment)] = "<span class=\"c\">";
        m.colours[size_t(ColourSlot::String)] = "<span class=\"s\">";
        m.routineLine = "<span class=\"r\">";
        return m;
    }();
    return markup;
}

// The site's additions to the writer: links from SiteCodeLinks, and the
// anchors of the routines that begin on a line.
class SiteHooks {
public:
    static constexpr bool kLinks = true;

    SiteHooks(SiteCodeLinks& links, const std::vector<SiteAnchor>& anchors)
        : links_(links), anchor_(anchors.begin()), anchorsEnd_(anchors.end()) {}

    QByteArrayView link(QStringView word, int line) { return links_.link(word, line); }

    // Lines start in order: the next anchor to write is all that is kept.
    void lineStarted(PageBytes& out, int line) {
        while (anchor_ != anchorsEnd_ && anchor_->line < line) ++anchor_;
        for (; anchor_ != anchorsEnd_ && anchor_->line == line; ++anchor_) {
            out.add("<a id=\"");
            out.add(anchor_->id);
            out.add("\"></a>");
        }
    }

private:
    SiteCodeLinks& links_;
    std::vector<SiteAnchor>::const_iterator anchor_;
    std::vector<SiteAnchor>::const_iterator anchorsEnd_;
};

}  // namespace

void writeSiteCode(PageBytes& out, QStringView tagged, SiteCodeLinks& links, const std::vector<SiteAnchor>& anchors) {
    SiteHooks hooks(links, anchors);
    HtmlCodeWriter writer(out, siteMarkup(), hooks);
    readTagged(tagged, writer);
    writer.finish();
}

}  // namespace lumo
