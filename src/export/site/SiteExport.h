#pragma once
// "Website erstellen ...": the shown project as a website in a folder the
// user chooses, then opened in the browser.
#include <QString>

namespace lumo {

class WorkingStore;
struct ExportContext;

// Asks for the folder (starting in startFolder), makes the site there with
// the progress in the status panel, tells what went wrong or was left out,
// and opens the overview. Returns the folder of the site made, "" when none.
QString websiteCommand(WorkingStore& store, const QString& projectName, const QString& startFolder,
                       const ExportContext& context);

}  // namespace lumo
