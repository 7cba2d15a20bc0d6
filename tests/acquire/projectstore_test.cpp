// Saving, opening and the recent list, in temporary folders with the
// scripted UI and a recording stand-in for the window.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "acquire/ProjectFiles.h"
#include "acquire/ProjectStore.h"
#include "acquire/RecentProjects.h"
#include "base/AppState.h"
#include "base/Settings.h"
#include "base/StartUp.h"
#include "model/CodeDatabase.h"
#include "model/ProjectBuild.h"
#include "model/WorkingStore.h"
#include "support/FakeUi.h"

using namespace lumo;
using lumo::test::FakeUi;

namespace {

class RecordingView : public ProjectView {
public:
    explicit RecordingView(WorkingStore& store) : store_(store) {}
    bool showStoredProject(const ProjectRows&) override {
        store_.openWorkingDatabase();
        shownModules = moduleCount(store_);
        return true;
    }
    void clearProject() override { ++cleared; }
    void storedProjectShown(const QString& name) override { shownName = name; }
    void showRecentProjects(const QStringList& folders) override { menu = folders; }

    int shownModules = -1;
    int cleared = 0;
    QString shownName;
    QStringList menu;

private:
    WorkingStore& store_;
};

QString readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<fehlt>");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// One statement on the store of folder, as a hand edit would make it.
void editStore(const QString& folder, const QString& statement) {
    WorkingStore& s = WorkingStore::instance();
    const QString saved = appState().workFolder;
    appState().workFolder = folder;
    s.openWorkingDatabase();
    s.execute(statement);
    s.closeWorkingDatabase();
    appState().workFolder = saved;
}

QStringList fileNames(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    return names;
}

class ProjectStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        saved = appState();
        initSharedState({QStringLiteral(LUMO_BIN_DIR), dir.path() + "/daten", dir.path() + "/settings.ini"});
        AppState& s = appState();
        s.runFolder = s.tempRoot + "T_1/";
        ASSERT_TRUE(QDir().mkpath(s.runFolder));
        s.workFolder = s.runFolder;
        base = dir.path() + "/Projekte/";
        ASSERT_TRUE(QDir().mkpath(base));
        s.options.projectFolder = base;
    }
    void TearDown() override {
        store.closeWorkingDatabase();
        appState() = saved;
    }
    // A build of `modules` modules in the run folder, open as after reading.
    void buildInRunFolder(int modules = 2, const QString& marker = "Erster") {
        appState().workFolder = appState().runFolder;
        ProjectBuild build(ui, store, appState().options);
        ASSERT_TRUE(build.begin());
        for (int i = 1; i <= modules; ++i)
            build.addModule("Modul" + QString::number(i), 2,
                            "Option Explicit\r\n' " + marker + "\r\nPublic Sub S" + QString::number(i) + "()\r\nEnd Sub");
        build.finish();
        store.openWorkingDatabase();
    }
    // Saves under base + name with the chooser answering base.
    SaveOutcome saveAs(const QString& name) {
        ui.folders.push_back(base.chopped(1));
        ui.inputs.push_back(name);
        return projects.saveProjectAs("Vorgabe");
    }
    QString target(const QString& name) { return base + name + "/"; }
    bool runFolderEmpty() { return fileNames(appState().runFolder).isEmpty(); }

    QTemporaryDir dir;
    AppState saved;
    QString base;
    FakeUi ui;
    WorkingStore& store = WorkingStore::instance();
    RecordingView view{store};
    ProjectStore projects{appState(), store, ui, view};
};

TEST_F(ProjectStoreTest, SavingABuildMovesItIntoTheNamedFolder) {
    buildInRunFolder(2);
    ui.folders.push_back(base.chopped(1));
    EXPECT_EQ(projects.saveProjectAs("Rechnung"), SaveOutcome::Saved);  // the default name taken as offered

    ASSERT_GE(ui.calls.size(), 2u);
    EXPECT_EQ(ui.calls[0].kind, "folder");
    EXPECT_EQ(ui.calls[0].title, "Bitte Projektpfad auswählen");
    EXPECT_EQ(ui.calls[0].text, base);
    EXPECT_EQ(ui.calls[1].kind, "input");
    EXPECT_EQ(ui.calls[1].text, "Bitte Projektnamen angeben");
    EXPECT_EQ(ui.calls[1].title, "Projektname");

    const QString t = target("Rechnung");
    EXPECT_EQ(fileNames(t), (QStringList{"DivuRuvi.mdb", "M1.txt", "M2.txt"}));
    EXPECT_TRUE(runFolderEmpty());
    EXPECT_EQ(appState().workFolder, t);
    EXPECT_TRUE(store.isOpen());
    EXPECT_EQ(moduleCount(store), 2);
    EXPECT_EQ(view.shownName, "Rechnung");
    EXPECT_EQ(view.menu, QStringList{t});
    EXPECT_EQ(getSetting("recent", "F0"), t);
    EXPECT_EQ(recentCaption(0, t), "&0 - Rechnung");
}

