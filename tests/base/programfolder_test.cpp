#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "base/ProgramFolder.h"

using namespace lumo;

namespace {

// An installation tree as the package lays it out: prefix/bin beside
// prefix/share/codelumo.
class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir(root.path()).mkpath("usr/bin"));
        ASSERT_TRUE(QDir(root.path()).mkpath("usr/share/codelumo"));
    }
    QString bin() const { return root.path() + "/usr/bin"; }
    QString share() const { return root.path() + "/usr/share/codelumo"; }
    static void put(const QString& path) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QTemporaryDir root;
};

TEST_F(ProgramFolderTest, InstalledFilesAreFoundUnderShare) {
    put(share() + "/mask_DivuRuvi.mdb");
    EXPECT_EQ(locateShippedFiles(bin()), share() + "/");
    EXPECT_EQ(locateShippedFiles(bin() + "/"), share() + "/");
}

TEST_F(ProgramFolderTest, FilesBesideTheProgramWinOverAnInstalledCopy) {
    // A build run from its folder must use its own template, even on a
    // machine where the package is installed as well.
    put(share() + "/mask_DivuRuvi.mdb");
    put(bin() + "/mask_DivuRuvi.mdb");
    EXPECT_EQ(locateShippedFiles(bin()), bin() + "/");
}

TEST_F(ProgramFolderTest, TheHelpPageAloneMarksTheFolderAndNothingFallsBackBeside) {
    EXPECT_EQ(locateShippedFiles(bin()), bin() + "/");
    put(share() + "/Code Lumo.html");
    EXPECT_EQ(locateShippedFiles(bin()), share() + "/");
    // A folder named like a shipped file is no shipped file.
    ASSERT_TRUE(QDir(bin()).mkdir("mask_DivuRuvi.mdb"));
    EXPECT_EQ(locateShippedFiles(bin()), share() + "/");
}

}  // namespace
