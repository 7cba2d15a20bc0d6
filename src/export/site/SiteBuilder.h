#pragma once
// A project as a static website: the overview, a page per module, the
// routines from A to Z, the style sheet and the search. The files are made
// in a folder of their own and put in place of the output folder only when
// complete (SiteFolder.h).
#include <functional>
#include <stdexcept>

#include <QString>
#include <QStringList>

#include "base/Options.h"
#include "export/site/SitePages.h"

namespace lumo {

class WorkingStore;

// A file of the site that cannot be written; what() is the German reason.
class SiteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SiteReport {
    int modules = 0;
    int routines = 0;
    QStringList leftOut;  // modules whose code could not be read, with the reason
};

// Called before each module's code is written: done of total.
using SiteProgress = std::function<void(int done, int total)>;

// Writes every file of the site into `folder` (an empty one); a file that
// `previous` (the site made before, if any) holds with the same bytes is
// linked from there. Throws StoreError (the tables), SiteError (a file),
// HtmlError (a colour).
SiteReport writeSiteFiles(WorkingStore& store, const QString& folder, const SiteTitle& title, const Options& options,
                          const SiteProgress& progress = {}, const QString& previous = {});

// "Modul 3 von 120 ...": the progress as the status panel shows it.
QString siteProgressText(int done, int total);

// Makes the site of the store's project in `folder` as SiteFolder.h
// describes. Empty on success (report filled), else the German reason;
// siteStoppedReason() when `progress` threw WorkStopped (the user stopped it).
QString writeSite(WorkingStore& store, const QString& folder, const SiteTitle& title, const Options& options,
                  SiteReport& report, const SiteProgress& progress = {});
QString siteStoppedReason();

}  // namespace lumo
