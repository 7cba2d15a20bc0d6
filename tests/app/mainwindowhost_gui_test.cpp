// The road from documents into the window: what is told at start, when
// documents are opened, and what a read refuses to do.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "app/MainWindowFixture.h"
#include "app/RunSession.h"

namespace lumo::test {

namespace {

// Records, with each message, whether the window was on screen to carry it.
class WatchingUi : public FakeUi {
public:
    const std::unique_ptr<MainWindow>* window = nullptr;
    std::vector<bool> windowVisible;
    void message(const QString& text, const QString& title, MsgIcon icon) override {
        windowVisible.push_back(*window && (*window)->isVisible());
        FakeUi::message(text, title, icon);
    }
};

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

TEST_F(MainWindowTest, StartMessagesShowOverTheWindowAndEachOpenTellsItsOwnFailures) {
    const QString bad = dir.path() + "/kaputt.doc";
    write(bad, "keine Office-Datei");
    const QString good = QStringLiteral(LUMO_SOURCE_DIR "/samples/Beispielprojekt");
    WatchingUi watching;
    watching.window = &window;
    appState().ui = &watching;
    window = std::make_unique<MainWindow>();
    window->loadMainWindow({bad, dir.path() + "/fehlt.docm"});
    ASSERT_EQ(watching.messages().size(), 2);
    EXPECT_EQ(watching.windowVisible, std::vector<bool>({true, true}));
    EXPECT_TRUE(watching.messages()[0].contains("fehlt.docm"));
    EXPECT_TRUE(watching.messages()[1].contains("kaputt.doc: Die Datei ist keine Office-Datei"));

    // A good document opened next: nothing about the bad one again.
    window->openDocuments({good});
    EXPECT_EQ(watching.messages().size(), 2);
    EXPECT_EQ(window->trees().appTree()->topLevelItem(0)->text(0), "Beispielprojekt [Beispielprojekt]");
    // The bad one opened again: told again, and alone.
    window->openDocuments({bad});
    ASSERT_EQ(watching.messages().size(), 3);
    EXPECT_TRUE(watching.messages()[2].contains("kaputt.doc"));
    EXPECT_FALSE(watching.messages()[2].contains("Beispielprojekt"));
    window->close();
    window.reset();
    appState().ui = &ui;
}

TEST_F(MainWindowTest, CancelOnTheSaveQuestionCancelsTheOpen) {
    open();
    build();
    ui.answers = {Answer::Cancel};
    window->openDocuments({QStringLiteral(LUMO_SOURCE_DIR "/samples/Beispielprojekt")});
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_EQ(ui.calls[0].text, "Projekt wurde nicht gespeichert !\r\nProjekt jetzt speichern ?");
    EXPECT_TRUE(window->documentHost()->documents().isEmpty());
    EXPECT_TRUE(window->codeShown());
    EXPECT_TRUE(window->windowTitle().endsWith("[nicht gespeichert !!!]"));
    // Answered No, the document joins and the list is made again.
    ui.answers = {Answer::No};
    window->openDocuments({QStringLiteral(LUMO_SOURCE_DIR "/samples/Beispielprojekt")});
    EXPECT_EQ(window->documentHost()->documents().size(), 1);
    EXPECT_FALSE(window->codeShown());
    EXPECT_EQ(window->windowTitle(), appState().titleText);
}

TEST_F(MainWindowTest, WithoutARunFolderOfItsOwnReadingRefusesAndDeletesNothing) {
    open();
    // As after a failed start: the run works in TempRoot, shared with others.
    runSession().shutdown();
    AppState& state = appState();
    state.runFolder = state.tempRoot;
    state.workFolder = state.tempRoot;
    QDir().mkpath(state.tempRoot + "T_5");
    write(state.tempRoot + "T_5/DivuRuvi.mdb", "eines anderen Laufs");
    tick("A1\\");
    act("mnuBearbeiten_Code")->trigger();
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0], "Code kann nicht eingelesen werden: der Arbeitsordner dieses Laufs unter " +
                                    state.tempRoot + " konnte nicht angelegt werden.");
    EXPECT_TRUE(QFile::exists(state.tempRoot + "T_5/DivuRuvi.mdb"));
    EXPECT_FALSE(window->codeShown());
}

}  // namespace lumo::test

namespace lumo::test {

TEST_F(MainWindowTest, AFolderOfModulesIsChosenAsAFolder) {
    open({});
    window->setHostConnector(nullptr);  // the document host
    ui.folders = {QString()};           // cancelled: nothing happens
    act("mnuModulordner")->trigger();
    EXPECT_TRUE(window->documentHost()->documents().isEmpty());
    ui.folders = {QStringLiteral(LUMO_SOURCE_DIR "/samples/Beispielprojekt")};
    act("mnuModulordner")->trigger();
    EXPECT_EQ(window->documentHost()->documents(), QStringList{QStringLiteral(LUMO_SOURCE_DIR "/samples/Beispielprojekt")});
    EXPECT_EQ(window->trees().appTree()->topLevelItem(0)->text(0), "Beispielprojekt [Beispielprojekt]");
    ASSERT_GE(ui.calls.size(), 2u);
    EXPECT_EQ(ui.calls[1].kind, "folder");
    EXPECT_EQ(ui.calls[1].title, "Modulordner öffnen");
}

}  // namespace lumo::test
