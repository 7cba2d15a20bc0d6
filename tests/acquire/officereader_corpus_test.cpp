// Every Office file of the shared corpus must yield exactly the modules an
// independent reader found, with the code the VBA editor shows.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "acquire/DocumentHost.h"
#include "acquire/OfficeListing.h"
#include "acquire/ProjectSource.h"
#include "base/AppState.h"
#include "model/WorkingStore.h"
#include "support/FakeUi.h"

namespace {

const QString kCorpus = QStringLiteral(LUMO_SHARED_DIR "/corpus");

bool corpusMissing() {
    if (QDir(kCorpus + "/office").exists()) return false;
    return true;
}

#define REQUIRE_CORPUS()                                                                   \
    do {                                                                                   \
        if (corpusMissing()) {                                                             \
            if (qgetenv("CI") == "true") FAIL() << "corpus missing at " << kCorpus.toStdString(); \
            GTEST_SKIP() << "corpus not found at " << kCorpus.toStdString();               \
        }                                                                                  \
    } while (0)

QString readUtf8(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

// The editor's view of a stored module, derived independently of the reader:
// no leading Attribute lines, no "Attribute Name.VB_" lines.
QStringList expectedLines(const QString& stored) {
    QStringList lines = stored.split(QRegularExpression("\r\n|\r|\n"));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    qsizetype i = 0;
    while (i < lines.size() && lines[i].startsWith("Attribute ")) ++i;
    static const QRegularExpression member("^Attribute \\w+\\.VB_");
    QStringList out;
    for (; i < lines.size(); ++i)
        if (!member.match(lines[i]).hasMatch()) out << lines[i];
    return out;
}

int expectedType(const QString& kind) {
    if (kind == "Module") return 1;
    if (kind == "Class") return 2;
    if (kind == "Document") return 100;
    return 3;  // the independent reader cannot tell user forms: "null"
}

TEST(OfficeReaderCorpus, EveryFileMatchesTheIndependentReader) {
    REQUIRE_CORPUS();
    const QStringList files = QDir(kCorpus + "/office").entryList(QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 8);
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const QString expectedDir = kCorpus + "/office-expected/" + file;
        const QStringList manifest = readUtf8(expectedDir + "/MANIFEST.tsv").split('\n', Qt::SkipEmptyParts);
        if (manifest.isEmpty()) {
            try {
                lumo::readProjectSource(kCorpus + "/office/" + file);
                ADD_FAILURE() << "a file without VBA project was read";
            } catch (const lumo::ReadError& e) {
                EXPECT_EQ(e.message(), "Die Datei enthält kein VBA-Projekt.");
            }
            continue;
        }
        lumo::VbaProjectData project = lumo::readProjectSource(kCorpus + "/office/" + file);
        EXPECT_TRUE(project.problems.isEmpty()) << project.problems.join('\n').toStdString();
        EXPECT_FALSE(project.locked);
        ASSERT_EQ(project.modules.size(), std::size_t(manifest.size()));
        for (const QString& row : manifest) {
            const QStringList cells = row.split('\t');
            ASSERT_EQ(cells.size(), 3);
            const QString& name = cells[0];
            SCOPED_TRACE(name.toStdString());
            auto it = std::find_if(project.modules.begin(), project.modules.end(),
                                   [&](const lumo::VbaModule& m) { return m.name == name; });
            ASSERT_NE(it, project.modules.end()) << "module missing";
            EXPECT_EQ(it->type, expectedType(cells[1]));
            const QString stored = readUtf8(expectedDir + "/" + name + ".txt");
            EXPECT_EQ(stored.size(), cells[2].toInt()) << "expected text does not match its manifest";
            EXPECT_EQ(it->lines(), expectedLines(stored));
        }
    }
}

TEST(OfficeReaderCorpus, UserFormOfTheWorkbookIsTypeThree) {
    REQUIRE_CORPUS();
    const lumo::VbaProjectData p = lumo::readProjectSource(kCorpus + "/office/59858.xls");
    auto it = std::find_if(p.modules.begin(), p.modules.end(),
                           [](const lumo::VbaModule& m) { return m.name == "frmPageCreation"; });
    ASSERT_NE(it, p.modules.end());
    EXPECT_EQ(it->type, 3);
}

TEST(OfficeReaderCorpus, DocumentHostListsEveryReadableFileAndNamesTheOther) {
    REQUIRE_CORPUS();
    lumo::test::FakeUi ui;
    lumo::DocumentHost host(&ui);
    host.open(kCorpus + "/office/HeaderWithMacros.doc");
    host.open(kCorpus + "/office/SimpleMacro.doc");
    lumo::AppTree tree;
    int version = -1;
    ASSERT_TRUE(lumo::listOfficeProjects(host, tree, version, ui));
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains("HeaderWithMacros.doc: Die Datei enthält kein VBA-Projekt."));
    ASSERT_EQ(tree.size(), 2u);
    EXPECT_EQ(tree[0].key, "A1\\");
    EXPECT_EQ(tree[0].text, "Project [SimpleMacro.doc]");
    EXPECT_EQ(tree[1].key, "A1\\Module1");
    EXPECT_EQ(tree[1].imageKey, "M2");
}