TEST_F(ProjectStoreTest, NameLosesTheInvalidCharactersAndEmptyNamesEndTheCommand) {
    buildInRunFolder(1);
    EXPECT_EQ(saveAs("a/b:c"), SaveOutcome::Saved);
    EXPECT_TRUE(isStoredProject(target("abc")));

    buildInRunFolder(1);
    EXPECT_EQ(saveAs("???"), SaveOutcome::Cancelled);
    ui.folders.push_back(base.chopped(1));
    ui.inputs.push_back(std::nullopt);  // the input box cancelled
    EXPECT_EQ(projects.saveProjectAs("x"), SaveOutcome::Cancelled);
    ui.folders.push_back(QString());  // the chooser cancelled
    EXPECT_EQ(projects.saveProjectAs("x"), SaveOutcome::Cancelled);
    EXPECT_FALSE(runFolderEmpty());
}

TEST_F(ProjectStoreTest, OverwriteAsksAndReplacesOnlyWhatTheProgramWrote) {
    buildInRunFolder(2, "Erster");
    ASSERT_EQ(saveAs("Rechnung"), SaveOutcome::Saved);
    const QString t = target("Rechnung");
    ASSERT_TRUE(QDir().mkdir(t + "Unterordner"));
    writeFile(t + "Unterordner/bleibt.txt", "x");

    buildInRunFolder(1, "Zweiter");
    ui.answers.push_back(Answer::No);
    EXPECT_EQ(saveAs("Rechnung"), SaveOutcome::Cancelled);
    EXPECT_EQ(ui.calls.back().kind, "question");
    EXPECT_EQ(ui.calls.back().text, "Ein Projekt:\r\n" + t + "\r\nexistiert schon\r\nÜberschreiben ?");
    EXPECT_EQ(fileNames(t), (QStringList{"DivuRuvi.mdb", "M1.txt", "M2.txt"}));
    EXPECT_TRUE(readAll(t + "M1.txt").contains("Erster"));
    EXPECT_FALSE(runFolderEmpty());

    // Files of the user's own beside the project: refused and named, before
    // the question whose default would have deleted them.
    writeFile(t + "notiz.txt", "alt");
    ui.calls.clear();
    EXPECT_EQ(saveAs("Rechnung"), SaveOutcome::Failed);
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0], "Der Ordner\r\n" + t + "\r\nenthält außer dem Projekt auch andere Dateien:\r\nnotiz.txt"
                                "\r\nSie würden beim Überschreiben gelöscht.\r\nBitte einen anderen Namen angeben.");
    EXPECT_EQ(fileNames(t), (QStringList{"DivuRuvi.mdb", "M1.txt", "M2.txt", "notiz.txt"}));
    EXPECT_FALSE(runFolderEmpty());
    // Nor does the copy itself remove one that came after the question.
    EXPECT_TRUE(replaceProjectFiles(appState().runFolder, t).contains("notiz.txt"));
    EXPECT_EQ(readAll(t + "notiz.txt"), "alt");
    QFile::remove(t + "notiz.txt");

    ui.answers.push_back(Answer::Yes);
    EXPECT_EQ(saveAs("Rechnung"), SaveOutcome::Saved);
    EXPECT_EQ(fileNames(t), (QStringList{"DivuRuvi.mdb", "M1.txt"}));
    EXPECT_TRUE(readAll(t + "M1.txt").contains("Zweiter"));
    EXPECT_TRUE(QFileInfo::exists(t + "Unterordner/bleibt.txt"));
    EXPECT_EQ(fileNames(base), QStringList{});  // no staging folder left beside the target
    EXPECT_EQ(getAllSettings("recent").size(), 1);
}

