#pragma once
// The pages of a project's website and the files they share: the overview
// (index.html), one page per module, the routines from A to Z, the style
// sheet with the user's colours, and the search (its index and script).
#include <QString>
#include <QStringList>

#include "base/Options.h"

namespace lumo {

class PageBytes;
class SiteProject;
struct ModuleRow;

struct SiteTitle {
    QString project;      // "Rechnungen" (the project, or the sources read)
    QStringList sources;  // the documents and folders read, as shown
    QStringList leftOut;  // what the reading left out, one line each with the reason
};

inline const QString kSiteIndexPage = QStringLiteral("index.html");
inline const QString kSiteRoutinePage = QStringLiteral("routinen.html");
inline const QString kSiteStyleSheet = QStringLiteral("site.css");
inline const QString kSiteSearchIndex = QStringLiteral("suchindex.js");
inline const QString kSiteSearchScript = QStringLiteral("suche.js");

// The pages as the UTF-8 bytes of their files, added to `out`.
void siteIndexPage(PageBytes& out, const SiteProject& project, const SiteTitle& title);
// All but the module's code: returns where in `out` its codeHtml belongs
// (the code of a large module is not copied once more).
qsizetype siteModulePage(PageBytes& out, const SiteProject& project, const ModuleRow& module, const SiteTitle& title);
void siteRoutinePage(PageBytes& out, const SiteProject& project, const SiteTitle& title);

// Throws HtmlError when a colour of the options cannot be written.
QString siteStyleSheet(const Options& options);
void siteSearchIndex(PageBytes& out, const SiteProject& project);
QString siteSearchScript();

}  // namespace lumo
