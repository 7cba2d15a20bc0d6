#pragma once
// What the window benchmarks share: a folder of generated exported modules,
// and the main window over a temporary place with a project read through the
// window's own road (open, tick the first project, "Code Einlesen").
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <functional>
#include <memory>

#include "app/widgets/MainWindow.h"
#include "app/widgets/Trees.h"
#include "base/AppState.h"
#include "base/StartUp.h"
#include "base/Ui.h"
#include "view/widgets/KeyedTree.h"

namespace lumo::bench {

// Modules 1..count as Modul001.bas ... in `folder`, each with the text given; false when one cannot be written.
inline bool writeModuleFolder(const QString& folder, int count, const std::function<QString(int)>& text) {
    QDir().mkpath(folder);
    for (int m = 1; m <= count; ++m) {
        QFile f(folder + QStringLiteral("/Modul%1.bas").arg(m, 3, 10, QLatin1Char('0')));
        if (!f.open(QIODevice::WriteOnly)) return false;
        f.write(text(m).toUtf8());
    }
    return true;
}

// The window with settings and data in `dir`, `source` opened and its first
// project read; codeShown() tells whether that worked. Shown on the screen when `shown`.
inline std::unique_ptr<MainWindow> windowWithProject(const QTemporaryDir& dir, Ui& ui, const QString& source, bool shown) {
    StartupPaths paths;
    paths.programFolder = QStringLiteral(LUMO_BIN_DIR);
    paths.dataFolder = dir.path() + "/data";
    paths.settingsFile = dir.path() + "/settings.ini";
    initSharedState(paths);
    appState().ui = &ui;
    auto window = std::make_unique<MainWindow>();
    window->loadMainWindow({source});
    window->resize(1200, 800);
    if (shown) window->show();
    auto* tree = window->trees().appTree();
    if (tree->topLevelItemCount() == 0) return window;
    tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
    window->readTickedCode();
    return window;
}

}  // namespace lumo::bench