TEST_F(ProjectStoreTest, StandardFolderIsUsedWithoutAskingOnlyWhenItExists) {
    appState().options.saveBelowProjectFolder = true;
    buildInRunFolder(1);
    ui.inputs.push_back("Immer");
    EXPECT_EQ(projects.saveProjectAs("x"), SaveOutcome::Saved);
    EXPECT_EQ(ui.calls.front().kind, "input");
    EXPECT_TRUE(isStoredProject(target("Immer")));

    appState().options.projectFolder = dir.path() + "/gibtsnicht/";
    ui.calls.clear();
    ui.folders.push_back(QString());
    EXPECT_EQ(projects.saveProjectAs("x"), SaveOutcome::Cancelled);
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_EQ(ui.calls.front().kind, "folder");
}

TEST_F(ProjectStoreTest, SavingOntoItselfKeepsEveryFile) {
    buildInRunFolder(2);
    ASSERT_EQ(saveAs("Rechnung"), SaveOutcome::Saved);
    const QString t = target("Rechnung");
    writeFile(t + "notiz.txt", "bleibt");
    const QString text = readAll(t + "M2.txt");

    ASSERT_TRUE(projects.openProjectFolder(t));
    ui.answers.push_back(Answer::Yes);
    EXPECT_EQ(saveAs("Rechnung"), SaveOutcome::Saved);
    EXPECT_EQ(fileNames(t), (QStringList{"DivuRuvi.mdb", "M1.txt", "M2.txt", "notiz.txt"}));
    EXPECT_EQ(readAll(t + "M2.txt"), text);
    EXPECT_EQ(moduleCount(store), 2);

    // Saved elsewhere, the opened project is copied and stays whole.
    EXPECT_EQ(saveAs("Kopie"), SaveOutcome::Saved);
    EXPECT_EQ(fileNames(t), (QStringList{"DivuRuvi.mdb", "M1.txt", "M2.txt", "notiz.txt"}));
    EXPECT_EQ(fileNames(target("Kopie")), (QStringList{"DivuRuvi.mdb", "M1.txt", "M2.txt", "notiz.txt"}));
}

TEST_F(ProjectStoreTest, TargetsThatWouldLoseFilesAreRefused) {
    buildInRunFolder(1);
    writeFile(base + "liste.txt", "neben dem Ziel");
    for (const QString& name : {QStringLiteral(".."), QStringLiteral("."), QStringLiteral(":.:.")}) {
        ui.calls.clear();
        EXPECT_EQ(saveAs(name), SaveOutcome::Failed) << name.toStdString();
        EXPECT_TRUE(ui.messages().value(0).contains("kein gültiger Projektname")) << name.toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(base + "liste.txt"));

    // Below TempRoot it would be deleted at the next start.
    ui.calls.clear();
    ui.folders.push_back(appState().tempRoot);
    ui.inputs.push_back("Weg");
    EXPECT_EQ(projects.saveProjectAs("x"), SaveOutcome::Failed);
    EXPECT_TRUE(ui.messages().value(0).startsWith("Ein Projekt kann nicht unter\r\n" + appState().tempRoot));
    EXPECT_FALSE(QFileInfo::exists(appState().tempRoot + "Weg"));

    // A folder of other files is no project to overwrite.
    ASSERT_TRUE(QDir().mkdir(base + "Briefe"));
    writeFile(base + "Briefe/brief.odt", "wichtig");
    ui.calls.clear();
    EXPECT_EQ(saveAs("Briefe"), SaveOutcome::Failed);
    EXPECT_TRUE(ui.messages().value(0).contains("enthält Dateien, aber kein Projekt"));
    EXPECT_EQ(fileNames(base + "Briefe"), QStringList{"brief.odt"});

    EXPECT_FALSE(runFolderEmpty());
    EXPECT_EQ(appState().workFolder, appState().runFolder);
}

// Root writes into read-only folders; the immutable flag stops even root.
// Where neither holds, the test says so instead of passing.
class Unwritable {
public:
    explicit Unwritable(const QString& path) : path_(path) {
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::ExeOwner);
        if (writable()) immutable_ = QProcess::execute("chattr", {"+i", path_}) == 0;
    }
    ~Unwritable() {
        if (immutable_) QProcess::execute("chattr", {"-i", path_});
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool writable() const {
        QFile probe(path_ + "/.probe");
        const bool ok = probe.open(QIODevice::WriteOnly);
        if (ok) probe.remove();
        return ok;
    }

private:
    QString path_;
    bool immutable_ = false;
};

