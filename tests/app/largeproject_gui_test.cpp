// A large project through the window: the window keeps answering while it
// reads and shows, panel 5 tells how far it is, Escape and the button stop
// the work and leave things as they were, and only the modules looked at get
// a code view.
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/MainWindowFixture.h"
#include "acquire/ProjectStore.h"
#include "app/widgets/WorkProgress.h"

using namespace lumo;
using namespace lumo::test;

namespace {

constexpr int kModules = 400;

VbaProjectData largeProject() {
    VbaProjectData p;
    p.name = "Gross";
    p.fileName = "/tmp/Gross.docm";
    for (int m = 1; m <= kModules; ++m) {
        const QString n = QString::number(m);
        QStringList lines = {"Option Explicit", "Private mZähler As Long", ""};
        for (int r = 1; r <= 6; ++r)
            lines << "Public Sub Arbeit" + n + "_" + QString::number(r) + "(ByVal x As Long)"
                  << "\tmZähler = mZähler + x ' zählt" << "\tDebug.Print \"Summe \" & CStr(mZähler)" << "End Sub" << "";
        if (m == kModules) lines << "' Einzigartig";
        p.modules.push_back(module("Modul" + n, 1, lines));
    }
    return p;
}

class LargeProjectWindow : public MainWindowTest {
protected:
    // Runs `command` with a timer beside it that counts the turns the work
    // gives the events (one at every step), notes panel 5 and, from the
    // turn `stopAt` (0: never), calls `stop` once.
    void runWatched(const std::function<void()>& command, int stopAt = 0, const std::function<void()>& stop = {}) {
        window->workProgress().setTurnEvery(0);
        turns = 0;
        QTimer beside;
        beside.setInterval(0);
        QObject::connect(&beside, &QTimer::timeout, [&] {
            ++turns;
            const QString text = panel(PanelOperation);
            if (text.startsWith("Modul ") && text.contains(" von ")) progressShown = text;
            if (stopAt > 0 && turns == stopAt && stop) stop();
        });
        beside.start();
        command();
        beside.stop();
    }
    int turns = 0;
    QString progressShown;
};

TEST_F(LargeProjectWindow, ReadingAnswersShowsProgressAndMakesOnlyTheViewsShown) {
    open({largeProject()});
    tick("A1\\");
    runWatched([&] { act("mnuBearbeiten_Code")->trigger(); });
    ASSERT_TRUE(window->codeShown());
    EXPECT_GT(turns, kModules);
    EXPECT_TRUE(progressShown.endsWith(QString(" von %1 ...").arg(kModules))) << progressShown.toStdString();
    EXPECT_EQ(panel(PanelOperation), "");
    EXPECT_FALSE(window->workProgress().stopButton()->isVisible());
    EXPECT_EQ(window->trees().state().moduleCount, kModules);
    EXPECT_EQ(window->trees().projectTree()->nodeCount(), kModules * 7);
    EXPECT_EQ(window->codeArea().madeCount(), 1);

    // A view not made yet is searched in its text; the hit makes it.
    const CodeArea& code = window->codeArea();
    const QString last = code.text(kModules - 1);
    window->commandBar().searchBox()->setText("Einzigartig");
    window->commandBar().menuAction(Command::ToggleProjectSearch)->trigger();
    window->commandBar().menuAction(Command::Search)->trigger();
    EXPECT_EQ(code.current(), kModules - 1);
    EXPECT_EQ(code.madeCount(), 2);
    EXPECT_EQ(code.visibleView()->text(), last);
    EXPECT_EQ(code.visibleView()->selText(), "Einzigartig");

    // New looks: only the view shown is made again, the others when next shown.
    for (int i = 1; i <= 3; ++i) window->showModule(i);
    EXPECT_EQ(code.madeCount(), 5);
    const QString shown = code.visibleView()->text();
    appState().options.fontSize += 2;
    window->renderCodeViewsAgain();
    EXPECT_EQ(code.madeCount(), 2);  // the shown one and the first, emptied
    EXPECT_EQ(code.current(), 3);
    EXPECT_EQ(code.visibleView()->text(), shown);
    window->showModule(1);
    EXPECT_EQ(code.visibleView()->text(), code.text(1));
}

TEST_F(LargeProjectWindow, EscapeStopsTheReadAndLeavesTheTickedList) {
    open({largeProject()});
    tick("A1\\");
    runWatched([&] { act("mnuBearbeiten_Code")->trigger(); }, kModules / 2,
               [&] { QTest::keyClick(window->trees().appTree(), Qt::Key_Escape); });
    EXPECT_FALSE(window->codeShown());
    EXPECT_TRUE(ui.calls.empty());
    EXPECT_TRUE(window->trees().appTree()->isVisible());
    EXPECT_TRUE(window->trees().appTree()->isChecked("A1\\"));
    EXPECT_TRUE(act("doit")->isEnabled());
    EXPECT_EQ(window->windowTitle(), appState().titleText);
    EXPECT_EQ(panel(PanelOperation), "Aktion");
    EXPECT_FALSE(window->workProgress().stopButton()->isVisible());

    // Closed while reading: the read stops first, then the window closes.
    window->show();
    runWatched([&] { act("mnuBearbeiten_Code")->trigger(); }, kModules / 2, [&] { window->close(); });
    EXPECT_FALSE(window->codeShown());
    EXPECT_TRUE(window->isVisible());
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(LargeProjectWindow, TheButtonStopsOpeningAStoredProjectAndOtherInputWaits) {
    open({largeProject()});
    build();
    const QString stored = dir.path() + "/Projekte";
    ASSERT_TRUE(QDir().mkpath(stored));
    ui.folders = {stored};
    act("mnuSpeichern")->trigger();
    const QString project = stored + "/Gross";
    ASSERT_TRUE(isStoredProject(project));
    QPushButton* stopButton = qobject_cast<QPushButton*>(window->workProgress().stopButton());
    ASSERT_NE(stopButton, nullptr);
    // A key of another command while the work runs does nothing; the button stops it.
    const auto openStopped = [&] {
        const auto calls = ui.calls.size();
        bool opened = true;
        runWatched([&] { opened = window->openStoredProject(project); }, 1, [&] {
            QTest::keyClick(window.get(), Qt::Key_F1);  // help would open a viewer
            QTest::mouseClick(stopButton, Qt::LeftButton);
        });
        EXPECT_FALSE(opened);
        EXPECT_EQ(ui.calls.size(), calls);
    };

    // The project shown before comes back.
    const QString caption = window->windowTitle();
    const QString folder = appState().workFolder;
    openStopped();
    EXPECT_TRUE(window->codeShown());
    EXPECT_EQ(window->trees().state().moduleCount, kModules);
    EXPECT_EQ(window->windowTitle(), caption);
    EXPECT_EQ(appState().workFolder, folder);

    // Nothing shown before, nothing shown after.
    act("mnuNeu")->trigger();
    openStopped();
    EXPECT_FALSE(window->codeShown());
    EXPECT_EQ(appState().workFolder, appState().runFolder);
    EXPECT_TRUE(window->trees().appTree()->isVisible());

    EXPECT_TRUE(window->openStoredProject(project));
    EXPECT_EQ(window->trees().state().moduleCount, kModules);
}

}  // namespace
