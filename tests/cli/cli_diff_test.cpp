// diff as a user and as git call it, and extract's output folder.
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "cli/CliFixture.h"
#include "support/VbaFixture.h"

namespace {

using lumo::test::FixtureModule;

// A bare vbaProject.bin: one document module and Module1 with the given routine body.
QByteArray document(const QByteArray& body) {
    return lumo::test::vbaProjectBin(
        {{FixtureModule{"ThisDocument", {}, "ThisDocument", 0, false},
          "Attribute VB_Name = \"ThisDocument\"\r\nAttribute VB_Base = \"1Normal.ThisDocument\"\r\n"
          "Attribute VB_Customizable = True\r\nSub Document_Open()\r\nEnd Sub\r\n"},
         {FixtureModule{"Module1", {}, "Module1"},
          "Attribute VB_Name = \"Module1\"\r\nOption Explicit\r\n\r\nSub Hallo()\r\n" + body + "\r\nEnd Sub\r\n"}},
        "ID=\"{00000000-0000-0000-0000-000000000000}\"\r\nDocument=ThisDocument/&H00000000\r\nModule=Module1\r\n");
}

TEST_F(CliProgram, DiffExitsAsDiffDoes) {
    write("alt.bin", document("    MsgBox \"Hallo\""));
    write("neu.bin", document("    MsgBox \"Welt\""));
    EXPECT_EQ(run({"diff", path("alt.bin"), path("alt.bin")}).status, 0);
    const CliRun changed = run({"diff", path("alt.bin"), path("neu.bin")});
    EXPECT_EQ(changed.status, 1);
    EXPECT_TRUE(changed.out.contains("Sub Hallo: ge\xC3\xA4ndert\n@@ -2,4 +2,4 @@ Sub Hallo\n \n Sub Hallo()\n"
                                     "-    MsgBox \"Hallo\"\n+    MsgBox \"Welt\"\n End Sub\n"))
        << changed.out.toStdString();
    EXPECT_EQ(run({"diff", path("alt.bin"), path("fehlt.bin")}).status, 2);
    EXPECT_EQ(run({"diff", "--stat", "--html", path("alt.bin"), path("neu.bin")}).status, 2);
    const CliRun html = run({"diff", "--html", path("alt.bin"), path("neu.bin")});
    EXPECT_EQ(html.status, 1);
    EXPECT_TRUE(html.out.startsWith("<!DOCTYPE html>") && html.out.contains("class=\"del\"")) << html.out.toStdString();

    // A stored project and the folder extracted from the document stand for it as well.
    ASSERT_EQ(run({"build", "--out", path("out"), path("alt.bin")}).status, 0);
    ASSERT_EQ(run({"extract", "--out", path("x"), path("alt.bin")}).status, 0);
    const CliRun same = run({"diff", path("out"), path("x")});
    EXPECT_EQ(same.status, 0) << same.out.toStdString() << same.err.toStdString();
    EXPECT_EQ(run({"diff", path("x"), path("neu.bin")}).status, 1);
}

TEST_F(CliProgram, ExtractRefusesAFolderOfTheUsersOwn) {
    write("alt.bin", document("    MsgBox \"Hallo\""));
    ASSERT_TRUE(QDir().mkpath(path("eigen")));
    write("eigen/Meins.bas", "Attribute VB_Name = \"Meins\"\r\n");
    const CliRun r = run({"extract", "--out", path("eigen"), path("alt.bin")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("nicht geschrieben hat")) << r.err.toStdString();
    EXPECT_EQ(QDir(path("eigen")).entryList(QDir::Files | QDir::Hidden), QStringList{"Meins.bas"});
}

// git shows the routines of a document: dump as its text converter, diff as its external driver.
TEST_F(CliProgram, GitDiffOfADocumentShowsTheChangedRoutine) {
    const QString git = QStandardPaths::findExecutable("git");
    if (git.isEmpty()) GTEST_SKIP() << "git missing";
    const QString repo = path("repo"), cli = QStringLiteral(LUMO_BIN_DIR "/codelumo-cli");
    ASSERT_TRUE(QDir().mkpath(repo));
    auto gitRun = [&](const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LUMO_SETTINGS_FILE", path("settings.ini"));
        env.insert("LUMO_DATA_DIR", path("data"));
        env.insert("GIT_CONFIG_NOSYSTEM", "1");
        env.insert("HOME", dir.path());
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(repo);
        p.start(git, args);
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << args.join(' ').toStdString() << p.readAllStandardError().toStdString();
        return QString::fromUtf8(p.readAllStandardOutput());
    };
    gitRun({"init", "-q"});
    gitRun({"config", "user.email", "t@example.org"});
    gitRun({"config", "user.name", "T"});
    write("repo/.gitattributes", "*.bin diff=vba\n");
    write("repo/Makros.bin", document("    MsgBox \"Hallo\""));
    gitRun({"add", "."});
    gitRun({"commit", "-qm", "eins"});
    write("repo/Makros.bin", document("    MsgBox \"Welt\""));
    gitRun({"commit", "-qam", "zwei"});

    gitRun({"config", "diff.vba.textconv", cli + " dump"});
    const QString textconv = gitRun({"diff", "HEAD~1", "HEAD"});
    EXPECT_TRUE(textconv.contains("-    MsgBox \"Hallo\"\n+    MsgBox \"Welt\"")) << textconv.toStdString();

    gitRun({"config", "diff.vba.command", cli + " diff"});
    const QString driver = gitRun({"diff", "HEAD~1", "HEAD"});
    EXPECT_TRUE(driver.contains("--- a/Makros.bin\n+++ b/Makros.bin\nModul Module1 (Standardmodul): ge\u00e4ndert\n"
                                "Sub Hallo: ge\u00e4ndert\n@@ -2,4 +2,4 @@ Sub Hallo\n"))
        << driver.toStdString();
    EXPECT_FALSE(driver.contains("ThisDocument"));
}

}  // namespace
