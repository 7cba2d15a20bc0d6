#include "export/ComparedProject.h"

#include <QDir>
#include <QFileInfo>

#include "acquire/ProjectSource.h"
#include "acquire/ProjectStore.h"
#include "base/AppState.h"
#include "model/CodeDatabase.h"
#include "model/Codes.h"
#include "model/StoreCheck.h"
#include "model/WorkingStore.h"
#include "render/PlainText.h"

namespace lumo {

namespace {

int componentTypeOfStored(int modTyp) {
    switch (modTyp) {
    case ModStandard: return VbaStandardModule;
    case ModClass: return VbaClassModule;
    case ModUserForm: return VbaUserForm;
    case ModDocument: return VbaDocumentModule;
    default: return modTyp;
    }
}

// The stores read their folder from AppState::workFolder: another stored
// project is read with it pointing there, and the shown one's put back however
// the reading ends.
class WorkFolderFor {
public:
    explicit WorkFolderFor(const QString& folder) : saved_(appState().workFolder) {
        appState().workFolder = folder + QLatin1Char('/');
    }
    ~WorkFolderFor() { appState().workFolder = saved_; }

private:
    QString saved_;
};

VbaProjectData readStoredProject(const QString& folder, const Options& options) {
    WorkFolderFor place(folder);
    WorkingStore other;  // the shown project's store stays open as it is
    try {
        other.openWorkingDatabase(StoreAccess::ReadOnly);
        if (const QString damage = storeDamage(other); !damage.isEmpty()) throw ReadError(damage);
        VbaProjectData project = projectOfStore(other, options);
        other.closeWorkingDatabase();
        project.name = QFileInfo(folder).fileName();
        project.fileName = folder;
        return project;
    } catch (const StoreError& e) {
        other.closeWorkingDatabase();
        throw ReadError(QStringLiteral("Das gespeicherte Projekt ist nicht mehr intakt: %1")
                            .arg(QString::fromStdString(e.what())));
    } catch (...) {
        other.closeWorkingDatabase();
        throw;
    }
}

}  // namespace

VbaProjectData projectOfStore(WorkingStore& store, const Options& options) {
    VbaProjectData project;
    for (const ModuleRow& row : modulesByNumber(store)) {
        VbaModule m;
        m.name = row.name;
        m.type = componentTypeOfStored(row.type);
        m.code = EditorText(splitSourceLines(plainTextOfModule(store.readModuleText(row.number), options)));
        project.modules.push_back(std::move(m));
    }
    return project;
}

VbaProjectData readComparedProject(const QString& path, const Options& options) {
    const QFileInfo info(path);
    if (info.isFile() && info.fileName() == QLatin1String("DivuRuvi.mdb"))
        return readStoredProject(QDir::cleanPath(info.absolutePath()), options);
    if (info.isDir() && isStoredProject(path)) return readStoredProject(QDir::cleanPath(info.absoluteFilePath()), options);
    VbaProjectData project = readProjectSource(path);
    if (project.locked) throw ReadError(QStringLiteral("Das VBA-Projekt ist für die Anzeige gesperrt."));
    return project;
}

}  // namespace lumo
