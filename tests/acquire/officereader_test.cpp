// The reader against crafted containers: what real files do, and what
// damaged or hostile ones do.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include "acquire/OfficeReader.h"
#include "acquire/VbaDirStream.h"
#include "acquire/VbaProjectStream.h"
#include "render/CodePage.h"
#include "support/VbaFixture.h"

namespace {

using lumo::ReadError;
using lumo::readOfficeBytes;
using lumo::test::FixtureModule;
using lumo::test::FixtureSource;

FixtureSource source(const QByteArray& name, const QByteArray& code, bool procedural = true) {
    return {FixtureModule{name, {}, name, 0, procedural}, "Attribute VB_Name = \"" + name + "\"\r\n" + code};
}

QString readError(const QByteArray& bytes) {
    try {
        readOfficeBytes(bytes);
    } catch (const ReadError& e) {
        return e.message();
    }
    return QStringLiteral("(gelesen)");
}

TEST(OfficeReader, ReadsModulesKindsAndNamesOfABareProject) {
    const QByteArray project =
        "ID=\"{00000000-0000-0000-0000-000000000000}\"\r\nDocument=ThisDocument/&H00000000\r\nModule=Modul1\r\n"
        "Class=Klasse1\r\nBaseClass=Form1\r\nName=\"Projekt\"\r\n[Workspace]\r\nModule=Klasse1, 0, 0\r\n";
    const QByteArray bin = lumo::test::vbaProjectBin(
        {source("ThisDocument", "", false), source("Modul1", "Sub A()\r\n  x = \"\xE4\"\r\nEnd Sub\r\n"),
         source("Klasse1", "Option Explicit\r\n", false), source("Form1", "Private Sub UserForm_Click()\r\nEnd Sub", false)},
        project);
    const lumo::VbaProjectData p = readOfficeBytes(bin);
    EXPECT_EQ(p.name, "VBAProject");
    EXPECT_FALSE(p.locked);
    ASSERT_EQ(p.modules.size(), 4u);
    EXPECT_EQ(p.modules[0].name, "ThisDocument");
    EXPECT_EQ(p.modules[0].type, 100);
    EXPECT_TRUE(p.modules[0].lines().isEmpty());
    EXPECT_EQ(p.modules[1].type, 1);
    EXPECT_EQ(p.modules[1].lines(), QStringList({"Sub A()", QString::fromUtf8("  x = \"ä\""), "End Sub"}));
    EXPECT_EQ(p.modules[2].type, 2);
    EXPECT_EQ(p.modules[3].type, 3);
    EXPECT_EQ(p.modules[3].lines().size(), 2);
}

TEST(OfficeReader, OfficeContainersAroundTheProject) {
    const QByteArray bin = lumo::test::vbaProjectBin({source("Module1", "Sub A()\r\nEnd Sub\r\n")});
    // Word 97-2003 keeps it in the Macros storage.
    std::map<QString, QByteArray> doc{{"WordDocument", QByteArray(64, '\0')}};
    {
        // Copy the streams of bin under Macros/ by building them again.
        std::uint32_t offset = 0;
        const QByteArray stream = lumo::test::moduleStream("Attribute VB_Name = \"Module1\"\r\nSub A()\r\nEnd Sub\r\n", &offset);
        doc["Macros/VBA/Module1"] = stream;
        doc["Macros/VBA/dir"] = lumo::test::literalContainer(lumo::test::dirStream({{"Module1", {}, "Module1", offset, true}}));
        doc["Macros/PROJECT"] = "Module=Module1\r\n";
    }
    const lumo::VbaProjectData word = readOfficeBytes(lumo::test::oleFile(doc));
    ASSERT_EQ(word.modules.size(), 1u);
    EXPECT_EQ(word.modules[0].lines(), QStringList({"Sub A()", "End Sub"}));

    // OOXML: found through [Content_Types].xml, wherever the part lies.
    const QByteArray types =
        "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Override PartName=\"/custom/macros.bin\" ContentType=\"application/vnd.ms-office.vbaProject\"/></Types>";
    const lumo::VbaProjectData pkg = readOfficeBytes(lumo::test::zipFile({{"[Content_Types].xml", types}, {"custom/macros.bin", bin}}));
    ASSERT_EQ(pkg.modules.size(), 1u);
    EXPECT_EQ(pkg.modules[0].name, "Module1");
    // ... or by its usual name when the content types do not say.
    EXPECT_EQ(readOfficeBytes(lumo::test::zipFile({{"[Content_Types].xml", "<Types/>"}, {"word/vbaProject.bin", bin}})).modules.size(), 1u);
}

TEST(OfficeReader, NonOfficeEmptyAndProjectlessFilesSaySo) {
    EXPECT_EQ(readError(""), "Die Datei ist leer.");
    EXPECT_TRUE(readError("Sub A()\r\nEnd Sub").contains("keine Office-Datei"));
    EXPECT_EQ(readError(lumo::test::oleFile({{"WordDocument", QByteArray(64, '\0')}})), "Die Datei enthält kein VBA-Projekt.");
    EXPECT_EQ(readError(lumo::test::zipFile({{"[Content_Types].xml", "<Types/>"}, {"word/document.xml", "<w/>"}})),
              "Die Datei enthält kein VBA-Projekt.");
    EXPECT_EQ(readError(lumo::test::zipFile({{"readme.txt", "hi"}})), "Die Datei ist ein ZIP-Archiv, aber kein Office-Dokument.");
}

TEST(OfficeReader, EncryptedDocumentsSaySo) {
    EXPECT_TRUE(readError(lumo::test::oleFile({{"EncryptionInfo", "x"}, {"EncryptedPackage", "y"}})).contains("verschlüsselt"));
    QByteArray fib(64, '\0');
    fib[11] = 0x01;  // fEncrypted
    EXPECT_TRUE(readError(lumo::test::oleFile({{"WordDocument", fib}})).contains("verschlüsselt"));
}

TEST(OfficeReader, TruncatedContainersFailCleanly) {
    const QByteArray bin = lumo::test::vbaProjectBin({source("Module1", "Sub A()\r\nEnd Sub\r\n")});
    for (qsizetype cut : {qsizetype(8), qsizetype(100), qsizetype(512), bin.size() / 2, bin.size() - 1}) {
        SCOPED_TRACE(cut);
        try {
            readOfficeBytes(bin.left(cut));
        } catch (const ReadError& e) {
            EXPECT_FALSE(e.message().isEmpty());
        }
    }
    const QByteArray pkg = lumo::test::zipFile({{"[Content_Types].xml", "<Types/>"}, {"xl/vbaProject.bin", bin}});
    EXPECT_TRUE(readError(pkg.left(pkg.size() / 2)).startsWith("Die Datei"));
}

QString readFileError(const QString& path) {
    try {
        lumo::readOfficeFile(path);
    } catch (const ReadError& e) {
        return e.message();
    }
    return QStringLiteral("(gelesen)");
}

// Files are read from disk only where the reader looks; what it finds must
// be what it finds in the same bytes in memory, whole or cut short.
TEST(OfficeReader, FilesOnDiskReadAsTheirBytes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto write = [&](const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    };
    // A workbook: the project behind a large stream, across many pages.
    std::map<QString, QByteArray> streams{{"Workbook", QByteArray(300 * 1024, 'w')}};
    std::vector<lumo::test::FixtureModule> modules;
    QByteArray longCode;
    for (int i = 0; i < 400; ++i) longCode += "Sub S" + QByteArray::number(i) + "()\r\n    x = " + QByteArray::number(i) + "\r\nEnd Sub\r\n";
    for (const QByteArray name : {QByteArray("Modul1"), QByteArray("Modul2")}) {
        std::uint32_t offset = 0;
        streams["_VBA_PROJECT_CUR/VBA/" + QString::fromLatin1(name)] =
            lumo::test::moduleStream("Attribute VB_Name = \"" + name + "\"\r\n" + longCode, &offset);
        modules.push_back({name, {}, name, offset, true});
    }
    streams["_VBA_PROJECT_CUR/VBA/dir"] = lumo::test::literalContainer(lumo::test::dirStream(modules));
    const QByteArray workbook = lumo::test::oleFile(streams);
    const QByteArray package = lumo::test::zipFile(
        {{"[Content_Types].xml", "<Types/>"}, {"xl/vbaProject.bin", lumo::test::vbaProjectBin({source("Modul1", longCode)})}});
    for (const QByteArray& bytes : {workbook, package}) {
        const lumo::VbaProjectData memory = readOfficeBytes(bytes);
        const QString path = write("doc", bytes);
        const lumo::VbaProjectData disk = lumo::readOfficeFile(path);
        EXPECT_EQ(disk.fileName, path);
        ASSERT_EQ(disk.modules.size(), memory.modules.size());
        for (std::size_t i = 0; i < disk.modules.size(); ++i) {
            EXPECT_EQ(disk.modules[i].name, memory.modules[i].name);
            EXPECT_EQ(disk.modules[i].code.text(), memory.modules[i].code.text());
            EXPECT_EQ(disk.modules[i].code.lineCount(), 1200);
        }
        for (qsizetype cut : {qsizetype(0), qsizetype(4), qsizetype(600), bytes.size() / 2, bytes.size() - 1}) {
            SCOPED_TRACE(cut);
            EXPECT_EQ(readFileError(write("cut", bytes.left(cut))), readError(bytes.left(cut)));
        }
    }
    EXPECT_EQ(readFileError(dir.filePath("fehlt")), "Die Datei existiert nicht.");
    // A pipe neither blocks the open nor is read as a document.
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.filePath("rohr.xls")).constData(), 0600), 0);
    EXPECT_EQ(readFileError(dir.filePath("rohr.xls")), "Das ist keine gewöhnliche Datei.");
}

