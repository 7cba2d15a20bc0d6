#pragma once
// The real main window over a scripted host, with the recording UI and
// settings and folders in a temporary place.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "acquire/DocumentHost.h"
#include "app/widgets/CodeArea.h"
#include "app/widgets/CommandBar.h"
#include "app/widgets/MainWindow.h"
#include "app/widgets/StatusPanels.h"
#include "app/widgets/Trees.h"
#include "app/widgets/WindowNavigation.h"
#include "base/AppState.h"
#include "base/StartUp.h"
#include "model/WorkingStore.h"
#include "support/FakeUi.h"
#include "support/GuiApp.h"
#include "view/widgets/CodeView.h"
#include "view/widgets/KeyedTree.h"

namespace lumo::test {

// Projects given in advance; each connection gets a fresh application over
// them. Without projects the host counts as not running.
class ScriptedHost : public HostConnector {
public:
    std::vector<VbaProjectData> projects;
    std::unique_ptr<HostApplication> connect() override {
        if (projects.empty()) throw HostError(QStringLiteral("Kein Host"));
        return makeProjectHost(projects, QStringLiteral("16.0"));
    }
};

inline VbaModule module(const QString& name, int type, const QStringList& lines) {
    return VbaModule{name, type, lines};
}

// A document project with a standard module of two routines, a class and
// ThisDocument.
inline VbaProjectData sampleProject(const QString& name = QStringLiteral("Projekt1")) {
    VbaProjectData p;
    p.name = name;
    p.fileName = "/tmp/" + name + ".docm";
    p.modules.push_back(module("Werkzeuge", 1,
                               {"Option Explicit", "Dim zaehler As Long", "", "Public Sub Starten()",
                                "    zaehler = 1", "    Anzeigen", "End Sub", "",
                                "Private Function Anzeigen() As Long", "    Anzeigen = zaehler", "End Function"}));
    p.modules.push_back(module("Kunde", 2,
                               {"Option Explicit", "Private mName As String", "",
                                "Public Property Get Name() As String", "    Name = mName", "End Property"}));
    p.modules.push_back(module("ThisDocument", 100,
                               {"Option Explicit", "", "Private Sub Document_Open()", "    Starten", "End Sub"}));
    return p;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        guiApp();
        ASSERT_TRUE(dir.isValid());
        saved = appState();
        StartupPaths paths;
        paths.programFolder = QStringLiteral(LUMO_BIN_DIR);
        paths.dataFolder = dir.path() + "/data";
        paths.settingsFile = dir.path() + "/settings.ini";
        initSharedState(paths);
        appState().ui = &ui;
    }
    void TearDown() override {
        if (window) {
            window->close();
            window.reset();
        }
        WorkingStore::instance().closeWorkingDatabase();
        appState() = saved;
    }
    // The window after its load step, listing the scripted projects.
    void open(std::vector<VbaProjectData> projects = {sampleProject()}) {
        host.projects = std::move(projects);
        window = std::make_unique<MainWindow>();
        window->setHostConnector(&host);
        window->loadMainWindow({});
        window->resize(1000, 700);
        QCoreApplication::processEvents();
    }
    QTreeWidgetItem* appItem(const QString& key) { return window->trees().appTree()->item(key); }
    void tick(const QString& key, bool on = true) {
        appItem(key)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    }
    // Items by the object names users and the help page know them by.
    QAction* act(const char* name) {
        QAction* a = window->findChild<QAction*>(QString::fromUtf8(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    QString panel(StatusPanel p) { return window->statusPanels().text(p); }
    // Ticks the first project and reads it (F2).
    void build() {
        tick("A1\\");
        act("mnuBearbeiten_Code")->trigger();
        ASSERT_TRUE(window->codeShown());
    }
    void click(KeyedTree* tree, QTreeWidgetItem* item) {
        tree->scrollToItem(item);
        const QRect r = tree->visualItemRect(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center());
    }

    QTemporaryDir dir;
    AppState saved;
    FakeUi ui;
    ScriptedHost host;
    std::unique_ptr<MainWindow> window;
};

}  // namespace lumo::test
