// Hostile input, each case run by codelumo-cli in a process of its own: the
// exit status, the refusal on standard error, and the peak resident size
// the system reports when the process ends. A process that does not end
// within a minute counts as hanging. No case may send an escape character
// to a terminal, on either output.
#include <gtest/gtest.h>

#include <malloc.h>
#include <sqlite3.h>
#include <unistd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include <fcntl.h>

#include <chrono>
#include <functional>
#include <map>
#include <thread>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/VbaFixture.h"

namespace {

// Reading up to the 128 MB source-text budget stays below this.
constexpr long kMaxResidentKb = 600 * 1024;

struct Outcome {
    int status = -1;
    long maxResidentKb = 0;
    QString err;
    bool escapeOut = false;  // standard output held an escape character
};

// fork, not posix_spawn: a child that shares the parent's memory until it
// runs the program inherits the parent's peak in its own; a forked copy
// starts from what the parent holds now, which the test keeps small.
Outcome runMeasured(const QStringList& args, const QString& errFile, const QString& outFile = "/dev/null") {
    std::vector<QByteArray> bytes{QByteArray(LUMO_BIN_DIR "/codelumo-cli")};
    for (const QString& a : args) bytes.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& b : bytes) argv.push_back(b.data());
    argv.push_back(nullptr);
    const QByteArray errPath = QFile::encodeName(errFile);
    const QByteArray outPath = QFile::encodeName(outFile);
    Outcome o;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(::open(outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        ::dup2(::open(errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    pid_t done = 0;
    while (pid > 0 && (done = ::wait4(pid, &status, WNOHANG, &usage)) == 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (pid > 0 && done == 0) {
        ::kill(pid, SIGKILL);
        ::wait4(pid, &status, 0, &usage);
        o.err = "hängt";
        return o;
    }
    if (done == pid) {
        o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        o.maxResidentKb = usage.ru_maxrss;
    }
    QFile err(errFile);
    if (err.open(QIODevice::ReadOnly)) o.err = QString::fromUtf8(err.readAll());
    QFile out(outFile);
    if (out.fileName() != "/dev/null" && out.open(QIODevice::ReadOnly)) o.escapeOut = out.readAll().contains('\x1B');
    return o;
}

// Modules of their own streams, each decompressing to chunks × 4096 bytes.
QByteArray manyLargeModules(int modules, int chunks) {
    std::map<QString, QByteArray> streams;
    std::vector<lumo::test::FixtureModule> dir;
    const QByteArray junk(40, '\x7F');
    for (int i = 1; i <= modules; ++i) {
        const QByteArray name = "Modul" + QByteArray::number(i);
        streams["VBA/" + QString::fromLatin1(name)] = junk + lumo::test::fillContainer(chunks);
        dir.push_back({name, {}, name, std::uint32_t(junk.size()), true});
    }
    streams["VBA/dir"] = lumo::test::literalContainer(lumo::test::dirStream(dir));
    streams["VBA/_VBA_PROJECT"] = QByteArray("\xCC\x61\xFF\xFF\x00\x00\x00", 7);
    return lumo::test::oleFile(streams);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

void sql(const QString& database, const char* statements) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(database).constData(), &db), SQLITE_OK);
    char* err = nullptr;
    EXPECT_EQ(sqlite3_exec(db, statements, nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
    sqlite3_free(err);
    sqlite3_close(db);
}

// A copy of the project built once, to be damaged.
QString copyOfProject(const QString& root, const QString& name) {
    const QString to = root + "/" + name + "/";
    QDir().mkpath(to);
    for (const QString& f : QDir(root + "/gut").entryList(QDir::Files)) QFile::copy(root + "/gut/" + f, to + f);
    return to;
}

struct Case {
    const char* name;
    std::function<void(const QString& root)> prepare;
    QStringList args;  // "@" stands for the case's folder
    int status;
    const char* message;  // on standard error
    double maxSeconds = 60;
    std::function<void(const QString& at)> after = {};
};

// What a path is (type, device, inode), to tell that it was not replaced.
QString identity(const QString& path, bool followLink = true) {
    struct stat st {};
    const QByteArray native = QFile::encodeName(path);
    if ((followLink ? ::stat(native.constData(), &st) : ::lstat(native.constData(), &st)) != 0) return "fehlt";
    return QString("%1/%2/%3/%4").arg(st.st_mode).arg(st.st_rdev).arg(st.st_dev).arg(st.st_ino);
}

void rotateModuleTexts(const QString& at) {
    QFile::rename(at + "/M1.txt", at + "/M0.txt");
    QFile::rename(at + "/M2.txt", at + "/M1.txt");
    QFile::rename(at + "/M3.txt", at + "/M2.txt");
    QFile::rename(at + "/M0.txt", at + "/M3.txt");
}

QByteArray databaseHeader(const QString& folder) {
    QFile f(folder + "/DivuRuvi.mdb");
    return f.open(QIODevice::ReadOnly) ? f.read(100) : QByteArray();
}

}  // namespace

TEST(Hostile, EveryCaseEndsBoundedWithItsOutcome) {
    QTemporaryDir dir;
    const QString root = dir.path();
    qputenv("LUMO_SETTINGS_FILE", QFile::encodeName(root + "/settings.ini"));
    qputenv("LUMO_DATA_DIR", QFile::encodeName(root + "/data"));
    const QByteArray types =
        "<Types><Override PartName=\"/word/vbaProject.bin\" ContentType=\"application/vnd.ms-office.vbaProject\"/>";
    const QByteArray bin = lumo::test::vbaProjectBin({{{"Modul1", {}, "Modul1", 0, true}, "Sub A()\r\n  x\r\nEnd Sub\r\n"}});
    const QByteArray module = "Attribute VB_Name = \"Eins\"\nSub A()\n  B\nEnd Sub\nSub B()\nEnd Sub\n";
    writeFile(root + "/quelle/Eins.bas", module);
    writeFile(root + "/quelle/Zwei.bas", "Attribute VB_Name = \"Zwei\"\nSub C()\n  A\nEnd Sub\n");
    writeFile(root + "/quelle/Drei.bas", "Attribute VB_Name = \"Drei\"\nSub D()\n  x\nEnd Sub\n");
    ASSERT_EQ(runMeasured({"build", "--out", root + "/gut", root + "/quelle"}, root + "/err").status, 0);
    const auto document = [](QByteArray bytes) {
        return [bytes](const QString& at) { writeFile(at + "/doc.bin", bytes); };
    };
    const QString doc = "@/doc.bin";
    const QString gut = root + "/gut";
    // The case's own copy of the built project.
    const auto project = [&](const QString& at) { return copyOfProject(root, QFileInfo(at).fileName()); };
    const auto fifo = [](const QString& path) { ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0); };
    std::map<QString, QString> before;  // identity() of a path before the run
    int reader = -1;                    // a reader of the case's pipe
    const auto unchanged = [&](const QString& path, bool followLink = true) {
        EXPECT_EQ(identity(path, followLink), before[path + (followLink ? "" : "/link")]) << path.toStdString();
    };
    const auto remember = [&](const QString& path, bool followLink = true) {
        before[path + (followLink ? "" : "/link")] = identity(path, followLink);
    };

    const std::vector<Case> cases{
        // Documents of under 1 MB that would decompress to gigabytes.
        {"geteilt", document(lumo::test::sharedStreamProject(100, 4096)), {"dump", doc}, 1, "wäre größer als 24 MB"},
        {"zwanzig", document(manyLargeModules(20, 4096)), {"list", doc}, 1, "wäre größer als 24 MB"},
        {"knapp", document(manyLargeModules(1, 6 * 1024 - 16)), {"dump", doc}, 0, ""},
        {"typen",
         document(lumo::test::zipFile({{"[Content_Types].xml", types + QByteArray(200 * 1024 * 1024, ' ') + "</Types>"},
                                       {"word/vbaProject.bin", bin}})),
         {"list", doc}, 1, "wäre größer als 64 MB"},
        // A link out of the module folder is not followed, and named.
        {"verknüpfung",
         [&](const QString& at) {
             writeFile(at + "/A.bas", module);
             QFile::link("/", at + "/wurzel");
             QFile::link("..", at + "/oben");
         },
         {"list", "@"}, 1, "wurzel: die Verknüpfung auf einen Ordner wird nicht verfolgt; ausgelassen."},
        // Files within their own limit, too many bytes together.
        {"ordnerbudget",
         [](const QString& at) {
             for (int i = 0; i < 3; ++i)
                 writeFile(at + "/M" + QString::number(i) + ".bas", QByteArray(43 * 1024 * 1024, 'x').append("\n"));
         },
         {"build", "--out", "@/out", "@"}, 1, "zusammen sind es 130 MB, mehr als die 128 MB Quelltext"},
        {"rohbudget",
         [](const QString& at) {
             for (const char* n : {"/a.bas", "/b.bas", "/c.bas"}) writeFile(at + n, QByteArray(43 * 1024 * 1024, 'x'));
         },
         {"build", "--raw", "--out", "@/out", "@/a.bas", "@/b.bas", "@/c.bas"}, 1, "mehr als ein Projekt haben darf"},
        // Whatever is left out makes the run fail, while the rest is built.
        {"unvollständig",
         [&](const QString& at) {
             writeFile(at + "/A.bas", module);
             writeFile(at + "/B.bas", module);
         },
         {"build", "--out", "@/out", "@"}, 1, "ein Modul namens »Eins« gibt es schon"},
        // A module name as long as a build takes gives a site too (its page name cut).
        {"langer-name",
         [&](const QString& at) {
             writeFile(at + "/L.bas", "Attribute VB_Name = \"" + QByteArray(250, 'N') + "\"\nSub A()\nEnd Sub\n");
         },
         {"site", "--out", "@/site", "@"}, 0, ""},
        // Module texts of a stored project only from regular files.
        {"rohr",
         [&](const QString& at) {
             QFile::remove(copyOfProject(root, QFileInfo(at).fileName()) + "M1.txt");
             ::mkfifo(QFile::encodeName(at + "/M1.txt").constData(), 0600);
         },
         {"export", "--rtf", "@"}, 1, "M1.txt: Das ist keine gewöhnliche Datei."},
        {"rohr-rtf",
         [&](const QString& at) {
             QFile::remove(copyOfProject(root, QFileInfo(at).fileName()) + "M1.txt");
             ::mkfifo(QFile::encodeName(at + "/M1.txt").constData(), 0600);
         },
         {"rtf", "--module", "1", "@"}, 1, "Das ist keine gewöhnliche Datei."},
        {"null",
         [&](const QString& at) {
             QFile::remove(copyOfProject(root, QFileInfo(at).fileName()) + "M2.txt");
             QFile::link("/dev/zero", at + "/M2.txt");
         },
         {"callers", "--module", "2", "--routine", "B", "@"}, 1, "M2.txt: Das ist keine gewöhnliche Datei."},
        // Hand-edited or malicious stores.
        {"ohne-modul",
         [&](const QString& at) { sql(copyOfProject(root, QFileInfo(at).fileName()) + "DivuRuvi.mdb", "DELETE FROM td_mod WHERE mod_num = 2"); },
         {"export", "--html", "@"}, 1,
         "\nist nicht mehr intakt: die Nummern mod_num der Tabelle td_mod laufen nicht lückenlos von 1 bis 2"},
        {"zeile-riesig",
         [&](const QString& at) {
             sql(copyOfProject(root, QFileInfo(at).fileName()) + "DivuRuvi.mdb", "UPDATE td_rout SET rou_start = 1099511627776 WHERE rou_num = 1");
         },
         {"definition", "--module", "1", "A", "@"}, 1, "die Routine Nummer 1 gehört zu keinem Modul"},
        {"zeile-negativ",
         [&](const QString& at) {
             sql(copyOfProject(root, QFileInfo(at).fileName()) + "DivuRuvi.mdb", "UPDATE td_rout SET rou_start = -5 WHERE rou_num = 2");
         },
         {"export", "--structure", "@"}, 1, "die Routine Nummer 2 gehört zu keinem Modul"},
        {"sicht-rekursiv",
         [&](const QString& at) {
             sql(copyOfProject(root, QFileInfo(at).fileName()) + "DivuRuvi.mdb",
                 "DROP TABLE td_rout; CREATE VIEW td_rout AS WITH RECURSIVE r(rou_num, mod_num, rou_name, rou_typ, "
                 "rou_open, anz_dec_zeilen, rou_start, rou_ende) AS (SELECT 1, 1, 'A', 1, 1, 1, 1, 3 UNION ALL "
                 "SELECT rou_num + 1, 1, 'A', 1, 1, 1, 1, 3 FROM r) SELECT * FROM r;");
         },
         {"export", "--html", "@"}, 1, "\nist nicht mehr intakt: td_rout ist keine Tabelle"},
        // Settings that are refused stop every verb that reads them.
        {"einstellungen",
         [&](const QString& at) {
             copyOfProject(root, QFileInfo(at).fileName());
             QDir().mkpath(root + "/settings.ini");
         },
         {"export", "--html", "@"}, 1, "ist ein Ordner."},
        // A large settings file is parsed once, not once per value.
        {"einstellungen-gross",
         [&](const QString&) {
             QByteArray ini = "[optionen]\nleer=-1\n[ballast]\n";
             for (int i = 0; ini.size() < 21 * 1024 * 1024; ++i) ini += "k" + QByteArray::number(i) + "=" + QByteArray(200, 'x') + "\n";
             writeFile(root + "/settings.ini", ini);
         },
         {"info"}, 0, "", 5, [&](const QString&) { QFile::remove(root + "/settings.ini"); }},
        // Reading verbs leave a store as it is, also one in WAL mode.
        {"wal",
         [&](const QString& at) { sql(copyOfProject(root, QFileInfo(at).fileName()) + "DivuRuvi.mdb", "PRAGMA journal_mode = WAL"); },
         {"export", "--structure", "@"}, 0, "", 60,
         [](const QString& at) { EXPECT_EQ(databaseHeader(at).mid(18, 2), QByteArray("\x02\x02")); }},
        // --out: only a regular file is replaced; a pipe or a device is
        // written as it is, without waiting for a reader; the rest refused.
        {"aus-ordner", [&](const QString& at) {
             QDir().mkpath(at + "/ziel");
             remember(at + "/ziel");
         },
         {"export", "--structure", "--out", "@/ziel", gut}, 1, "Das ist ein Ordner; bitte geben Sie eine Datei an.", 60,
         [&](const QString& at) { unchanged(at + "/ziel"); }},
        {"aus-rohr", [&](const QString& at) {
             fifo(at + "/rohr");
             remember(at + "/rohr");
         },
         {"export", "--html", "--out", "@/rohr", gut}, 1, "Aus der Pipe liest niemand.", 10,
         [&](const QString& at) { unchanged(at + "/rohr"); }},
        {"aus-rohr-gelesen",
         [&](const QString& at) {
             fifo(at + "/rohr");
             remember(at + "/rohr");
             reader = ::open(QFile::encodeName(at + "/rohr").constData(), O_RDONLY | O_NONBLOCK);
         },
         {"export", "--structure", "--out", "@/rohr", gut}, 0, "", 10,
         [&](const QString& at) {
             char got[4096];
             EXPECT_GT(::read(reader, got, sizeof got), 0);
             ::close(reader);
             unchanged(at + "/rohr");
         }},
        // A device of the case's own where it may be made, else a link to the system's.
        {"aus-gerät",
         [&](const QString& at) {
             const QByteArray path = QFile::encodeName(at + "/voll");
             if (::mknod(path.constData(), S_IFCHR | 0666, makedev(1, 7)) != 0) QFile::link("/dev/full", at + "/voll");
             remember(at + "/voll");
             remember(at + "/voll", false);
         },
         {"export", "--html", "--out", "@/voll", gut}, 1, "Kein Platz mehr auf dem Datenträger", 10,
         [&](const QString& at) {
             unchanged(at + "/voll");
             unchanged(at + "/voll", false);
         }},
        {"aus-schreibgeschützt",
         [&](const QString& at) {
             writeFile(at + "/alt", "alt");
             QFile::setPermissions(at + "/alt", QFileDevice::ReadOwner);
             QFile::link(at + "/alt", at + "/verweis");
             remember(at + "/alt");
             remember(at + "/verweis", false);
         },
         {"export", "--structure", "--out", "@/verweis", gut}, 1, "Die Datei ist schreibgeschützt; sie wird nicht ersetzt.",
         60,
         [&](const QString& at) {
             unchanged(at + "/alt");
             unchanged(at + "/verweis", false);
             QFile::setPermissions(at + "/alt", QFileDevice::ReadOwner | QFileDevice::WriteOwner);
         }},
        {"bau-rohr", [&](const QString& at) { fifo(at + "/rohr"); },
         {"build", "--out", "@/rohr", root + "/quelle"}, 1, "ist kein Ordner; das Projekt wird dort nicht angelegt.", 10,
         [](const QString& at) { EXPECT_FALSE(QFileInfo::exists(at + "/.rohr.lumo-lock")); }},
        // A pipe in place of the store or its journal: refused, never waited on.
        {"speicher-rohr",
         [&](const QString& at) {
             QFile::remove(project(at) + "DivuRuvi.mdb");
             fifo(at + "/DivuRuvi.mdb");
         },
         {"search", "--module", "1", "A", "@"}, 1, "DivuRuvi.mdb: Das ist keine gewöhnliche Datei.", 10},
        {"speicher-journal", [&](const QString& at) { fifo(project(at) + "DivuRuvi.mdb-journal"); },
         {"export", "--structure", "@"}, 1, "Die Datei DivuRuvi.mdb-journal daneben ist keine gewöhnliche Datei.", 10},
        {"rtf-rohr",
         [&](const QString& at) {
             QFile::remove(project(at) + "DivuRuvi.mdb");
             fifo(at + "/DivuRuvi.mdb");
         },
         {"rtf", "--module", "1", "@"}, 1, "DivuRuvi.mdb: Das ist keine gewöhnliche Datei.", 10},
        {"rtf-leer", [&](const QString& at) { QFile::resize(project(at) + "DivuRuvi.mdb", 0); },
         {"rtf", "--module", "1", "@"}, 1, "die Tabellen td_mod und td_rout fehlen"},
        // Texts of one project swapped: named wherever they are read.
        {"vertauscht", [&](const QString& at) { rotateModuleTexts(project(at)); }, {"export", "--html", "@"}, 1,
         "gehört nicht zum Modul"},
        {"vertauscht-verweise", [&](const QString& at) { rotateModuleTexts(project(at)); },
         {"references", "--module", "1", "A", "@"}, 1, "gehört nicht zum Modul"},
        // Output folders: a protected one and the root are refused before anything is made.
        {"ordner-schreibgeschützt",
         [&](const QString& at) {
             QFile::setPermissions(project(at), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
             remember(at);
         },
         {"build", "--out", "@", root + "/quelle"}, 1, "ist schreibgeschützt; er wird nicht ersetzt.", 60,
         [&](const QString& at) {
             unchanged(at);
             EXPECT_EQ(QDir(at).entryList(QDir::Files).size(), 4);
             QFile::setPermissions(at, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
         }},
        {"wurzel", [](const QString&) {}, {"site", "--out", "/", gut}, 1, "/ ist das Wurzelverzeichnis", 60,
         [](const QString&) { EXPECT_FALSE(QFileInfo::exists("/..lumo-lock")); }},
        // Control characters of names and code lines show as escapes (and
        // no case sends an escape character, see below).
        {"steuerzeichen",
         [](const QString& at) { writeFile(at + "/E.bas", "Attribute VB_Name = \"x\x1B]0;PWNED\x07y\"\nSub A()\nEnd Sub\n"); },
         {"build", "--out", "@/aus", "@/E.bas"}, 1, "»x\\x1B]0;PWNED\\x07y«"},
        {"steuerzeichen-suche",
         [&](const QString& at) {
             writeFile(at + "/E.bas", "Attribute VB_Name = \"E\"\nSub A()\n  s = \"\x1B[2J\x1B]0;PWNED\x07\"\nEnd Sub\n");
             ASSERT_EQ(runMeasured({"build", "--out", at + "/aus", at + "/E.bas"}, root + "/err").status, 0);
         },
         {"search", "--module", "1", "PWNED", "@/aus"}, 0, ""},
        // Why references finds nothing; a search through a huge module of
        // short lines ends soon, within the memory limit.
        {"verweise-keine", project, {"references", "--module", "1", "C", "@"}, 1, "Keine Verweise auf C gefunden"},
        {"verweise-unbekannt", project, {"references", "--module", "1", "Nirgends", "@"}, 1,
         "Bezeichner nicht erkannt: Nirgends"},
        {"suche-riesig",
         [&](const QString& at) {
             const int lines = 18 * 1024 * 1024;  // 72 MB
             writeFile(project(at) + "M1.txt", QByteArray("ab\r\n").repeated(lines));
             sql(at + "/DivuRuvi.mdb", QString("UPDATE td_mod SET mod_zeilen = %1 WHERE mod_num = 1").arg(lines).toUtf8().constData());
         },
         {"search", "--module", "1", "zzz", "@"}, 1, "nicht gefunden", 30},
    };
    for (const Case& c : cases) {
        const QString at = root + "/" + QString::fromUtf8(c.name);
        QDir().mkpath(at);
        c.prepare(at);
        QStringList args;
        for (const QString& a : c.args) args << QString(a).replace('@', at);
        ::malloc_trim(0);
        const auto start = std::chrono::steady_clock::now();
        const Outcome o = runMeasured(args, root + "/err", root + "/out");
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_LT(seconds, c.maxSeconds) << c.name;
        if (c.after) c.after(at);
        EXPECT_EQ(o.status, c.status) << c.name << ": " << o.err.toStdString();
        EXPECT_TRUE(o.err.contains(QString::fromUtf8(c.message))) << c.name << ": " << o.err.toStdString();
        EXPECT_LT(o.maxResidentKb, kMaxResidentKb) << c.name;
        EXPECT_FALSE(o.err.contains(QChar(0x1B)) || o.escapeOut) << c.name;
        RecordProperty(std::string(c.name) + "_kb", int(o.maxResidentKb));
        std::printf("%s: %d, %ld KB, %.1f s\n", c.name, o.status, o.maxResidentKb, seconds);
        QDir(root + "/settings.ini").removeRecursively();
        QDir(at).removeRecursively();
    }
}