// Storages of many children are indexed once instead of searched per
// module; names still match without regard to case.
TEST(OfficeReader, ModuleStreamsOfLargeStoragesFoundWhateverTheirCase) {
    std::map<QString, QByteArray> streams;
    std::vector<lumo::test::FixtureModule> modules;
    for (int i = 0; i < 100; ++i) {
        const QByteArray name = "Modul" + QByteArray::number(i);
        std::uint32_t offset = 0;
        streams["VBA/" + QString::fromLatin1(name)] = lumo::test::moduleStream(
            "Attribute VB_Name = \"" + name + "\"\r\nSub S" + QByteArray::number(i) + "()\r\nEnd Sub\r\n", &offset);
        modules.push_back({name, {}, i == 42 ? QByteArray("MODUL42") : name, offset, true});
    }
    streams["VBA/dir"] = lumo::test::literalContainer(lumo::test::dirStream(modules));
    const lumo::VbaProjectData p = readOfficeBytes(lumo::test::oleFile(streams));
    EXPECT_TRUE(p.problems.isEmpty()) << p.problems.join(u' ').toStdString();
    ASSERT_EQ(p.modules.size(), 100u);
    EXPECT_EQ(p.modules[42].lines(), QStringList({"Sub S42()", "End Sub"}));
    EXPECT_EQ(p.modules[99].lines(), QStringList({"Sub S99()", "End Sub"}));
}