TEST_F(ProjectStoreTest, FailedOverwriteReportsAndLeavesBothProjectsWhole) {
    buildInRunFolder(2, "Erster");
    ASSERT_EQ(saveAs("Rechnung"), SaveOutcome::Saved);
    const QString t = target("Rechnung");
    const QString before = readAll(t + "M1.txt");

    buildInRunFolder(1, "Zweiter");
    const QStringList runFiles = fileNames(appState().runFolder);
    {
        Unwritable lock(t.chopped(1));
        if (lock.writable()) GTEST_SKIP() << "no way to make a folder unwritable here";
        ui.answers.push_back(Answer::Yes);
        ui.calls.clear();
        EXPECT_EQ(saveAs("Rechnung"), SaveOutcome::Failed);
    }
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].startsWith("Das Projekt konnte nicht gespeichert werden.\r\nFehler beim "));
    EXPECT_EQ(fileNames(t), (QStringList{"DivuRuvi.mdb", "M1.txt", "M2.txt"}));
    EXPECT_EQ(readAll(t + "M1.txt"), before);
    EXPECT_EQ(fileNames(appState().runFolder), runFiles);
    EXPECT_EQ(appState().workFolder, appState().runFolder);
    EXPECT_TRUE(store.isOpen());
    EXPECT_EQ(moduleCount(store), 1);
    EXPECT_EQ(fileNames(base), QStringList{});
}

TEST_F(ProjectStoreTest, OpeningChecksTheFolderAndKeepsOneRecentEntry) {
    buildInRunFolder(3);
    ASSERT_EQ(saveAs("Rechnung"), SaveOutcome::Saved);
    const QString t = target("Rechnung");
    appState().workFolder = appState().runFolder;
    store.closeWorkingDatabase();

    ui.calls.clear();
    ui.folders.push_back(base + "Rechnung");
    EXPECT_TRUE(projects.openProject());
    EXPECT_EQ(ui.calls.front().title, "Bitte Projekt auswählen");
    EXPECT_EQ(ui.calls.front().text, base);
    EXPECT_EQ(appState().workFolder, t);
    EXPECT_EQ(view.shownModules, 3);
    EXPECT_EQ(view.shownName, "Rechnung");
    EXPECT_TRUE(projects.openRecent(0));
    EXPECT_EQ(view.menu, QStringList{t});
    EXPECT_EQ(getAllSettings("recent").size(), 1);

    ui.calls.clear();
    EXPECT_FALSE(projects.openProjectFolder(base));
    EXPECT_EQ(ui.messages(), QStringList{"Kein Gültiges Projekt"});
    EXPECT_EQ(ui.calls.front().icon, MsgIcon::Warning);
    EXPECT_EQ(appState().workFolder, t);
}

