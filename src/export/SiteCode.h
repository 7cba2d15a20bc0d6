#pragma once
// A module's code as the body of its web page: coloured as the HTML export
// colours it (the colours themselves come from the page's style sheet),
// every line an element with the anchor "L<n>" (its number is drawn by the
// style sheet), routines with anchors of their own, and declared names
// linked to where they are declared.
#include <functional>

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace lumo {

// The link of a name on a line, "" for none.
using SiteLinkOf = std::function<QString(QStringView name, int line)>;

// The inside of the <pre> element. routineAnchors: the anchor ids that
// stand at a line (a routine's first line).
QString siteCodeHtml(QStringView tagged, const SiteLinkOf& linkOf, const QHash<int, QStringList>& routineAnchors);

// Text and attribute values for HTML5: "&", "<", ">" and the quote as
// entities, control characters (but tab and line breaks) as U+FFFD.
void appendSiteEscaped(QString& out, QStringView text);
QString siteEscaped(QStringView text);

}  // namespace lumo
