// codelumo-cli export, run as the program it is, on a project it built.
#include <QFile>

#include "cli/CliFixture.h"

namespace {

class CliExport : public CliProgram {
protected:
    void SetUp() override {
        CliProgram::SetUp();
        write("Haupt.bas", "Sub Start()\n  x = \"Größe\" & (1 + 2) ' <Kommentar>\nEnd Sub\n");
        write("Kunde.cls", "Public Property Get Name() As String\r\nEnd Property");
        // --raw: the files whole as module code.
        ASSERT_EQ(run({"build", "--raw", "--out", path("out"), "--no-einr", "--no-leer", "--no-rle", "--no-rer",
                       path("Haupt.bas"), path("Kunde.cls")}).status, 0);
    }
};

}  // namespace

TEST_F(CliExport, HtmlOfAModuleAndOfTheProjectWithTheFooterOnRequest) {
    const CliRun module = run({"export", "--html", "--module", "1", path("out")});
    ASSERT_EQ(module.status, 0) << module.err.toStdString();
    const QString html = QString::fromUtf8(module.out);
    EXPECT_EQ(html, "<pre><span style=\"font-family=MS Sans Serif,Arial; font-size=10pt\"; >"
                    "<b><span style=\"color:#000080\"; >Sub</span> Start&#40;&#41;</b>\r\n"
                    "  x = <span style=\"color:#800000\"; >&#34;Gr&ouml;&szlig;e&#34;</span> &#38; &#40;1 &#43; 2&#41; "
                    "<span style=\"color:#008000\"; >' &lt;Kommentar&gt;</span>\r\n"
                    "<b><span style=\"color:#000080\"; >End</span> <span style=\"color:#000080\"; >Sub</span></b>"
                    "\r\n</span></pre>");
    const CliRun project = run({"export", "--html", "--footer", path("out")});
    ASSERT_EQ(project.status, 0) << project.err.toStdString();
    const QString all = QString::fromUtf8(project.out);
    EXPECT_EQ(all.count("<pre>"), 2);
    EXPECT_TRUE(all.contains("Modul&#58;  Kunde  Typ = Klassenmodul"));
    const QString lead = "\r\n<br><span style=\" font-weight:bold;\"> Code eingef&uuml;gt mit: </span> ";
    EXPECT_TRUE(all.endsWith(lead + "<span style=\"color:#ffff00; background-color:#000080; font-weight:bold;\">"
                                    "Word Code Lumo</span>"));
    // The link appears once the user set the maker's web page.
    QFile settings(path("settings.ini"));
    ASSERT_TRUE(settings.open(QIODevice::Append));
    settings.write("\n[optionen]\nwebseite=https://example.org/lumo\n");
    settings.close();
    EXPECT_TRUE(QString::fromUtf8(run({"info"}).out).contains("Webseite:        https://example.org/lumo\n"));
    EXPECT_TRUE(QString::fromUtf8(run({"export", "--html", "--footer", path("out")}).out)
                    .endsWith(lead + "<a style =\"color:#ffff00; background-color:#000080; font-weight:bold;\" "
                                     "href=\"https&#58;//example.org/lumo\" target=\"blank\">Word Code Lumo</a>"));
}

TEST_F(CliExport, RtfTextAndStructure) {
    ASSERT_EQ(run({"export", "--rtf", "--out", path("Projekt.RTF"), path("out")}).status, 0);
    QFile f(path("Projekt.RTF"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray rtf = f.readAll();
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_EQ(rtf.count("{\\colortbl"), 1);
    EXPECT_TRUE(rtf.contains("'  Modul:  Haupt  Typ = Allgemeines Modul"));
    EXPECT_TRUE(rtf.contains("\"Gr\\'f6\\'dfe\""));

    const CliRun text = run({"export", "--text", "--module", "2", path("out")});
    ASSERT_EQ(text.status, 0) << text.err.toStdString();
    EXPECT_EQ(text.out, "Public Property Get Name() As String\r\nEnd Property\r\n");

    const CliRun structure = run({"export", "--structure", path("out")});
    ASSERT_EQ(structure.status, 0) << structure.err.toStdString();
    EXPECT_EQ(structure.out, "Haupt\r\n\tStart\r\nKunde\r\n\tName\r\n");
}

TEST_F(CliExport, BadArgumentsAndFoldersSayWhy) {
    EXPECT_EQ(run({"export", path("out")}).status, 2);
    EXPECT_EQ(run({"export", "--html", "--rtf", path("out")}).status, 2);
    EXPECT_EQ(run({"export", "--text", path("out")}).status, 2);
    EXPECT_EQ(run({"export", "--rtf", "--footer", path("out")}).status, 2);
    const CliRun none = run({"export", "--html", path("Haupt.bas")});
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.err.startsWith("Kein Gültiges Projekt")) << none.err.toStdString();
    const CliRun missing = run({"export", "--rtf", "--module", "3", path("out")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains("Modul 3")) << missing.err.toStdString();
    EXPECT_FALSE(QFile::exists(path("nichts.RTF")));
}

// The whole project goes out module by module: a module text that cannot be
// read must still leave standard output empty and no file behind.
TEST_F(CliExport, AnUnreadableModuleTextWritesNothing) {
    ASSERT_TRUE(QFile::remove(path("out/M2.txt")));
    for (const char* format : {"--html", "--rtf"}) {
        const CliRun toOutput = run({"export", format, path("out")});
        EXPECT_EQ(toOutput.status, 1);
        EXPECT_TRUE(toOutput.out.isEmpty()) << format;
        EXPECT_TRUE(toOutput.err.contains("M2.txt")) << toOutput.err.toStdString();
        EXPECT_EQ(run({"export", format, "--out", path("x"), path("out")}).status, 1);
        EXPECT_FALSE(QFile::exists(path("x")));
    }
}
