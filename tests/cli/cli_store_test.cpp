// codelumo-cli build never destroys or fakes: the output folder, bad
// sources, concurrent builds, a missing template, exported module files.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>

#include "cli/CliFixture.h"
#include "model/TagNotation.h"
#include "support/VbaFixture.h"

namespace {

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray contents(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(fehlt)");
}

const QByteArray kModule = "Attribute VB_Name = \"Haupt\"\nSub A()\n  B\nEnd Sub\n";

}  // namespace

TEST_F(CliBuild, AFolderOfTheUsersOwnIsRefusedAndLeftAlone) {
    QDir().mkpath(path("out"));
    write("out/M1.txt", "eigene Notizen");
    write("out/M2024.txt", "mehr Notizen");
    write("out/DivuRuvi.mdb", "keine Datenbank");
    write("Haupt.bas", kModule);
    const CliRun r = run({"build", "--out", path("out"), path("Haupt.bas")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("keine Projektdatenbank DivuRuvi.mdb von Code Lumo; er wird nicht überschrieben"))
        << r.err.toStdString();
    EXPECT_EQ(entries(path("out")), QStringList({"DivuRuvi.mdb", "M1.txt", "M2024.txt"}));
    EXPECT_EQ(contents(path("out/M1.txt")), "eigene Notizen");
    EXPECT_EQ(contents(path("out/DivuRuvi.mdb")), "keine Datenbank");

    // A real store with one file of the user's beside it is not ours either.
    ASSERT_EQ(run({"build", "--out", path("store"), path("Haupt.bas")}).status, 0);
    write("store/Notiz.txt", "meins");
    const CliRun again = run({"build", "--out", path("store"), path("Haupt.bas")});
    EXPECT_EQ(again.status, 1);
    EXPECT_TRUE(again.err.contains("nicht nur ein Projekt von Code Lumo (etwa Notiz.txt)")) << again.err.toStdString();
    EXPECT_EQ(contents(path("store/Notiz.txt")), "meins");
    // A file where the folder should be.
    write("datei", "x");
    EXPECT_EQ(run({"build", "--out", path("datei"), path("Haupt.bas")}).status, 1);
    EXPECT_EQ(contents(path("datei")), "x");
    EXPECT_TRUE(entries(dir.path()).filter(".neu-").isEmpty());
}

TEST_F(CliBuild, AStoreOfOursIsReplacedWholeAndNoSourcesIsAUsageError) {
    write("A.bas", "Sub A()\n  x\nEnd Sub\n");
    write("B.bas", "Sub B()\n  x\nEnd Sub\n");
    write("C.bas", "Sub C()\n  x\nEnd Sub\n");
    ASSERT_EQ(run({"build", "--out", path("out"), path("A.bas"), path("B.bas"), path("C.bas")}).status, 0);
    const CliRun r = run({"build", "--out", path("out"), path("C.bas")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, (path("out") + "/: 1 Module, 1 Routinen\n").toUtf8());
    EXPECT_EQ(entries(path("out")), QStringList({"DivuRuvi.mdb", "M1.txt"}));
    EXPECT_TRUE(lumo::test::untagged(moduleText(1)).startsWith("Sub C()"));
    // Nothing left beside it.
    EXPECT_EQ(entries(dir.path()).filter("out"), QStringList({"out"}));

    const CliRun none = run({"build", "--out", path("out")});
    EXPECT_EQ(none.status, 2);
    EXPECT_TRUE(none.err.startsWith("Keine Quelle angegeben.\nAufruf: codelumo-cli build --out ORDNER")) << none.err.toStdString();
    EXPECT_EQ(entries(path("out")), QStringList({"DivuRuvi.mdb", "M1.txt"}));
}

TEST_F(CliBuild, ASecondBuildIntoTheSameFolderIsRefusedWhileTheFirstRuns) {
    write("A.bas", "Sub A()\n  x\nEnd Sub\n");
    ASSERT_EQ(run({"build", "--out", path("out"), path("A.bas")}).status, 0);
    const QByteArray before = contents(path("out/M1.txt"));
    {
        QLockFile other(path(".out.lumo-lock"));  // what a running build holds
        ASSERT_TRUE(other.tryLock(0));
        const CliRun r = run({"build", "--out", path("out"), "--einr", path("A.bas")});
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains("wird gerade ein anderes Projekt erzeugt (Prozess " +
                                   QString::number(QCoreApplication::applicationPid())))
            << r.err.toStdString();
        EXPECT_EQ(contents(path("out/M1.txt")), before);
    }
    // A killed build's lock and half-built folder do not stand in the way.
    QDir().mkpath(path(".out.neu-abcdef"));
    write(".out.neu-abcdef/M1.txt", "halb");
    EXPECT_EQ(run({"build", "--out", path("out"), path("A.bas")}).status, 0);
    EXPECT_FALSE(QFileInfo::exists(path(".out.neu-abcdef")));
}

TEST_F(CliBuild, TheTemplateIsCheckedBeforeAnythingIsTouched) {
    write("A.bas", "Sub A()\n  x\nEnd Sub\n");
    ASSERT_EQ(run({"build", "--out", path("out"), path("A.bas")}).status, 0);
    // The program alone, without the template beside it.
    QDir().mkpath(path("prog"));
    ASSERT_TRUE(QFile::copy(LUMO_BIN_DIR "/codelumo-cli", path("prog/codelumo-cli")));
    write("B.bas", "Sub B()\n  x\nEnd Sub\n");
    const CliRun r = runProgram(path("prog/codelumo-cli"), {"build", "--out", path("out"), path("B.bas")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Die notwendige Datenbank\n" + path("prog/mask_DivuRuvi.mdb") +
                         "\nexistiert nicht !!!\nBitte kopieren Sie diese wieder an diese Stelle\n");
    EXPECT_TRUE(lumo::test::untagged(moduleText(1)).startsWith("Sub A()"));
}

TEST_F(CliBuild, SourcesAreClassifiedAsListAndDumpDoTheirs) {
    // An OLE signature with one byte flipped, followed by binary.
    QByteArray flipped("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE0", 8);
    flipped += QByteArray(4096, '\0');
    write("kaputt.doc", flipped);
    write("A.bas", "Sub A()\n  x\nEnd Sub\n");
    const CliRun list = run({"list", path("kaputt.doc")});
    const CliRun build = run({"build", "--out", path("out"), path("A.bas"), path("kaputt.doc")});
    EXPECT_EQ(build.status, 1) << build.err.toStdString() << build.out.toStdString();
    const QString reason = "kaputt.doc: Die Datei ist keine Office-Datei";
    EXPECT_TRUE(list.err.contains(reason)) << list.err.toStdString();
    EXPECT_TRUE(build.err.contains(reason)) << build.err.toStdString();
    EXPECT_TRUE(build.out.contains(": 1 Module, 1 Routinen")) << build.out.toStdString();  // the rest is built
    // --raw takes text only.
    const CliRun raw = run({"build", "--raw", "--out", path("roh"), path("kaputt.doc")});
    EXPECT_EQ(raw.status, 1);
    EXPECT_TRUE(raw.err.contains("kaputt.doc: Die Datei ist kein Modultext (sie enthält Binärdaten).")) << raw.err.toStdString();
}

TEST_F(CliBuild, ExportedFilesAreReadAsTheWindowReadsThem) {
    write("Datei.cls",
          "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\nAttribute VB_Name = \"WebClient\"\r\n"
          "Attribute VB_GlobalNameSpace = False\r\nAttribute VB_Exposed = True\r\nOption Explicit\r\n"
          "Public Function Url() As String\r\nAttribute Url.VB_Description = \"Adresse\"\r\n  Url = \"x\"\r\n"
          "End Function\r\n");
    ASSERT_EQ(run({"build", "--out", path("out"), "--no-einr", "--no-leer", "--no-rle", path("Datei.cls")}).status, 0);
    EXPECT_EQ(lumo::test::untagged(moduleText(1)),
              "Option Explicit\r\nPublic Function Url() As String\r\n  Url = \"x\"\r\nEnd Function\r\n");
    lumo::Query q = store().query("SELECT mod_name, mod_typ, mod_zeilen FROM td_mod");
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.text(0), "WebClient");
    EXPECT_EQ(q.integer(1), 3);
    const CliRun dump = run({"dump", path("Datei.cls")});
    EXPECT_TRUE(dump.out.startsWith("== WebClient\t2\t4\n")) << dump.out.toStdString();
    lumo::WorkingStore::instance().closeWorkingDatabase();

    // --raw keeps the old whole-file reading.
    ASSERT_EQ(run({"build", "--raw", "--out", path("out"), "--no-einr", path("Datei.cls")}).status, 0);
    EXPECT_TRUE(lumo::test::untagged(moduleText(1)).startsWith("VERSION 1.0 CLASS\r\nBEGIN\r\n"));
    lumo::Query raw = store().query("SELECT mod_name, mod_zeilen FROM td_mod");
    ASSERT_TRUE(raw.next());
    EXPECT_EQ(raw.text(0), "Datei");
    EXPECT_EQ(raw.integer(1), 12);
    const CliRun help = run({"help"});
    EXPECT_TRUE(help.out.contains("--raw: jede Quelle ist eine Textdatei")) << help.out.toStdString();
}

TEST_F(CliBuild, PipesAndDevicesAreRefusedNotRead) {
    ASSERT_EQ(mkfifo(QFile::encodeName(path("rohr.bas")).constData(), 0600), 0);
    for (const QStringList& args : {QStringList{"build", "--out", path("out"), path("rohr.bas")},
                                    QStringList{"build", "--raw", "--out", path("out"), path("rohr.bas")},
                                    QStringList{"build", "--raw", "--out", path("out"), "/dev/zero"}}) {
        const CliRun r = runProgram(QStringLiteral(LUMO_BIN_DIR "/codelumo-cli"), args, 10000);
        EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("Das ist keine gewöhnliche Datei.")) << r.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(path("out")));
    // A settings file that is a pipe is refused too, by every command that reads it.
    ASSERT_EQ(mkfifo(QFile::encodeName(path("settings.fifo")).constData(), 0600), 0);
    settingsFile = path("settings.fifo");
    write("A.bas", "Sub A()\n  x\nEnd Sub\n");
    for (const QStringList& args : {QStringList{"info"}, QStringList{"build", "--out", path("out"), path("A.bas")}}) {
        const CliRun r = runProgram(QStringLiteral(LUMO_BIN_DIR "/codelumo-cli"), args, 10000);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains("Die Einstellungsdatei " + path("settings.fifo") + " ist keine gewöhnliche Datei"))
            << r.err.toStdString();
    }
}