TEST(OfficeReader, DamagedModulesAreLeftOutAndNamed) {
    // Beyond the stream; a source without Attribute lines cannot be found by search either.
    FixtureSource lying{FixtureModule{"Lying", {}, "Lying", 100000, true}, "Sub L()\r\nEnd Sub\r\n"};
    FixtureSource garbage = source("Garbage", "");
    FixtureSource good = source("Good", "Sub G()\r\nEnd Sub\r\n");
    FixtureSource quoted = source("Bad\"Name", "Sub Q()\r\nEnd Sub\r\n");
    quoted.module.streamName = "Quoted";
    FixtureSource slashed = source("a/b", "Sub S()\r\nEnd Sub\r\n");
    slashed.module.streamName = "Slashed";
    FixtureSource twice = source("good", "Sub T()\r\nEnd Sub\r\n");
    twice.module.streamName = "Twice";
    FixtureSource missing{FixtureModule{"Missing", {}, "NoSuchStream", 40, true}, {}};
    FixtureSource binary = source("Binary", QByteArray("Sub B()\r\n\x00\x01\x02\xFF\r\n", 15));

    std::map<QString, QByteArray> streams;
    std::vector<FixtureModule> dir;
    for (FixtureSource* m : {&lying, &garbage, &good, &quoted, &slashed, &twice, &missing, &binary}) {
        if (m == &missing) {
            dir.push_back(m->module);
            continue;
        }
        std::uint32_t offset = 0;
        QByteArray stream = lumo::test::moduleStream(m->source, &offset);
        if (m == &garbage) stream = QByteArray(40, '\x7F') + QByteArray::fromHex("0103B0010000");
        streams["VBA/" + QString::fromLatin1(m->module.streamName)] = stream;
        if (m->module.offset == 0) m->module.offset = offset;
        dir.push_back(m->module);
    }
    streams["VBA/dir"] = lumo::test::literalContainer(lumo::test::dirStream(dir));
    const lumo::VbaProjectData p = readOfficeBytes(lumo::test::oleFile(streams));
    ASSERT_EQ(p.modules.size(), 1u);
    EXPECT_EQ(p.modules[0].name, "Good");
    ASSERT_EQ(p.problems.size(), 7) << p.problems.join('\n').toStdString();
    EXPECT_TRUE(p.problems[0].contains("»Lying«"));
    EXPECT_TRUE(p.problems[1].contains("»Garbage«") && p.problems[1].contains("beschädigt"));
    EXPECT_TRUE(p.problems[2].contains("ungültigen Namen"));
    EXPECT_TRUE(p.problems[3].contains("»a/b«"));
    EXPECT_TRUE(p.problems[4].contains("doppelt"));
    EXPECT_TRUE(p.problems[5].contains("»Missing«") && p.problems[5].contains("fehlt"));
    EXPECT_TRUE(p.problems[6].contains("»Binary«") && p.problems[6].contains("Binärdaten"));
}

