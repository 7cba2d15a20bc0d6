#include "acquire/OfficeBuild.h"

#include "base/AppState.h"
#include "model/WorkingStore.h"

#include "base/SystemErrors.h"
#include "base/Ui.h"
#include "model/ProjectBuild.h"

namespace lumo {

namespace {

// The node text a project gets in the listing, to tell whether the project at
// a position is still the one the user ticked.
QString projectNodeText(HostProject& project) {
    QString fileName;
    try {
        fileName = project.fileName();
    } catch (const std::exception&) {
        fileName = QStringLiteral("Nicht gespeichert");
    }
    const QString filePart = fileName.mid(std::max(fileName.lastIndexOf(u'\\'), fileName.lastIndexOf(u'/')) + 1);
    return project.name() + QLatin1String(" [") + filePart + QLatin1String("]");
}

const AppNode* findNode(const AppTree& tree, const QString& key) {
    for (const AppNode& n : tree)
        if (n.key == key) return &n;
    return nullptr;
}

// The text of the ticked components, in characters: a character of exported
// source is a byte of its file. One that cannot be reached counts nothing
// here; the build names it when it comes to it.
qint64 tickedTextSize(HostApplication& app, const AppTree& tree) {
    qint64 size = 0;
    for (std::size_t i = 0; i < tree.size(); ++i) {
        const AppNode& node = tree[i];
        if (!node.checked || hasChildren(tree, i)) continue;
        try {
            const HostComponent& component = app.project(projectPosition(node.key)).component(componentName(node.key));
            size += component.lines(1, component.countOfLines()).size();
        } catch (const std::exception&) {
        }
    }
    return size;
}

}  // namespace

QString tickedOverBudgetMessage(qint64 size, qint64 budget) {
    auto mb = [](qint64 n) { return (n + 1024 * 1024 - 1) / (1024 * 1024); };
    return QStringLiteral("Die ausgewählten Module werden nicht eingelesen: zusammen sind es %1 MB, mehr als die "
                          "%2 MB Quelltext, die ein Projekt haben darf. Bitte wählen Sie weniger Module aus.")
        .arg(mb(size))
        .arg(mb(budget));
}

int moduleTypeOfComponent(int componentType) {
    switch (componentType) {
    case 100: return 5;
    case 1: return 2;
    case 2: return 3;
    case 3: return 1;
    default: return 32;
    }
}

QString builtProjectCaption(const QString& titleText, const QString& projectName) {
    return titleText + QLatin1String(" Projekt: ") + projectName + QLatin1String(" [nicht gespeichert !!!]");
}

OfficeBuildResult buildFromOffice(HostConnector& connector, const AppTree& tree, Ui& ui, const BuildStatus& status,
                                  Progress& progress, qint64 sourceBudget) {
    OfficeBuildResult result;
    auto show = [&](StatusPanel panel, const QString& text) {
        if (status) status(panel, text);
    };
    OfficeConnection office = connectOffice(connector);
    if (!office) return result;
    if (const qint64 size = tickedTextSize(*office.app, tree); size > sourceBudget) {
        result.overBudget = true;
        ui.message(tickedOverBudgetMessage(size, sourceBudget), {}, MsgIcon::Warning);
        return result;
    }

    show(PanelOperation, QStringLiteral("Erzeuge Projekt"));
    ProjectBuild build(ui, WorkingStore::instance(), appState().options);
    bool begun = false;
    QString current;  // the component being read
    bool failed = false;
    QString storeFailure;  // the cause in German when the store, not the code, failed
    try {
        begun = build.begin();
        if (!begun) {
            show(PanelOperation, QString());
            return result;
        }
        int currentPosition = 0;
        HostProject* project = nullptr;
        int total = 0;
        for (std::size_t i = 0; i < tree.size(); ++i) total += tree[i].checked && !hasChildren(tree, i);
        int done = 0;
        for (std::size_t i = 0; i < tree.size(); ++i) {
            const AppNode& node = tree[i];
            if (!node.checked || hasChildren(tree, i)) continue;
            const QString name = componentName(node.key);
            current = name;
            if (!progress.step(++done, total, name)) {
                result.stopped = true;
                break;
            }
            // Each component is read from the project its key names; the
            // window lets only one project be ticked, the headless build
            // may tick several.
            const int position = projectPosition(node.key);
            if (!project || position != currentPosition) {
                project = &office.app->project(position);
                currentPosition = position;
                const AppNode* projectNode = findNode(tree, projectPrefix(node.key));
                if (projectNode && projectNode->text != projectNodeText(*project))
                    throw HostError(QStringLiteral("Das Projekt %1 ist nicht mehr geöffnet.").arg(projectNode->text));
                if (result.projectName.isEmpty()) result.projectName = project->name();
            }
            HostComponent& component = project->component(name);
            const int modTyp = moduleTypeOfComponent(component.type());
            const int n = component.countOfLines();
            show(PanelModule, QStringLiteral("Modul: ") + name);
            const QString text = component.lines(1, n);
            if (build.addModuleOrLeaveOut(name, modTyp, text)) ++result.modules;
        }
        // Nothing read is nothing to show.
        result.ok = !result.stopped && (result.modules > 0 || build.leftOut().empty());
        if (!build.leftOut().empty()) result.failedModule = build.leftOut().front().name;
    } catch (const StoreError& e) {
        // The disk, not the code: the lines about code constructs would send
        // the user looking in the wrong place.
        result.ok = false;
        failed = true;
        result.failedModule = current;
        storeFailure = QStringLiteral("Das Projekt kann nicht im Arbeitsordner gespeichert werden: %1")
                           .arg(germanSystemText(QString::fromStdString(e.what())));
    } catch (const std::exception&) {
        result.ok = false;
        failed = true;
        result.failedModule = current;
    }
    result.leftOut = build.leftOut();
    if (result.stopped) {
        // Stopped on purpose: nothing to warn about, and no module to name.
        result.failedModule.clear();
        show(PanelOperation, QString());
    } else if (failed || !result.leftOut.empty()) {
        QString title;
        if (!result.failedModule.isEmpty()) {
            title = buildFailedTitle(result.failedModule);
            show(PanelOperation, QStringLiteral("Modul: ") + result.failedModule);
        } else {
            show(PanelOperation, QString());
        }
        ui.message(storeFailure.isEmpty() ? buildFailedWarning(result.leftOut) : storeFailure, title, MsgIcon::Warning);
    } else {
        show(PanelOperation, QString());
    }
    build.finish();
    return result;
}

}  // namespace lumo
