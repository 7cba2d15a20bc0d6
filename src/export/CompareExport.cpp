#include "export/CompareExport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "acquire/DocumentHost.h"
#include "base/SystemErrors.h"
#include "base/Ui.h"
#include "export/ComparedProject.h"
#include "export/DiffHtml.h"
#include "export/ExportContext.h"
#include "render/HtmlRenderer.h"

namespace lumo {

QString compareCommand(WorkingStore& store, const QString& projectName, const QString& startFolder,
                       const ExportContext& context) {
    const QString filter = QStringLiteral(
        "Office-Dateien mit VBA (*.doc *.docm *.dot *.dotm *.xls *.xlsm *.xlsb *.xla *.xlam *.xlt *.xltm "
        "*.ppt *.pptm *.pot *.potm *.ppam *.bin);;"
        "Exportierte Module, ihr Ordner wird verglichen (*.bas *.cls *.frm);;"
        "Gespeicherte Projekte (DivuRuvi.mdb);;"
        "Alle Dateien (*)");
    const QStringList chosen = context.ui.chooseOpenFiles(QStringLiteral("Vergleichen mit"), startFolder, filter);
    if (chosen.isEmpty()) return {};
    const QString path = documentTargetOf(chosen.first());
    const QString shown = QDir::toNativeSeparators(path);
    QString html;
    {
        OperationStatus status(context, QStringLiteral("Vergleiche mit ") + shown, true);
        VbaProjectData other;
        try {
            other = readComparedProject(path, context.options);
        } catch (const ReadError& e) {
            context.ui.message(QStringLiteral("%1 kann nicht gelesen werden: %2").arg(shown, e.message()), {},
                               MsgIcon::Warning);
            return {};
        }
        const ProjectDiff diff = compareProjects(projectOfStore(store, context.options), other);
        try {
            html = diffHtmlPage(diff, projectName, shown, context.options);
        } catch (const HtmlError& e) {
            context.ui.message(QString::fromUtf8(e.what()));
            return {};
        }
        // Modules that could not be read would show as removed: the user is told why.
        if (!other.problems.isEmpty()) context.ui.message(other.problems.join(u'\n'), {}, MsgIcon::Warning);
    }
    QFile file(context.previewFile);
    const QByteArray bytes = html.toUtf8();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush()) {
        context.ui.message(QStringLiteral("Die Vorschau ") + QDir::toNativeSeparators(context.previewFile) +
                           QStringLiteral(" kann nicht geschrieben werden: ") + germanSystemText(file.errorString()));
        return {};
    }
    file.close();
    if (!context.ui.openInViewer(context.previewFile))
        context.ui.message(QStringLiteral("Vorschau nicht möglich, vermutlich kein IE installiert"));
    return path;
}

}  // namespace lumo
