// "codelumo-cli build": a project from module files, as the project builder
// makes it from ticked components: a fresh copy of the template in the
// output folder, then one module per file in the given order.
#include <algorithm>

#include <QDir>
#include <QRegularExpression>
#include <QTextStream>

#include <QFile>
#include <QFileInfo>

#include "acquire/DocumentHost.h"
#include "acquire/ModuleFile.h"
#include "acquire/OfficeBuild.h"
#include "acquire/OfficeListing.h"
#include "app/HostTable.h"
#include "app/AppState.h"
#include "cli/CliCommand.h"
#include "cli/CliState.h"
#include "cli/ConsoleUi.h"
#include "model/ProjectBuild.h"
#include "model/WorkingStore.h"

namespace lumo::cli {

namespace {

struct BuildArgs {
    QString out;
    QStringList files;
};

// Switches that shape the stored text; the ones not given keep the user's setting.
bool applySwitch(const QString& arg, Options& o) {
    struct Switch {
        const char* name;
        bool Options::*field;
    };
    static const Switch switches[] = {
        {"einr", &Options::einr}, {"leer", &Options::leer}, {"rle", &Options::rle}, {"rer", &Options::rer}};
    for (const Switch& s : switches) {
        if (arg == QLatin1String("--") + QLatin1String(s.name)) {
            o.*s.field = true;
            return true;
        }
        if (arg == QLatin1String("--no-") + QLatin1String(s.name)) {
            o.*s.field = false;
            return true;
        }
    }
    return false;
}

// Earlier module texts in the folder would outlive the build and pass for
// modules of the new project; only files of that exact form are removed.
void removeOldModuleTexts(const QString& folder) {
    static const QRegularExpression moduleText(QStringLiteral("^M[0-9]+\\.txt$"));
    QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files))
        if (moduleText.match(name).hasMatch()) dir.remove(name);
}

// A folder of exported modules, or a file that is an OLE2 or ZIP container.
bool isDocumentOrFolder(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir()) return true;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = f.read(8);
    return head == QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) || head.startsWith("PK\x03\x04");
}

// Documents and folders are opened in the document host; every component it
// lists is ticked, in listing order, and read as the program reads ticked
// components. Exported module files among them are projects of one module.
int buildFromDocuments(const BuildArgs& b) {
    ConsoleUi ui;
    DocumentHost host(&ui);
    for (const QString& f : b.files) host.open(f);
    AppTree tree;
    int officeVersion = 0;
    const bool ok = listOfficeProjects(host, tree, officeVersion, ui);
    for (AppNode& n : tree)
        if (!n.parentKey.isEmpty()) n.checked = true;
    if (!ok || tree.empty()) {
        printError(refreshExplanation(ok, tree, officeVersion, QString::fromLatin1(hostRow(LUMO_HOST_KIND).name), true));
        return 1;
    }
    if (!QDir().mkpath(b.out)) {
        printError(QStringLiteral("Der Ordner %1 kann nicht angelegt werden").arg(b.out));
        return 1;
    }
    appState().workFolder = QDir(b.out).absolutePath() + QLatin1Char('/');
    removeOldModuleTexts(appState().workFolder);
    QString current;
    const OfficeBuildResult result = buildFromOffice(host, tree, ui, [&](int panel, const QString& text) {
        if (panel == 1) current = text;
    });
    if (!result.ok) {
        // The warning lists the modules left out, not the one being read
        // when the build failed.
        const bool onlyLeftOut = !result.leftOut.empty() && result.failedModule == result.leftOut.front().name;
        if (!current.isEmpty() && !onlyLeftOut) printError(current);
        return 1;
    }
    QTextStream(stdout) << appState().workFolder << ": " << result.modules << " Module, "
                        << WorkingStore::instance().routineCounter << " Routinen\n";
    // The modules left out were named in the warning on standard error.
    return result.leftOut.empty() ? 0 : 1;
}

int runBuild(const QStringList& args) {
    initCliState();
    Options& options = appState().options;
    BuildArgs b;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--out")) {
            if (i + 1 >= args.size()) {
                printError(QStringLiteral("--out braucht einen Ordner"));
                return 2;
            }
            b.out = args[++i];
        } else if (applySwitch(a, options)) {
        } else if (a.startsWith(QLatin1String("--"))) {
            printError(QStringLiteral("Unbekannte Option: ") + a);
            return 2;
        } else {
            b.files << a;
        }
    }
    if (b.out.isEmpty()) {
        printError(QStringLiteral("Aufruf: codelumo-cli build --out ORDNER [--einr|--no-einr] [--leer|--no-leer] "
                                  "[--rle|--no-rle] [--rer|--no-rer] QUELLE..."));
        return 2;
    }

    if (std::any_of(b.files.begin(), b.files.end(), isDocumentOrFolder)) return buildFromDocuments(b);

    // Every file is read before the store is touched: an unreadable file
    // leaves the output folder as it was.
    std::vector<ModuleSource> modules;
    try {
        for (const QString& f : b.files) modules.push_back(readModuleFile(f));
    } catch (const std::exception& e) {
        printError(QString::fromStdString(e.what()));
        return 1;
    }

    if (!QDir().mkpath(b.out)) {
        printError(QStringLiteral("Der Ordner %1 kann nicht angelegt werden").arg(b.out));
        return 1;
    }
    appState().workFolder = QDir(b.out).absolutePath() + QLatin1Char('/');

    ConsoleUi ui;
    ProjectBuild build(ui, WorkingStore::instance(), appState().options);
    try {
        if (!build.begin()) return 1;
        removeOldModuleTexts(appState().workFolder);
        for (const ModuleSource& m : modules) {
            try {
                build.addModuleOrLeaveOut(m.name, m.modTyp, m.code);
            } catch (const std::exception& e) {
                build.finish();
                printError(buildFailedWarning(build.leftOut()));
                printError(QStringLiteral("Modul: %1 (%2)").arg(m.name, QString::fromStdString(e.what())));
                return 1;
            }
        }
    } catch (const std::exception& e) {
        build.finish();
        printError(QString::fromStdString(e.what()));
        return 1;
    }
    const qint32 routineCount = WorkingStore::instance().routineCounter;
    const std::vector<LeftOutModule> leftOut = build.leftOut();
    build.finish();
    // A module that cannot be parsed costs only itself: the others are
    // built, and it is named with its reason.
    if (!leftOut.empty()) printError(buildFailedWarning(leftOut));
    QTextStream(stdout) << appState().workFolder << ": " << modules.size() - leftOut.size() << " Module, "
                        << routineCount << " Routinen\n";
    return leftOut.empty() ? 0 : 1;
}

CliRegistration reg{{"build",
                     "build --out ORDNER [--einr|--no-einr] [--leer|--no-leer] [--rle|--no-rle] [--rer|--no-rer] "
                     "QUELLE...   Projekt aus Moduldateien, Dokumenten oder Modulordnern erzeugen",
                     runBuild}};

}  // namespace

}  // namespace lumo::cli
