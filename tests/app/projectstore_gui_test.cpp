// Stored projects through the window: save from the menu, the refresh's
// "Ja", the recent list across a restart, a stored folder on the command
// line or dropped on the window.
#include <QDir>
#include <QMimeData>
#include <QProcess>

#include "acquire/RecentProjects.h"
#include "app/MainWindowFixture.h"

using namespace lumo;
using namespace lumo::test;

namespace {

class StoredProjectWindow : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        base = dir.path() + "/Projekte";
        ASSERT_TRUE(QDir().mkpath(base));
    }
    // Quits and starts again over the same settings.
    void restart(const QStringList& arguments = {}) {
        window->close();
        window.reset();
        const QString settings = appState().settingsFile;
        StartupPaths paths{QStringLiteral(LUMO_BIN_DIR), dir.path() + "/data", settings};
        initSharedState(paths);
        appState().ui = &ui;
        window = std::make_unique<MainWindow>();
        window->setHostConnector(&host);
        window->loadMainWindow(arguments);
        QCoreApplication::processEvents();
    }
    QAction* recent(int k) { return window->commandBar().menuAction(Command::OpenRecent, k); }
    QString caption(const QString& name) { return appState().titleText + " Projekt: " + name; }

    QString base;
};

TEST_F(StoredProjectWindow, SavedProjectComesBackFromTheRecentListAfterARestart) {
    open();
    EXPECT_FALSE(act("mnuSpeichern")->isEnabled());
    for (int k = 0; k < kRecentProjects; ++k) EXPECT_FALSE(recent(k)->isVisible());
    build();
    EXPECT_TRUE(act("save")->isEnabled());
    ui.folders = {base};
    act("mnuSpeichern")->trigger();
    const QString stored = base + "/Projekt1/";
    EXPECT_EQ(window->windowTitle(), caption("Projekt1"));  // the project's name was offered and taken
    EXPECT_TRUE(QFileInfo::exists(stored + "DivuRuvi.mdb"));
    EXPECT_EQ(appState().workFolder, stored);
    EXPECT_EQ(recent(0)->text(), "&0 - Projekt1");
    EXPECT_TRUE(recent(0)->isVisible());
    EXPECT_FALSE(recent(1)->isVisible());
    EXPECT_FALSE(act("doit")->isEnabled());

    // Stored: refreshing asks nothing.
    ui.calls.clear();
    act("mnuNeu")->trigger();
    EXPECT_TRUE(ui.calls.empty());

    restart();
    ASSERT_TRUE(recent(0)->isVisible());
    EXPECT_EQ(recent(0)->text(), "&0 - Projekt1");
    recent(0)->trigger();
    EXPECT_EQ(window->windowTitle(), caption("Projekt1"));
    EXPECT_TRUE(window->codeShown());
    EXPECT_EQ(window->trees().projectTree()->topLevelItemCount(), 3);
    EXPECT_TRUE(window->codeArea().visibleView()->text().contains("Sub "));
    EXPECT_TRUE(act("mnuSpeichern")->isEnabled());
    EXPECT_FALSE(act("refresh")->isEnabled());
}

TEST_F(StoredProjectWindow, RefreshYesStoresTheProjectAndAFailedSaveKeepsItShown) {
    open();
    build();
    ui.answers = {Answer::Yes};
    ui.folders = {base};
    ui.inputs = {QString("Gerettet")};
    act("mnuNeu")->trigger();
    EXPECT_TRUE(QFileInfo::exists(base + "/Gerettet/M1.txt"));
    EXPECT_EQ(window->windowTitle(), appState().titleText);  // the refresh went on
    EXPECT_FALSE(window->codeShown());

    build();
    ui.calls.clear();
    ui.answers = {Answer::Yes};
    ui.folders = {base};
    ui.inputs = {QString("..")};
    act("mnuNeu")->trigger();
    EXPECT_EQ(ui.messages(), QStringList{"\"..\" ist kein gültiger Projektname"});
    EXPECT_TRUE(window->codeShown());
    EXPECT_TRUE(window->windowTitle().endsWith(" [nicht gespeichert !!!]"));
}

TEST_F(StoredProjectWindow, AStoredFolderOnTheCommandLineOrDroppedOpensAsAProject) {
    // As the headless build leaves it.
    const QString out = dir.path() + "/Beispiel";
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LUMO_SETTINGS_FILE", dir.path() + "/cli.ini");
    env.insert("LUMO_DATA_DIR", dir.path() + "/clidata");
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(LUMO_BIN_DIR "/codelumo-cli"),
              {"build", "--out", out, QStringLiteral(LUMO_SOURCE_DIR "/samples/Beispielprojekt")});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();

    open();
    restart({out});
    EXPECT_EQ(window->windowTitle(), caption("Beispiel"));
    EXPECT_TRUE(window->codeShown());
    EXPECT_EQ(window->trees().projectTree()->topLevelItemCount(), 4);
    EXPECT_EQ(recent(0)->text(), "&0 - Beispiel");

    act("mnuNeu")->trigger();
    ASSERT_FALSE(window->codeShown());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(out)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_EQ(window->windowTitle(), caption("Beispiel"));
    EXPECT_TRUE(window->codeShown());
    EXPECT_TRUE(window->documentHost()->documents().isEmpty());
}

}  // namespace
