#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "acquire/DocumentHost.h"
#include "acquire/OfficeListing.h"
#include "support/FakeUi.h"
#include "support/VbaFixture.h"

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The visibility value 0x00 ("not visible") obfuscated with seed 0x37 and project key 0x5A.
QByteArray lockedVisibility() {
    const unsigned char seed = 0x37, key = 0x5A;
    QByteArray out;
    unsigned char u1 = key, e1 = seed ^ key, e2 = seed ^ 2;
    out.append(char(seed)).append(char(e2)).append(char(e1));
    auto put = [&](unsigned char b) {
        const unsigned char enc = b ^ static_cast<unsigned char>(e2 + u1);
        out.append(char(enc));
        e2 = e1;
        e1 = enc;
        u1 = b;
    };
    for (unsigned char b : {0, 0, 0, 1, 0, 0, 0, 0}) put(b);  // 3 ignored, length 1, data 0x00
    return out.toHex().toUpper();
}

TEST(DocumentHost, NoDocumentsMeansNoHost) {
    lumo::test::FakeUi ui;
    lumo::DocumentHost host(&ui);
    EXPECT_THROW(host.connect(), lumo::HostError);
    lumo::AppTree tree;
    int version = 5;
    EXPECT_FALSE(lumo::listOfficeProjects(host, tree, version, ui));
    EXPECT_EQ(version, 0);
}

TEST(DocumentHost, ProjectsInOrderReReadOnEveryConnection) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/Werkzeuge";
    QDir().mkpath(folder + "/sub");
    write(folder + "/Haupt.bas", "Attribute VB_Name = \"Haupt\"\nSub A()\n  B\nEnd Sub\n");
    write(folder + "/sub/Klasse.cls",
          "VERSION 1.0 CLASS\nBEGIN\n  MultiUse = -1\nEND\nAttribute VB_Name = \"Klasse\"\nOption Explicit\n");
    write(folder + "/Tabelle1.cls",
          "VERSION 1.0 CLASS\nBEGIN\nEND\nAttribute VB_Name = \"Tabelle1\"\nAttribute VB_Base = \"0{00020820}\"\n"
          "Private Sub Worksheet_Activate()\nEnd Sub\n' x\n");
    write(folder + "/notes.txt", "not a module");
    write(dir.path() + "/Einzeln.frm",
          "VERSION 5.00\nBegin {C62A69F0} Einzeln\n   Caption = \"E\"\nEnd\nAttribute VB_Name = \"Einzeln\"\n"
          "Private Sub UserForm_Click()\n  Me.Hide\nEnd Sub\n");

    lumo::test::FakeUi ui;
    lumo::DocumentHost host(&ui);
    host.open(dir.path() + "/Einzeln.frm");
    host.open(folder);
    host.open(folder);  // opened twice is open once
    auto app = host.connect();
    ASSERT_EQ(app->projectCount(), 2);
    EXPECT_TRUE(app->version().startsWith("1."));
    lumo::HostProject& single = app->project(1);
    EXPECT_EQ(single.name(), "Einzeln");
    EXPECT_EQ(single.component(1).type(), 3);
    lumo::HostProject& tools = app->project(2);
    EXPECT_EQ(tools.name(), "Werkzeuge");
    EXPECT_EQ(tools.fileName(), QDir(folder).absolutePath());
    ASSERT_EQ(tools.componentCount(), 3);
    EXPECT_EQ(tools.component(1).name(), "Haupt");
    EXPECT_EQ(tools.component(2).name(), "Klasse");  // sub/Klasse.cls sorts before Tabelle1.cls
    EXPECT_EQ(tools.component(2).type(), 2);
    EXPECT_EQ(tools.component(3).type(), 100);
    lumo::HostComponent& haupt = tools.component("HAUPT");
    EXPECT_EQ(haupt.countOfLines(), 3);
    EXPECT_EQ(haupt.lines(1, 3), "Sub A()\r\n  B\r\nEnd Sub");
    EXPECT_EQ(haupt.lines(2, 1), "  B");
    EXPECT_EQ(haupt.lines(1, 0), "");
    EXPECT_THROW(haupt.lines(2, 3), lumo::HostError);
    EXPECT_THROW(tools.component("Fehlt"), lumo::HostError);
    EXPECT_THROW(app->project(3), lumo::HostError);
    EXPECT_TRUE(ui.calls.empty());

    write(folder + "/Haupt.bas", "Attribute VB_Name = \"Haupt\"\nSub A()\nEnd Sub\n");
    EXPECT_EQ(host.connect()->project(2).component(1).countOfLines(), 2);
}

