// The lock beside an output folder names why it cannot be made; a folder's
// snapshot tells whether anything in it changed during a run.
#include <gtest/gtest.h>

#include <functional>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>

#include "base/OutputFolder.h"

using namespace lumo;

namespace {

TEST(OutputFolderLock, ALockThatCannotBeMadeNamesTheReason) {
    if (!QDir(QStringLiteral("/proc/self")).exists()) GTEST_SKIP() << "no /proc here";
    // /proc takes no new files; the reason is the system's, not "unknown".
    OutputFolderLock lock(QStringLiteral("/proc/lumo-site"));
    QString why;
    EXPECT_FALSE(lock.tryLock(QStringLiteral("%1 %2"), &why));
    EXPECT_EQ(why, QStringLiteral("Neben dem Ordner /proc/lumo-site kann keine Sperrdatei angelegt werden: "
                                  "Datei oder Ordner existiert nicht."));
}

void write(const QString& path, const QByteArray& content) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

TEST(FolderSnapshot, ChangesWithEveryFileAddedResizedOrTouched) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/site";
    EXPECT_EQ(folderSnapshot(folder), folderSnapshot(folder));  // none yet
    QDir().mkpath(folder);
    write(folder + "/index.html", "alt");
    write(folder + "/site.css", "a{}");
    const QString before = folderSnapshot(folder);
    EXPECT_EQ(folderSnapshot(folder), before);
    struct Case {
        const char* what;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"added", [&] { write(folder + "/notizen.txt", "x"); }},
        {"resized", [&] { write(folder + "/index.html", "neuer"); }},
        {"touched", [&] {
             struct timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 5}};
             ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(folder + "/site.css").constData(), times, 0), 0);
         }},
        {"a folder added", [&] { QDir().mkpath(folder + "/bilder"); }},
    };
    QString last = before;
    for (const Case& c : cases) {
        c.change();
        const QString now = folderSnapshot(folder);
        EXPECT_NE(now, last) << c.what;
        last = now;
    }
}

}  // namespace