TEST(OfficeReader, SourceIsFoundWhenTheRecordedOffsetPointsElsewhere) {
    // Some writers record an offset into padding; the source sits earlier.
    std::uint32_t offset = 0;
    QByteArray stream = lumo::test::moduleStream("Attribute VB_Name = \"ThisDocument\"\r\na\r\nb\r\nc\r\n", &offset);
    const std::uint32_t wrong = std::uint32_t(stream.size());
    stream += QByteArray(2000, '\0');
    const lumo::VbaProjectData p = readOfficeBytes(lumo::test::oleFile(
        {{"VBA/ThisDocument", stream},
         {"VBA/dir", lumo::test::literalContainer(lumo::test::dirStream({{"ThisDocument", {}, "ThisDocument", wrong, false}}))}}));
    ASSERT_EQ(p.modules.size(), 1u);
    EXPECT_EQ(p.modules[0].lines(), QStringList({"a", "b", "c"}));
    EXPECT_TRUE(p.problems.isEmpty());
}

TEST(OfficeReader, DirStreamThatLiesAboutLengthsIsRefused) {
    QByteArray dir = lumo::test::dirStream({{"Module1", {}, "Module1", 0, true}});
    const qsizetype at = dir.indexOf("Module1") - 4;  // length field of MODULENAME
    dir.replace(at, 4, lumo::test::le32(0x7FFFFFF0));
    EXPECT_THROW(lumo::parseVbaDir(dir), ReadError);
    EXPECT_THROW(lumo::parseVbaDir(QByteArray("\x05\x00\x00", 3)), ReadError);
    // Cut anywhere: never an overread, at most fewer modules.
    const QByteArray whole = lumo::test::dirStream({{"Module1", {}, "Module1", 0, true}});
    for (qsizetype n = 6; n < whole.size(); ++n) {
        try {
            lumo::parseVbaDir(whole.left(n));
        } catch (const ReadError&) {
        }
    }
    const std::map<QString, QByteArray> streams{{"VBA/dir", lumo::test::literalContainer(dir)}, {"VBA/Module1", "x"}};
    EXPECT_TRUE(readError(lumo::test::oleFile(streams)).contains("dir"));
}

