// Hostile documents of under 1 MB stay bounded in memory: each is listed
// and dumped by codelumo-cli in a process of its own, whose peak resident
// size the system reports when it ends.
#include <gtest/gtest.h>

#include <malloc.h>
#include <unistd.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <fcntl.h>

#include <functional>

#include <QFile>
#include <QTemporaryDir>

#include "support/VbaFixture.h"

namespace {

constexpr long kMaxResidentKb = 300 * 1024;

struct Outcome {
    int status = -1;
    long maxResidentKb = 0;
};

// fork, not posix_spawn: a child that shares the parent's memory until it
// runs the program inherits the parent's peak in its own; a forked copy
// starts from what the parent holds now, which the test keeps small.
Outcome runMeasured(const QStringList& args) {
    std::vector<QByteArray> bytes{QByteArray(LUMO_BIN_DIR "/codelumo-cli")};
    for (const QString& a : args) bytes.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& b : bytes) argv.push_back(b.data());
    argv.push_back(nullptr);
    Outcome o;
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    if (pid > 0 && ::wait4(pid, &status, 0, &usage) == pid) {
        o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        o.maxResidentKb = usage.ru_maxrss;
    }
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

}  // namespace

TEST(HostileDocuments, StayUnder300MbInListAndDump) {
    QTemporaryDir dir;
    qputenv("LUMO_SETTINGS_FILE", QFile::encodeName(dir.path() + "/settings.ini"));
    qputenv("LUMO_DATA_DIR", QFile::encodeName(dir.path() + "/data"));
    const QByteArray types =
        "<Types><Override PartName=\"/word/vbaProject.bin\" ContentType=\"application/vnd.ms-office.vbaProject\"/>";
    const QByteArray bin = lumo::test::vbaProjectBin({{{"Modul1", {}, "Modul1", 0, true}, "Sub A()\r\n  x\r\nEnd Sub\r\n"}});
    const std::vector<std::pair<QString, std::function<QByteArray()>>> documents{
        // A hundred records sharing one stream of 16 MB.
        {"geteilt.bin", [] { return lumo::test::sharedStreamProject(100, 4096); }},
        // Twenty modules of 16 MB each.
        {"zwanzig.bin", [] { return manyLargeModules(20, 4096); }},
        // One module just within the budget: all of it is read and shown.
        {"knapp.bin", [] { return manyLargeModules(1, 6 * 1024 - 16); }},
        // A list of content types of 200 MB.
        {"typen.docm", [&] {
             return lumo::test::zipFile({{"[Content_Types].xml", types + QByteArray(200 * 1024 * 1024, ' ') + "</Types>"},
                                         {"word/vbaProject.bin", bin}});
         }},
    };
    for (const auto& [name, make] : documents) {
        QFile f(dir.path() + "/" + name);
        {
            const QByteArray bytes = make();
            ASSERT_LT(bytes.size(), 1024 * 1024) << name.toStdString();
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
            f.close();
        }
        ::malloc_trim(0);
        for (const char* command : {"list", "dump"}) {
            const Outcome o = runMeasured({command, f.fileName()});
            EXPECT_NE(o.status, -1) << command << " " << name.toStdString();
            EXPECT_LT(o.maxResidentKb, kMaxResidentKb) << command << " " << name.toStdString();
            // The one within budget is read; the others are refused.
            EXPECT_EQ(o.status, name == "knapp.bin" ? 0 : 1) << command << " " << name.toStdString();
            RecordProperty((QString(command) + "_" + name + "_kb").toStdString(), int(o.maxResidentKb));
            std::printf("%s %s: %ld KB\n", command, name.toUtf8().constData(), o.maxResidentKb);
        }
    }
}
