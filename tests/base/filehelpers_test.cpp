#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "acquire/BrowseForFolder.h"
#include "acquire/SaveFileName.h"
#include "base/FileHelpers.h"
#include "support/FakeUi.h"

using namespace lumo;

namespace {

void touch(const QString& path, const QByteArray& content = "x") {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

QStringList relative(const QStringList& paths, const QString& base) {
    QStringList out;
    for (const QString& p : paths) out << p.mid(base.size());
    return out;
}

TEST(FileHelpers, NamesAndSeparators) {
    EXPECT_EQ(withTrailingBackslash("/home/u/Proj"), "/home/u/Proj/");
    EXPECT_EQ(withTrailingBackslash("/home/u/Proj/"), "/home/u/Proj/");
    EXPECT_EQ(removeInvalidFileNameChars("a\"b:c"), "abc");
    EXPECT_EQ(removeInvalidFileNameChars("???"), "");
    EXPECT_EQ(removeInvalidFileNameChars("x/y\\z*<>|ö"), "xyzö");
}

TEST(FileHelpers, ListFilesByExtensionWithoutSubFolders) {
    QTemporaryDir dir;
    const QString base = dir.path() + "/";
    touch(base + "a.txt");
    touch(base + "B.TXT");
    touch(base + "c.log");
    touch(base + "ohne");
    touch(base + "sub/d.txt");
    QStringList txt = relative(listFiles(dir.path(), "txt"), base);
    txt.sort();
    EXPECT_EQ(txt, QStringList({"B.TXT", "a.txt"}));
    EXPECT_EQ(listFiles(dir.path(), "*").size(), 4);
    EXPECT_TRUE(listFiles(base + "fehlt", "*").isEmpty());
}

TEST(FileHelpers, ListFilesBelowListsSubFoldersBeforeDescending) {
    QTemporaryDir dir;
    const QString base = dir.path() + "/";
    QDir().mkpath(base + "A/A1/A1x");
    QDir().mkpath(base + "B/B1");
    touch(base + "A/A1/A1x/tief.txt");
    touch(base + "B/b.txt");
    touch(base + "wurzel.txt");
    const FileTree tree = listFilesBelow(dir.path(), "*");
    ASSERT_EQ(tree.folders.size(), 6);
    EXPECT_EQ(tree.folders[0], base);
    QStringList rest = relative(tree.folders.mid(1), base);
    // A and B (either order) first, then A's and B's trees each in one piece.
    const bool aFirst = rest[0] == "A";
    const QStringList expected = aFirst ? QStringList{"A", "B", "A/A1", "A/A1/A1x", "B/B1"}
                                        : QStringList{"B", "A", "B/B1", "A/A1", "A/A1/A1x"};
    EXPECT_EQ(rest, expected);
    const QStringList files = relative(tree.files, base);
    EXPECT_EQ(files.first(), "wurzel.txt");
    EXPECT_EQ(files.size(), 3);

    QTemporaryDir empty;
    EXPECT_TRUE(listFilesBelow(empty.path(), "*").files.isEmpty());
}

TEST(FileHelpers, CopyOverwritesAndClearKeepsSubFolders) {
    QTemporaryDir src, dst;
    touch(src.path() + "/DivuRuvi.mdb", "neu");
    touch(src.path() + "/M1.txt", "eins");
    touch(src.path() + "/sub/nicht.txt");
    touch(dst.path() + "/DivuRuvi.mdb", "alt");
    EXPECT_TRUE(copyFilesTo(src.path(), dst.path()));
    EXPECT_EQ(contentOf(dst.path() + "/DivuRuvi.mdb"), "neu");
    EXPECT_EQ(contentOf(dst.path() + "/M1.txt"), "eins");
    EXPECT_FALSE(QFile::exists(dst.path() + "/sub"));

    clearFolder(src.path());
    EXPECT_TRUE(listFiles(src.path(), "*").isEmpty());
    EXPECT_TRUE(QFile::exists(src.path() + "/sub/nicht.txt"));
    clearFolder(src.path() + "/fehlt");
}

TEST(SaveFileName, FilterNotationBecomesShownTextsAndPatterns) {
    SaveFilterList l = parseSaveFilters("RTF-Dokument:RTF;");
    ASSERT_EQ(l.filters.size(), 1);
    EXPECT_EQ(l.filters[0].shown, "RTF-Dokument (*.rtf)");
    EXPECT_EQ(l.filters[0].pattern, "*.RTF");

    l = parseSaveFilters("Text:txt,log;Alle:;");
    ASSERT_EQ(l.filters.size(), 2);
    EXPECT_EQ(l.filters[0].shown, "Text (*.txt, *.log)");
    EXPECT_EQ(l.filters[0].pattern, "*.TXT; *.LOG");
    EXPECT_EQ(l.filters[1].shown, "Alle (*.*)");
    EXPECT_EQ(l.filters[1].pattern, "*.*");
    EXPECT_TRUE(l.error.isEmpty());

    EXPECT_EQ(parseSaveFilters("RTF-Dokument:RTF").error, "Bitte Filterart mit ; abschließen");
    EXPECT_EQ(parseSaveFilters("").error, "Bitte Filterart mit ; abschließen");
    EXPECT_EQ(parseSaveFilters("RTF;").error, "Doppelpunkt vergessen");
    EXPECT_EQ(parseSaveFilters("A:a;B;").error, "Doppelpunkt vergessen");
}

TEST(SaveFileName, MalformedNotationShowsItsMessageAndNoDialog) {
    test::FakeUi ui;
    ui.saveFiles.push_back("/tmp/x.RTF");
    EXPECT_EQ(saveFileName(ui, "RTF;", "RTF"), "");
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_EQ(ui.calls[0].kind, "message");
    EXPECT_EQ(ui.calls[0].text, "Doppelpunkt vergessen");
    EXPECT_EQ(ui.calls[0].icon, MsgIcon::None);

    EXPECT_EQ(saveFileName(ui, "RTF-Dokument:RTF;", "RTF", "/start", "Modul1"), "/tmp/x.RTF");
    ASSERT_EQ(ui.calls.size(), 2u);
    EXPECT_EQ(ui.calls[1].kind, "save");
    EXPECT_EQ(ui.calls[1].title, "Speichern unter");
    EXPECT_EQ(ui.calls[1].text, "/start|Modul1");
    EXPECT_EQ(saveFileName(ui, "RTF-Dokument:RTF;", "RTF"), "");  // cancelled
    ui.saveFiles = {"/tmp/Bericht", "/tmp/Bericht.rtf"};
    EXPECT_EQ(saveFileName(ui, "RTF-Dokument:RTF;", "RTF"), "/tmp/Bericht.RTF");
    EXPECT_EQ(saveFileName(ui, "RTF-Dokument:RTF;", "RTF"), "/tmp/Bericht.rtf");
}

TEST(BrowseForFolder, ChosenFolderWithoutTrailingSeparatorOrEmpty) {
    test::FakeUi ui;
    ui.folders = {"/tmp/", QString("/tmp/a") + QChar(0) + "rest", "/", ""};
    EXPECT_EQ(browseForFolder(ui, "Titel", "/start"), "/tmp");
    EXPECT_EQ(ui.calls[0].title, "Titel");
    EXPECT_EQ(ui.calls[0].text, "/start");
    EXPECT_EQ(browseForFolder(ui, "Titel", "/start"), "/tmp/a");
    EXPECT_EQ(browseForFolder(ui, "Titel", "/start"), "/");
    EXPECT_EQ(browseForFolder(ui, "Titel", "/start"), "");
}

}  // namespace