TEST_F(CliBuild, TooManyModulesIsSaidAsSuchBeforeAnythingIsWritten) {
    // 32768 tiny modules in one folder: one more than the store can number.
    QDir().mkpath(path("viele"));
    for (int i = 0; i < 32768; ++i) write("viele/M" + QString::number(i) + ".bas", "Sub A()\n  x\nEnd Sub\n");
    const CliRun r = run({"build", "--out", path("out"), path("viele")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Zu viele Module: ein Projekt fasst höchstens 32767 Module, die Quellen haben 32768."))
        << r.err.left(400).toStdString();
    EXPECT_FALSE(r.err.contains("Fehler beim Einlesen"));
    EXPECT_FALSE(QFileInfo::exists(path("out")));
}

namespace {

// Permissions do not bite for root: as root, the program runs as nobody.
// Returns the program and the arguments before the command's own; empty
// when that is not possible here.
QStringList unprivileged() {
    const QString cli = QStringLiteral(LUMO_BIN_DIR "/codelumo-cli");
    if (::geteuid() != 0) return {cli};
    if (!QFileInfo::exists("/usr/bin/setpriv")) return {};
    return {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", cli};
}

}  // namespace

TEST_F(CliBuild, MissingRightsAreNamedAsSuch) {
    QStringList program = unprivileged();
    if (program.isEmpty()) GTEST_SKIP() << "no way to run without privileges here (root without setpriv)";
    const QString exe = program.takeFirst();
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
    QDir().mkpath(path("data"));
    QFile::setPermissions(path("data"), QFileDevice::Permissions(0x7777));
    QDir().mkpath(path("Module/Geheim"));
    write("Module/Offen.bas", "Attribute VB_Name = \"Offen\"\nSub A()\n  x\nEnd Sub\n");
    write("Module/Zu.bas", "Attribute VB_Name = \"Zu\"\nSub B()\n  x\nEnd Sub\n");
    write("Module/Geheim/Drin.bas", "Sub C()\n  x\nEnd Sub\n");
    QFile::setPermissions(path("Module/Zu.bas"), QFileDevice::Permissions());
    QFile::setPermissions(path("Module/Geheim"), QFileDevice::Permissions());
    QDir().mkpath(path("nurlesen"));
    QFile::setPermissions(path("nurlesen"), QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                QFileDevice::ExeOther);

    const CliRun list = runProgram(exe, program + QStringList{"list", path("Module")});
    EXPECT_EQ(list.status, 1) << list.err.toStdString();  // listed in part
    EXPECT_TRUE(list.err.contains("Zu.bas: Die Datei kann nicht geöffnet werden: Zugriff verweigert.")) << list.err.toStdString();
    EXPECT_TRUE(list.err.contains("Geheim: der Ordner kann nicht gelesen werden (Zugriff verweigert); ausgelassen."))
        << list.err.toStdString();

    // The build needs the template beside the program; a checkout below a
    // folder only its owner may enter keeps it from the unprivileged user,
    // and the build would rightly say that instead.
    if (exe == QLatin1String("/usr/bin/setpriv")) {
        QStringList probe = program.mid(0, program.size() - 1);
        probe << "/usr/bin/test" << "-r" << QStringLiteral(LUMO_BIN_DIR "/mask_DivuRuvi.mdb");
        if (runProgram(exe, probe).status != 0)
            GTEST_SKIP() << "the template is out of reach of the unprivileged user in this checkout";
    }
    const CliRun build = runProgram(exe, program + QStringList{"build", "--out", path("nurlesen/out"), path("Module/Offen.bas")});
    EXPECT_EQ(build.status, 1);
    EXPECT_TRUE(build.err.contains("Zugriff verweigert")) << build.err.toStdString();
    EXPECT_FALSE(build.err.contains("existiert nicht !!!")) << build.err.toStdString();
    EXPECT_FALSE(build.err.contains("denied")) << build.err.toStdString();

    // A project folder the user made read-only is refused and stays as it
    // is, protected, with nothing left beside it, however often one tries.
    QDir().mkpath(path("eigen"));
    QFile::setPermissions(path("eigen"), QFileDevice::Permissions(0x7777));
    const QStringList intoOwn{"build", "--out", path("eigen/out"), path("Module/Offen.bas")};
    ASSERT_EQ(runProgram(exe, program + intoOwn).status, 0);
    const auto protectedMode = QFileDevice::ReadOwner | QFileDevice::ExeOwner;
    QFile::setPermissions(path("eigen/out"), protectedMode);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const CliRun again = runProgram(exe, program + intoOwn);
        EXPECT_EQ(again.status, 1);
        EXPECT_TRUE(again.err.contains("ist schreibgeschützt; er wird nicht ersetzt.")) << again.err.toStdString();
    }
    EXPECT_EQ(QFile::permissions(path("eigen/out")) & 0x7077, protectedMode);  // without the ...User bits
    EXPECT_EQ(QDir(path("eigen")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"out"});

    // An unreadable settings file is named, not taken for an empty one.
    write("geheim.ini", "[optionen]\nleer=-1\n");
    QFile::setPermissions(path("geheim.ini"), QFileDevice::WriteOwner);
    settingsFile = path("geheim.ini");
    const CliRun info = runProgram(exe, program + QStringList{"info"});
    EXPECT_EQ(info.status, 1);
    EXPECT_TRUE(info.err.contains("Die Einstellungsdatei " + path("geheim.ini") + " kann nicht gelesen werden"))
        << info.err.toStdString();
}

TEST_F(CliBuild, AFullDiskIsNamedAndThePreviousProjectStays) {
    // A small file system of its own; only where this process may mount one.
    QDir().mkpath(path("klein"));
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=300k", "tmpfs", path("klein")}) != 0)
        GTEST_SKIP() << "no small file system can be mounted here";
    struct Unmount {
        QString at;
        ~Unmount() { QProcess::execute("umount", {at}); }
    } unmount{path("klein")};
    write("Klein.bas", "Sub A()\n  x\nEnd Sub\n");
    QByteArray big = "Sub B()\n";
    while (big.size() < 2 * 1024 * 1024) big += "  x = x + 1 ' Kommentar\n";
    write("Gross.bas", big + "End Sub\n");
    ASSERT_EQ(run({"build", "--out", path("klein/out"), path("Klein.bas")}).status, 0);
    const CliRun r = run({"build", "--out", path("klein/out"), path("Gross.bas")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("Das Modul Gross kann nicht gespeichert werden: ")) << r.err.toStdString();
    EXPECT_TRUE(r.err.endsWith("Kein Platz mehr auf dem Datenträger\n")) << r.err.toStdString();
    EXPECT_EQ(entries(path("klein/out")), QStringList({"DivuRuvi.mdb", "M1.txt"}));
    EXPECT_TRUE(lumo::test::untagged(QString::fromUtf8(contents(path("klein/out/M1.txt")))).startsWith("Sub A()"));
    EXPECT_EQ(entries(path("klein")), QStringList({"out"}));
}
