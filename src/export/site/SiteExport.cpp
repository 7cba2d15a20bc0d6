#include "export/site/SiteExport.h"

#include <QDir>

#include "base/Ui.h"
#include "export/ExportContext.h"
#include "export/site/SiteBuilder.h"

namespace lumo {

QString websiteCommand(WorkingStore& store, const QString& projectName, const QString& startFolder,
                       const ExportContext& context) {
    Ui& ui = context.ui;
    const QString folder = ui.chooseFolder(QStringLiteral("Ordner für die Website wählen"), startFolder);
    if (folder.isEmpty()) return {};
    SiteReport report;
    QString failed;
    {
        OperationStatus status(context, QStringLiteral("Erzeuge Website"), true);
        failed = writeSite(store, folder, SiteTitle{projectName, {}, {}}, context.options, report,
                           [&context](int done, int total) {
                               context.showStatus(siteProgressText(done, total));
                               if (!context.progress->step(done, total, {})) throw WorkStopped();
                           });
    }
    if (failed == siteStoppedReason()) return {};  // stopped by the user: nothing to tell
    if (!failed.isEmpty()) {
        ui.message(failed, {}, MsgIcon::Warning);
        return {};
    }
    if (!report.leftOut.isEmpty())
        ui.message(QStringLiteral("Die Website ist erstellt, aber ohne den Code dieser Module:\r\n") +
                       report.leftOut.join(QStringLiteral("\r\n")),
                   {}, MsgIcon::Warning);
    const QString index = QDir(folder).filePath(kSiteIndexPage);
    if (!ui.openInViewer(index))
        ui.message(QStringLiteral("Die Website ist erstellt, kann aber nicht im Browser geöffnet werden:\r\n") + index,
                   {}, MsgIcon::Information);
    return folder;
}

}  // namespace lumo
