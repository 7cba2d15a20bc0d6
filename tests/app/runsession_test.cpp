#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include "app/RunSession.h"
#include "base/AppState.h"
#include "support/FakeUi.h"

using namespace lumo;

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

class RunSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path() + "/TempDateien/";
        QDir().mkpath(root);
    }
    AppState stateFor() {
        AppState s;
        s.tempRoot = root;
        s.workFolder = root;
        return s;
    }
    QTemporaryDir dir;
    QString root;
    test::FakeUi ui;
};

TEST_F(RunSessionTest, RunFolderTakesAFreeNumberAndShutdownRemovesIt) {
    touch(root + "T_5/alt.txt");
    AppState s = stateFor();
    std::vector<int> numbers{5, 7};
    RunSession run(s, [&] {
        int n = numbers.front();
        numbers.erase(numbers.begin());
        return n;
    });
    ASSERT_TRUE(run.createRunFolder(ui));
    EXPECT_EQ(s.workFolder, root + "T_7/");
    EXPECT_EQ(s.runFolder, s.workFolder);
    touch(s.runFolder + "DivuRuvi.mdb");
    touch(s.runFolder + "unter/M1.txt");
    s.workFolder = dir.path() + "/GespeichertesProjekt/";  // an opened stored project
    touch(s.workFolder + "DivuRuvi.mdb");

    run.shutdown();
    EXPECT_EQ(s.workFolder, root + "T_7/");
    EXPECT_FALSE(QDir(root + "T_7").exists());
    EXPECT_FALSE(QFile::exists(root + "T_7.lock"));
    EXPECT_TRUE(QFile::exists(root + "T_5/alt.txt"));  // not this run's
    EXPECT_TRUE(QFile::exists(dir.path() + "/GespeichertesProjekt/DivuRuvi.mdb"));
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(RunSessionTest, FailureToMakeTheRunFolderIsShownAndShutdownTouchesNothing) {
    AppState s = stateFor();
    touch(dir.path() + "/datei");
    s.tempRoot = dir.path() + "/datei/TempDateien/";  // below a file: cannot be made
    s.workFolder = s.tempRoot;
    RunSession run(s);
    EXPECT_FALSE(run.createRunFolder(ui));
    ASSERT_EQ(ui.messages().size(), 1);
    // The cause in German words, no English system text.
    EXPECT_EQ(ui.messages()[0], "Der Datenordner " + s.tempRoot + " kann nicht angelegt werden: Ein Teil des Pfades "
                                "ist kein Ordner. Ohne ihn kann kein Code eingelesen werden.");
    EXPECT_EQ(ui.calls[0].icon, MsgIcon::None);
    EXPECT_EQ(s.workFolder, s.tempRoot);
    EXPECT_EQ(s.runFolder, s.tempRoot);

    // TempRoot is shared; without a run folder of its own a run deletes nothing.
    AppState t = stateFor();
    RunSession other(t);
    ASSERT_TRUE(other.createRunFolder(ui));
    touch(t.runFolder + "DivuRuvi.mdb");
    AppState u = stateFor();
    u.runFolder = root;
    RunSession noFolder(u);
    noFolder.shutdown();
    EXPECT_TRUE(QFile::exists(t.runFolder + "DivuRuvi.mdb"));
    EXPECT_TRUE(QDir(root).exists());
}

TEST_F(RunSessionTest, SecondInstanceLeavesTheFirstOnesFolderAlone) {
    touch(root + "T_1/leftover.txt");
    AppState a = stateFor();
    RunSession first(a);
    EXPECT_TRUE(first.cleanUpTempRoot());
    EXPECT_TRUE(first.isFirstInstance());
    EXPECT_FALSE(QDir(root + "T_1").exists());
    ASSERT_TRUE(first.createRunFolder(ui));
    touch(a.runFolder + "DivuRuvi.mdb");

    AppState b = stateFor();
    RunSession second(b);
    EXPECT_FALSE(second.cleanUpTempRoot());
    ASSERT_TRUE(second.createRunFolder(ui));
    EXPECT_NE(a.runFolder, b.runFolder);
    touch(b.runFolder + "DivuRuvi.mdb");
    EXPECT_TRUE(QFile::exists(a.runFolder + "DivuRuvi.mdb"));

    // The first closes; a third now cleans up, but the second still runs.
    first.shutdown();
    EXPECT_FALSE(QDir(a.runFolder).exists());
    AppState c = stateFor();
    RunSession third(c);
    EXPECT_TRUE(third.cleanUpTempRoot());
    EXPECT_TRUE(QFile::exists(b.runFolder + "DivuRuvi.mdb"));
    second.shutdown();
    EXPECT_FALSE(QDir(b.runFolder).exists());
}

TEST_F(RunSessionTest, ARunningProcessKeepsItsFolderAgainstAnotherProcess) {
    AppState a = stateFor();
    RunSession running(a);
    ASSERT_TRUE(running.createRunFolder(ui));
    touch(a.runFolder + "DivuRuvi.mdb");
    // Another process finds no first instance and cleans TempRoot.
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        AppState b = stateFor();
        RunSession other(b);
        const bool first = other.cleanUpTempRoot();
        _exit(first && QFile::exists(a.runFolder + "DivuRuvi.mdb") ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_TRUE(QFile::exists(a.runFolder + "DivuRuvi.mdb"));
    running.shutdown();
}

TEST_F(RunSessionTest, ACrashedRunIsRemovedByTheNextFirstInstance) {
    AppState crashed = stateFor();
    // A child process takes a run folder and dies without shutting down.
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        RunSession run(crashed, [] { return 42; });
        test::FakeUi childUi;
        const bool ok = run.cleanUpTempRoot() && run.createRunFolder(childUi);
        QFile f(crashed.workFolder + "DivuRuvi.mdb");
        f.open(QIODevice::WriteOnly);
        _exit(ok ? 0 : 1);  // no destructors: the locks stay on disk as after a crash
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(QFile::exists(root + "T_42/DivuRuvi.mdb"));
    ASSERT_TRUE(QFile::exists(root + "T_42.lock"));
    ASSERT_TRUE(QFile::exists(root + "lumo.lock"));

    QDir().mkpath(root + "T_9/tief/tiefer");
    touch(root + "T_9/tief/tiefer/x.txt");
    AppState s = stateFor();
    RunSession next(s);
    EXPECT_TRUE(next.cleanUpTempRoot());
    EXPECT_FALSE(QDir(root + "T_42").exists());
    EXPECT_FALSE(QFile::exists(root + "T_42.lock"));
    EXPECT_FALSE(QDir(root + "T_9").exists());
    EXPECT_TRUE(QFile::exists(root + "lumo.lock"));  // now ours
    EXPECT_TRUE(QDir(root).exists());
}

}  // namespace