TEST(DocumentHost, UnreadableDocumentsAreNamedOnceAndLeftOut) {
    QTemporaryDir dir;
    write(dir.path() + "/kaputt.doc", "PK\x03\x04 not really");
    write(dir.path() + "/gut.bin", lumo::test::vbaProjectBin(
                                       {{{"Modul1", {}, "Modul1", 0, true}, "Attribute VB_Name = \"Modul1\"\r\na\r\nb\r\nc\r\n"}}));
    QDir().mkpath(dir.path() + "/leer");
        write(dir.path() + "/gesperrt.bin",
          lumo::test::vbaProjectBin({{{"Modul1", {}, "Modul1", 0, true}, "Attribute VB_Name = \"Modul1\"\r\na\r\nb\r\nc\r\n"}},
                                    "Module=Modul1\r\nGC=\"" + lockedVisibility() + "\"\r\n"));
    lumo::test::FakeUi ui;
    lumo::DocumentHost host(&ui);
    host.open(dir.path() + "/kaputt.doc");
    host.open(dir.path() + "/gut.bin");
    host.open(dir.path() + "/leer");
    host.open(dir.path() + "/fehlt.docm");
    host.open(dir.path() + "/gesperrt.bin");
    ASSERT_EQ(mkfifo(QFile::encodeName(dir.path() + "/rohr.bas").constData(), 0600), 0);
    host.open(dir.path() + "/rohr.bas");

    lumo::AppTree tree;
    int version = 0;
    ASSERT_TRUE(lumo::listOfficeProjects(host, tree, version, ui));
    ASSERT_EQ(tree.size(), 2u);
    EXPECT_EQ(tree[0].key, "A1\\");
    EXPECT_EQ(tree[0].text, "VBAProject [gut.bin]");
    ASSERT_EQ(ui.messages().size(), 1);
    const QString msg = ui.messages()[0];
    EXPECT_TRUE(msg.startsWith("Folgende Dokumente konnten nicht"));
    EXPECT_TRUE(msg.contains("kaputt.doc: Die Datei ist beschädigt oder unvollständig"));
    EXPECT_TRUE(msg.contains("leer: Der Ordner enthält keine exportierten Module (.bas, .cls, .frm)."));
    EXPECT_TRUE(msg.contains("fehlt.docm: Die Datei oder der Ordner existiert nicht."));
    EXPECT_TRUE(msg.contains("rohr.bas: Das ist keine gewöhnliche Datei."));
    EXPECT_TRUE(msg.contains("gesperrt.bin: Das VBA-Projekt ist mit einem Kennwort für die Anzeige gesperrt"));
    EXPECT_EQ(ui.calls[0].icon, lumo::MsgIcon::Warning);

    // The same problems again: not repeated; a new one: only that one.
    ASSERT_TRUE(lumo::listOfficeProjects(host, tree, version, ui));
    EXPECT_EQ(ui.messages().size(), 1);
    QFile::remove(dir.path() + "/gut.bin");
    EXPECT_TRUE(lumo::listOfficeProjects(host, tree, version, ui));
    EXPECT_TRUE(tree.empty());
    ASSERT_EQ(ui.messages().size(), 2);
    EXPECT_TRUE(ui.messages()[1].contains("gut.bin"));
    EXPECT_FALSE(ui.messages()[1].contains("kaputt.doc"));
    // Opening a known bad document again tells its problem again, and only its.
    host.open(dir.path() + "/kaputt.doc");
    EXPECT_TRUE(lumo::listOfficeProjects(host, tree, version, ui));
    ASSERT_EQ(ui.messages().size(), 3);
    EXPECT_TRUE(ui.messages()[2].contains("kaputt.doc: Die Datei ist beschädigt"));
    EXPECT_FALSE(ui.messages()[2].contains("gut.bin"));
    EXPECT_EQ(host.failedDocuments().size(), 5);
    EXPECT_EQ(host.unlistedDocuments(), QStringList{dir.path() + "/gesperrt.bin"});
}

