// extract on the corpus: a build from the extracted folder holds the same
// modules as the build from the source, and files the editor exported come
// back byte for byte.
#include <map>

#include <QDirIterator>
#include <QFileInfo>

#include "cli/CliFixture.h"
#include "model/CodeDatabase.h"

namespace {

const QString kCorpus = QStringLiteral(LUMO_SHARED_DIR "/corpus/");

class CliExtract : public CliProgram {
protected:
    // Each module of the build in out/: type and text, by name; the build's
    // status under the empty name.
    std::map<QString, std::pair<int, QString>> built(const QString& source) {
        const CliRun b = run({"build", "--out", path("out"), source});
        std::map<QString, std::pair<int, QString>> modules{{QString(), {b.status, {}}}};
        if (b.status != 0) return modules;  // 60279.doc holds nothing but an empty ThisDocument
        lumo::WorkingStore& s = store();
        for (const lumo::ModuleRow& m : lumo::modulesByNumber(s)) modules[m.name] = {m.type, s.readModuleText(m.number)};
        s.closeWorkingDatabase();
        return modules;
    }
};

TEST_F(CliExtract, ABuildFromTheExtractedFolderEqualsTheBuildFromTheSource) {
    if (!QFileInfo::exists(kCorpus + "office")) {
        if (qgetenv("CI") == "true") FAIL() << "corpus missing";
        GTEST_SKIP() << "corpus missing";
    }
    for (const char* name : {"59858.xls", "60158.docm", "60279.doc", "62624.bin", "SimpleMacro.doc", "SimpleMacro.docm",
                             "SimpleMacro.xlsm"}) {
        const QString source = kCorpus + "office/" + name;
        const QString folder = path(QString("x-") + name);
        const CliRun x = run({"extract", "--out", folder, source});
        ASSERT_EQ(x.status, 0) << name << x.err.toStdString();
        const auto fromSource = built(source);
        EXPECT_EQ(built(folder), fromSource) << name;
        // A second extract replaces the folder it wrote.
        EXPECT_EQ(run({"extract", "--out", folder, source}).status, 0) << name;
    }
}

TEST_F(CliExtract, EditorExportedFilesComeBackByteForByte) {
    for (const char* name : {"vba-src/VBA-Web", "vba-src/VBA-JSON"}) {
        const QString source = kCorpus + name;
        if (!QFileInfo::exists(source)) GTEST_SKIP() << "corpus missing";
        ASSERT_EQ(run({"extract", "--out", path("x"), source}).status, 0) << name;
        int files = 0;
        for (QDirIterator it(source, {"*.bas", "*.cls"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); ++files) {
            QFile original(it.next()), extracted(path("x/") + it.fileName());
            ASSERT_TRUE(original.open(QIODevice::ReadOnly) && extracted.open(QIODevice::ReadOnly)) << it.fileName().toStdString();
            EXPECT_EQ(extracted.readAll(), original.readAll()) << it.fileName().toStdString();
        }
        EXPECT_GT(files, 0);
        // The same modules again: no difference.
        EXPECT_EQ(run({"diff", source, path("x")}).status, 0) << name;
    }
}

}  // namespace
