// codelumo-cli site, run as the program it is: from documents and module
// files, from a stored project, and what it refuses.
#include <QDir>
#include <QFile>

#include "cli/CliFixture.h"
#include "export/site/SiteCheck.h"

namespace {

const QString kSample = QStringLiteral(LUMO_SOURCE_DIR "/samples/Beispielprojekt");

TEST_F(CliProgram, SiteOfTheSampleProjectFromItsFilesAndFromTheStoredProject) {
    const CliRun fromFiles = run({"site", "--out", path("site"), kSample});
    ASSERT_EQ(fromFiles.status, 0) << fromFiles.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(fromFiles.out), path("site") + "/index.html: 4 Module, 23 Routinen\n");
    EXPECT_TRUE(lumo::test::readPage(path("site/index.html")).contains("<h1>Beispielprojekt</h1>"));
    LUMO_EXPECT_VALID_SITE(path("site"));

    ASSERT_EQ(run({"build", "--out", path("out"), kSample}).status, 0);
    const CliRun fromStore = run({"site", "--out", path("site"), path("out")});  // over the site made before
    ASSERT_EQ(fromStore.status, 0) << fromStore.err.toStdString();
    const QString page = lumo::test::readPage(path("site/modul-modAllgemein.html"));
    EXPECT_TRUE(page.contains("<p>78 Zeilen, 7 Routinen.</p>"));
    EXPECT_TRUE(page.contains("id=\"L78\"") && !page.contains("id=\"L79\""));
}

TEST_F(CliProgram, SiteOfIncompleteSourcesIsMadeAndSaysSo) {
    QDir().mkpath(path("a"));
    write("a/Haupt.bas", "Attribute VB_Name = \"Haupt\"\r\nSub Start()\r\nEnd Sub\r\n");
    QDir().mkpath(path("b"));
    write("b/Haupt.bas", "Attribute VB_Name = \"Haupt\"\r\nSub Anders()\r\nEnd Sub\r\n");
    const CliRun r = run({"site", "--out", path("site"), path("a/Haupt.bas"), path("b/Haupt.bas")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("gibt es schon; ausgelassen")) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(path("site/modul-Haupt.html")));
}

TEST_F(CliProgram, SiteRefusesWrongWordsAndForeignFolders) {
    struct Case {
        QStringList args;
        int status;
        const char* err;
    };
    QDir().mkpath(path("fremd"));
    write("fremd/liesmich.txt", "meins");
    const Case cases[] = {
        {{"site", kSample}, 2, "Aufruf: codelumo-cli site --out ORDNER QUELLE..."},
        {{"site", "--out", path("site")}, 2, "Keine Quelle angegeben."},
        {{"site", "--tief", "--out", path("site"), kSample}, 2, "Unbekannte Option: --tief"},
        {{"site", "--out", path("fremd"), kSample}, 1, "enthält nicht nur eine Website von Code Lumo (etwa liesmich.txt)"},
        {{"site", "--out", path("site"), path("fehlt.docm")}, 1, "fehlt.docm"},
    };
    for (const Case& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.err))) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(path("site")));
    EXPECT_EQ(QDir(path("fremd")).entryList(QDir::Files), QStringList{"liesmich.txt"});
}

}  // namespace