TEST(DocumentHost, AProjectOfComponentsWithoutCodeOnlyIsNamed) {
    QTemporaryDir dir;
    write(dir.path() + "/leer.bin",
          lumo::test::vbaProjectBin({{{"ThisDocument", {}, "ThisDocument", 0, false}, "Attribute VB_Name = \"ThisDocument\"\r\n"},
                                     {{"Modul1", {}, "Modul1", 0, true}, "Attribute VB_Name = \"Modul1\"\r\nOption Explicit\r\n' nur ein Kommentar\r\n"}}));
    lumo::test::FakeUi ui;
    lumo::DocumentHost host(&ui);
    host.open(dir.path() + "/leer.bin");
    lumo::AppTree tree;
    int version = 0;
    ASSERT_TRUE(lumo::listOfficeProjects(host, tree, version, ui));
    EXPECT_TRUE(tree.empty());
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains("leer.bin: Das VBA-Projekt hat nur Komponenten ohne Code"))
        << ui.messages()[0].toStdString();
}

TEST(DocumentHost, EntriesOfAModuleFolderLeftOutAreNamed) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/Module";
    QDir().mkpath(folder + "/tief/a/b/c/d/e/f/g/h");
    write(folder + "/Gut.bas", "Attribute VB_Name = \"Gut\"\nSub A()\n  B\nEnd Sub\n");
    write(folder + "/tief/a/b/c/d/e/f/g/h/Tief.bas", "Sub T()\n  B\nEnd Sub\n");
    ASSERT_EQ(mkfifo(QFile::encodeName(folder + "/Rohr.bas").constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(folder + "/weg.bas", folder + "/Verweis.bas"));
    lumo::test::FakeUi ui;
    lumo::DocumentHost host(&ui);
    host.open(folder);
    lumo::AppTree tree;
    int version = 0;
    ASSERT_TRUE(lumo::listOfficeProjects(host, tree, version, ui));
    ASSERT_EQ(tree.size(), 2u);
    EXPECT_EQ(tree[1].text, "Gut");
    ASSERT_EQ(ui.messages().size(), 1);
    const QString msg = ui.messages()[0];
    EXPECT_TRUE(msg.contains("Rohr.bas: keine gewöhnliche Datei (Gerät, Pipe oder Socket); ausgelassen.")) << msg.toStdString();
    EXPECT_TRUE(msg.contains("Verweis.bas: die Verknüpfung zeigt ins Leere; ausgelassen.")) << msg.toStdString();
    EXPECT_TRUE(msg.contains("tief/a/b/c/d/e/f/g: der Ordner liegt tiefer als 8 Ebenen; ausgelassen."))
        << msg.toStdString();
}

}  // namespace

TEST(DocumentHost, AnExportedModuleStandsForItsFolder) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("Modul.BAS");  // a folder named like a module is itself
    write(dir.path() + "/A.Cls", "Attribute VB_Name = \"A\"\r\n");
    write(dir.path() + "/Buch.docm", "PK");
    EXPECT_EQ(lumo::documentTargetOf(dir.path() + "/A.Cls"), dir.path());
    EXPECT_EQ(lumo::documentTargetOf(dir.path() + "/Buch.docm"), dir.path() + "/Buch.docm");
    EXPECT_EQ(lumo::documentTargetOf(dir.path() + "/Modul.BAS"), dir.path() + "/Modul.BAS");
    EXPECT_EQ(lumo::documentTargetOf(dir.path() + "/fehlt.bas"), dir.path() + "/fehlt.bas");
}