TEST_F(ProjectStoreTest, ElevenProjectsDropTheOldestAndVanishedFoldersGo) {
    QStringList folders;
    for (int i = 0; i < 11; ++i) {
        folders << target("P" + QString::number(i));
        ASSERT_TRUE(QDir().mkpath(folders.last()));
        projects.addRecent(folders.last());
    }
    ASSERT_EQ(view.menu.size(), 10);
    EXPECT_EQ(view.menu.front(), folders[10]);
    EXPECT_EQ(view.menu.back(), folders[1]);
    EXPECT_EQ(getSetting("recent", "F9"), folders[1]);

    // Again the third entry: it moves up, the rest keep their order.
    projects.addRecent(folders[8]);
    EXPECT_EQ(view.menu.mid(0, 4), (QStringList{folders[8], folders[10], folders[9], folders[7]}));
    EXPECT_EQ(view.menu.count(folders[8]), 1);

    // A deleted folder leaves the menu at the next start, the settings at the next add.
    ASSERT_TRUE(QDir(folders[9]).removeRecursively());
    projects.fillRecentMenu();
    EXPECT_FALSE(view.menu.contains(folders[9]));
    EXPECT_EQ(recentProjectsShown(), view.menu);
    EXPECT_EQ(getSetting("recent", "F2"), folders[9]);
    projects.addRecent(folders[5]);
    for (const auto& [key, value] : getAllSettings("recent")) EXPECT_NE(value, folders[9]) << key.toStdString();

    // Another spelling of the same folder, relative and unclean, is the same entry.
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folders[7]));
    projects.addRecent("../P7/./");
    QDir::setCurrent(cwd);
    EXPECT_EQ(view.menu.mid(0, 2), (QStringList{folders[7], folders[5]}));
    EXPECT_EQ(view.menu.count(folders[7]), 1);

    // The newest again changes nothing: the settings file is not written anew.
    struct stat before {}, after {};
    ASSERT_EQ(::stat(QFile::encodeName(appState().settingsFile).constData(), &before), 0);
    projects.addRecent(folders[7]);
    ASSERT_EQ(::stat(QFile::encodeName(appState().settingsFile).constData(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(view.menu.mid(0, 2), (QStringList{folders[7], folders[5]}));
}

TEST_F(ProjectStoreTest, DamagedStoresAreReportedAndEmptied) {
    buildInRunFolder(2);
    ASSERT_EQ(saveAs("Gut"), SaveOutcome::Saved);
    const QString good = target("Gut");

    struct Damage {
        const char* name;
        std::function<void(const QString&)> apply;
    };
    const Damage damages[] = {
        {"KeinSqlite", [](const QString& f) { writeFile(f + "DivuRuvi.mdb", QByteArray(4096, 'x')); }},
        {"OhneTabellen",
         [](const QString& f) {
             QFile::remove(f + "DivuRuvi.mdb");
             QFile::copy(QStringLiteral(LUMO_BIN_DIR "/mask_DivuRuvi.mdb"), f + "DivuRuvi.mdb");
             QFile::setPermissions(f + "DivuRuvi.mdb", QFile::ReadOwner | QFile::WriteOwner);
             editStore(f, "DROP TABLE td_rout");
         }},
        {"OhneModultext", [](const QString& f) { QFile::remove(f + "M2.txt"); }},
        {"ModultextRohr",
         [](const QString& f) {
             QFile::remove(f + "M1.txt");
             ::mkfifo(QFile::encodeName(f + "M1.txt").constData(), 0600);
         }},
        {"ModultextGeraet",
         [](const QString& f) {
             QFile::remove(f + "M2.txt");
             QFile::link("/dev/zero", f + "M2.txt");
         }},
        {"ModultextVerweis",  // a link even to a text of the project's own
         [](const QString& f) {
             QFile::remove(f + "M2.txt");
             QFile::link(f + "M1.txt", f + "M2.txt");
         }},
        {"ModulFehlt", [](const QString& f) { editStore(f, "DELETE FROM td_mod WHERE mod_num = 1"); }},
        {"NummerDoppelt",  // only counting distinct numbers tells 1, 1, 3 from 1, 2, 3
         [](const QString& f) {
             editStore(f, "CREATE TABLE t AS SELECT * FROM td_rout");
             editStore(f, "DROP TABLE td_rout");
             editStore(f, "ALTER TABLE t RENAME TO td_rout");
             editStore(f, "INSERT INTO td_rout SELECT (SELECT max(rou_num) FROM td_rout) + 1, mod_num, rou_name, "
                          "rou_typ, rou_open, anz_dec_zeilen, rou_start, rou_ende FROM td_rout WHERE rou_num = 1");
             editStore(f, "UPDATE td_rout SET rou_num = 1 WHERE rou_num = 2");
         }},
        {"ZeileRiesig", [](const QString& f) { editStore(f, "UPDATE td_rout SET rou_start = 1099511627776"); }},
        {"ZeileNegativ", [](const QString& f) { editStore(f, "UPDATE td_rout SET rou_start = -5"); }},
        {"SichtRekursiv",
         [](const QString& f) {
             editStore(f, "DROP TABLE td_rout");
             editStore(f, "CREATE VIEW td_rout AS WITH RECURSIVE r(rou_num, mod_num, rou_name, rou_typ, rou_open, "
                          "anz_dec_zeilen, rou_start, rou_ende) AS (SELECT 1, 1, 'A', 1, 1, 1, 1, 1 UNION ALL "
                          "SELECT rou_num + 1, 1, 'A', 1, 1, 1, 1, 1 FROM r) SELECT * FROM r");
         }},
    };
    for (const Damage& d : damages) {
        const QString folder = target(d.name);
        ASSERT_TRUE(QDir().mkpath(folder));
        for (const QString& name : fileNames(good)) QFile::copy(good + name, folder + name);
        d.apply(folder);
        ui.calls.clear();
        view.cleared = 0;
        view.shownName.clear();
        EXPECT_FALSE(projects.openProjectFolder(folder)) << d.name;
        EXPECT_EQ(ui.messages(), QStringList{"Projekt in " + folder + "\r\nist nicht mehr intakt"}) << d.name;
        EXPECT_EQ(view.cleared, 1) << d.name;
        EXPECT_TRUE(view.shownName.isEmpty()) << d.name;
        EXPECT_EQ(appState().workFolder, appState().runFolder) << d.name;
        EXPECT_EQ(view.menu.front(), folder) << d.name;
    }
    EXPECT_TRUE(projects.isIntact(good));
}

}  // namespace