TEST(OfficeReader, NamesComeFromTheUnicodeRecordOrTheCodePage) {
    // Windows-1251: 0xCC 0xEE 0xE4 0xF3 0xEB 0xFC is "Модуль".
    FixtureSource cyr = source("\xCC\xEE\xE4\xF3\xEB\xFC", "Sub A()\r\nEnd Sub\r\n");
    cyr.module.streamName = "Stream1";
    const lumo::VbaProjectData p = readOfficeBytes(lumo::test::vbaProjectBin({cyr}, {}, 1251));
    ASSERT_EQ(p.modules.size(), 1u);
    EXPECT_EQ(p.modules[0].name, QString::fromUtf8("Модуль"));

    // A Mac-written project: the code-page name is Mac Roman, the Unicode one right.
    FixtureSource mac = source("M\x97" "dulo1", "Sub A()\r\nEnd Sub\r\n");
    mac.module.unicodeName = QString::fromUtf8("Módulo1");
    mac.module.streamName = "Stream2";
    const lumo::VbaProjectData q = readOfficeBytes(lumo::test::vbaProjectBin({mac}, "Module=M\x97" "dulo1\r\n"));
    ASSERT_EQ(q.modules.size(), 1u);
    EXPECT_EQ(q.modules[0].name, QString::fromUtf8("Módulo1"));
}

// Obfuscation as the format describes it for writers, to produce a GC value.
QByteArray obfuscate(unsigned char seed, unsigned char projKey, const QByteArray& data) {
    QByteArray out;
    const unsigned char version = 2;
    const unsigned char versionEnc = seed ^ version;
    const unsigned char projKeyEnc = seed ^ projKey;
    out.append(char(seed)).append(char(versionEnc)).append(char(projKeyEnc));
    unsigned char unencrypted1 = projKey, encrypted1 = projKeyEnc, encrypted2 = versionEnc;
    auto put = [&](unsigned char b) {
        const unsigned char enc = b ^ static_cast<unsigned char>(encrypted2 + unencrypted1);
        out.append(char(enc));
        encrypted2 = encrypted1;
        encrypted1 = enc;
        unencrypted1 = b;
    };
    for (int i = 0; i < (seed & 6) / 2; ++i) put(0);
    for (int i = 0; i < 4; ++i) put((data.size() >> (8 * i)) & 0xFF);
    for (char c : data) put(static_cast<unsigned char>(c));
    return out.toHex().toUpper();
}

TEST(OfficeReader, VisibilityStateTellsALockedProject) {
    const QByteArray hidden = obfuscate(0x37, 0x5A, QByteArray(1, '\0'));
    const QByteArray visible = obfuscate(0x0E, 0x5A, QByteArray(1, '\xFF'));
    QByteArray back;
    ASSERT_TRUE(lumo::decryptVbaData(hidden, back));
    EXPECT_EQ(back, QByteArray(1, '\0'));
    EXPECT_FALSE(lumo::decryptVbaData("0102", back));
    EXPECT_FALSE(lumo::decryptVbaData(hidden.left(hidden.size() - 2), back));

    const auto bin = [&](const QByteArray& gc) {
        return lumo::test::vbaProjectBin({source("Module1", "Sub A()\r\nEnd Sub\r\n")},
                                         "Module=Module1\r\nGC=\"" + gc + "\"\r\n");
    };
    EXPECT_TRUE(readOfficeBytes(bin(hidden)).locked);
    EXPECT_FALSE(readOfficeBytes(bin(visible)).locked);
    EXPECT_FALSE(readOfficeBytes(bin("ZZZZ")).locked);
}

}  // namespace

