// The lock beside an output folder names why it cannot be made.
#include <gtest/gtest.h>

#include <QDir>

#include "base/OutputFolder.h"

using namespace lumo;

TEST(OutputFolderLock, ALockThatCannotBeMadeNamesTheReason) {
    if (!QDir(QStringLiteral("/proc/self")).exists()) GTEST_SKIP() << "no /proc here";
    // /proc takes no new files; the reason is the system's, not "unknown".
    OutputFolderLock lock(QStringLiteral("/proc/lumo-site"));
    QString why;
    EXPECT_FALSE(lock.tryLock(QStringLiteral("%1 %2"), &why));
    EXPECT_EQ(why, QStringLiteral("Neben dem Ordner /proc/lumo-site kann keine Sperrdatei angelegt werden: "
                                  "Datei oder Ordner existiert nicht."));
}