TEST(ExportedFoldersCorpus, VbaWebIsOneProjectOfItsModules) {
    REQUIRE_CORPUS();
    const lumo::VbaProjectData p = lumo::readProjectSource(kCorpus + "/vba-src/VBA-Web");
    EXPECT_EQ(p.name, "VBA-Web");
    EXPECT_TRUE(p.problems.isEmpty());
    EXPECT_EQ(p.modules.size(), 17u);
    for (const lumo::VbaModule& m : p.modules) {
        SCOPED_TRACE(m.name.toStdString());
        ASSERT_FALSE(m.lines().isEmpty());
        EXPECT_FALSE(m.lines().first().startsWith("VERSION"));
        for (const QString& line : m.lines()) EXPECT_FALSE(line.startsWith("Attribute VB_"));
        EXPECT_EQ(m.type, m.name == "WebHelpers" ? 1 : 2);
    }
    const lumo::VbaProjectData json = lumo::readProjectSource(kCorpus + "/vba-src/VBA-JSON/JsonConverter.bas");
    ASSERT_EQ(json.modules.size(), 1u);
    EXPECT_EQ(json.modules[0].name, "JsonConverter");
    EXPECT_EQ(json.modules[0].type, 1);
}

TEST(CliCorpus, DumpPrintsTheEditorView) {
    REQUIRE_CORPUS();
    QProcess cli;
    cli.start(QStringLiteral(LUMO_BIN_DIR "/codelumo-cli"), {"dump", kCorpus + "/office/SimpleMacro.docm"});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0);
    const QString out = QString::fromUtf8(cli.readAllStandardOutput());
    const QStringList expected = expectedLines(readUtf8(kCorpus + "/office-expected/SimpleMacro.docm/Module1.txt"));
    EXPECT_EQ(out, "== ThisDocument\t100\t0\n== Module1\t1\t" + QString::number(expected.size()) + "\n" +
                       expected.join('\n') + "\n");
}

TEST(CliCorpus, ListNamesTheUnreadableAndListsTheRest) {
    REQUIRE_CORPUS();
    QProcess cli;
    cli.start(QStringLiteral(LUMO_BIN_DIR "/codelumo-cli"),
              {"list", kCorpus + "/office/HeaderWithMacros.doc", kCorpus + "/office/60158.docm"});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(cli.readAllStandardOutput()),
              "A1\\\tProject [60158.docm]\tFahne\n\tA1\\NewMacros\tNewMacros\tM2\n");
    EXPECT_TRUE(QString::fromUtf8(cli.readAllStandardError()).contains("HeaderWithMacros.doc: Die Datei enthält kein VBA-Projekt."));
}

TEST(CliCorpus, BuildReadsEveryListedComponentOfDocumentsAndFolders) {
    REQUIRE_CORPUS();
    QTemporaryDir dir;
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LUMO_SETTINGS_FILE", dir.path() + "/settings.ini");
    env.insert("LUMO_DATA_DIR", dir.path() + "/data");
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(LUMO_BIN_DIR "/codelumo-cli"),
              {"build", "--out", dir.path() + "/out", kCorpus + "/office/59858.xls", kCorpus + "/vba-src/VBA-JSON"});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_TRUE(QString::fromUtf8(cli.readAllStandardOutput()).contains(": 9 Module, "));

    const lumo::AppState saved = lumo::appState();
    lumo::appState().workFolder = dir.path() + "/out/";
    lumo::WorkingStore& store = lumo::WorkingStore::instance();
    store.openWorkingDatabase();
    QStringList rows;
    lumo::Query q = store.query("SELECT mod_num, mod_name, mod_typ FROM td_mod ORDER BY mod_num");
    while (q.next()) rows << QString("%1 %2 %3").arg(q.integer(0)).arg(q.text(1)).arg(q.integer(2));
    store.closeWorkingDatabase();
    lumo::appState() = saved;
    // The listing order: the workbook's components of more than two lines, then the folder's module.
    EXPECT_EQ(rows, QStringList({"1 Sheet1 5", "2 ThisWorkbook 5", "3 Sheet2 5", "4 Sheet4 5", "5 SupportFunctions 2",
                                 "6 ReferencesAndConstants 2", "7 frmPageCreation 1", "8 Sheet7 5", "9 JsonConverter 2"}));
}

}  // namespace