namespace {

TEST(OfficeReader, SharedStreamsCountEachTimeTheyAreUsed) {
    // Two records on one stream of 4 MB: within the budget, both read.
    const lumo::VbaProjectData two = readOfficeBytes(lumo::test::sharedStreamProject(2, 1024));
    ASSERT_EQ(two.modules.size(), 2u);
    EXPECT_EQ(two.modules[1].code.lineCount(), 2 * 1024 * 1024);
    // A hundred records on one stream of 16 MB, from a file of some 30 KB: refused whole.
    const QByteArray hostile = lumo::test::sharedStreamProject(100, 4096);
    EXPECT_LT(hostile.size(), 64 * 1024);
    EXPECT_EQ(readError(hostile), "Die Datei wird nicht gelesen: der entpackte Quelltext des VBA-Projekts wäre größer als "
                                  "24 MB, mehr als ein Dokument haben darf (die Datei ist beschädigt oder manipuliert).");
}

TEST(OfficeReader, PackagePartsAreBoundedAndChecked) {
    const QByteArray bin = lumo::test::vbaProjectBin({source("Module1", "Sub Hallo()\r\nEnd Sub\r\n")});
    const QByteArray types =
        "<Types><Override PartName=\"/word/vbaProject.bin\" ContentType=\"application/vnd.ms-office.vbaProject\"/></Types>";
    for (const bool stored : {false, true})
        EXPECT_EQ(readOfficeBytes(lumo::test::zipFile({{"[Content_Types].xml", types}, {"word/vbaProject.bin", bin}}, stored))
                      .modules[0].lines()[0], "Sub Hallo()");

    // One flipped byte in a part: named, not read as if it were whole.
    QByteArray damaged = lumo::test::zipFile({{"[Content_Types].xml", types}, {"word/vbaProject.bin", bin}}, true);
    const qsizetype at = damaged.indexOf("Attribut");  // the source's first eight bytes, stored as they are
    ASSERT_GT(at, 0);
    damaged[at] = '^';
    EXPECT_EQ(readError(damaged), "Der Teil word/vbaProject.bin des ZIP-Pakets ist beschädigt (seine Prüfsumme stimmt nicht).");

    // A list of content types that inflates beyond what a document may hold.
    QByteArray huge = "<Types>";
    huge += QByteArray(65 * 1024 * 1024, ' ');
    huge += "</Types>";
    const QByteArray package = lumo::test::zipFile({{"[Content_Types].xml", huge}, {"word/vbaProject.bin", bin}});
    EXPECT_LT(package.size(), 1024 * 1024);
    EXPECT_EQ(readError(package), "Die Datei wird nicht gelesen: der Teil [Content_Types].xml des Pakets wäre größer als "
                                  "64 MB, mehr als ein Dokument haben darf (die Datei ist beschädigt oder manipuliert).");
}

}  // namespace

namespace {

// The central directory entry of a part: 46 bytes before the last copy of its name.
qsizetype centralEntry(const QByteArray& package, const QByteArray& name) {
    const qsizetype at = package.lastIndexOf(name) - 46;
    return package.mid(at, 4) == QByteArray("PK\x01\x02", 4) ? at : -1;
}

void putLe32(QByteArray& bytes, qsizetype at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = char((v >> (8 * i)) & 0xFF);
}

}  // namespace

TEST(OfficeReader, PartsAreTheirOwnBytesAndTheirExactName) {
    const QByteArray bin = lumo::test::vbaProjectBin({source("Module1", "Sub Hallo()\r\nEnd Sub\r\n")});
    const QByteArray types =
        "<Types><Override PartName=\"/word/vbaProject.bin\" ContentType=\"application/vnd.ms-office.vbaProject\"/></Types>";
    // A garbage part spelled in another case does not stand in for the real one.
    EXPECT_EQ(readOfficeBytes(lumo::test::zipFile({{"[Content_Types].xml", types},
                                                   {"Word/vbaProject.bin", "Müll"},
                                                   {"word/vbaProject.bin", bin}}))
                  .modules.size(),
              1u);

    const QByteArray package = lumo::test::zipFile({{"[Content_Types].xml", types}, {"word/vbaProject.bin", bin}});
    const qsizetype entry = centralEntry(package, "word/vbaProject.bin");
    ASSERT_GT(entry, 0);
    // The local header of another part in place of its own.
    QByteArray borrowed = package;
    putLe32(borrowed, entry + 42, 0);
    EXPECT_EQ(readError(borrowed),
              "Der Teil word/vbaProject.bin des ZIP-Pakets verweist auf Daten, die nicht seine sind; die Datei ist beschädigt.");
    // A recorded size beyond what the part inflates to: what was not filled
    // reads as zeros, and the checksum tells.
    QByteArray longer = package;
    putLe32(longer, entry + 24, std::uint32_t(bin.size() + 4096));
    EXPECT_EQ(readError(longer), "Der Teil word/vbaProject.bin des ZIP-Pakets ist beschädigt (seine Prüfsumme stimmt nicht).");
}
