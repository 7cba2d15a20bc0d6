// The export commands against a built project: header blocks and type texts,
// HTML and RTF of modules and projects, the RTF target path, plain text, the
// whole-view copies and the refusals.
#include <gtest/gtest.h>

#include <QFile>

#include "export/HtmlExport.h"
#include "export/ExportContext.h"
#include "export/Html.h"
#include "export/RtfExport.h"
#include "export/TextExport.h"
#include "model/BuildFixture.h"
#include "model/Tags.h"
#include "render/HtmlRenderer.h"
#include "navigate/PlainTextView.h"
#include "render/PlainText.h"
#include "render/RtfRenderer.h"
#include "view/ProjectTree.h"
#include "view/NodeList.h"

using namespace lumo;
using lumo::test::FakeUi;
using lumo::test::PlainTextView;

namespace {

const QString kStars = "' **************************************************************";

class ExportTest : public lumo::test::BuildFixture {
protected:
    // Three modules: a standard module, a document module, one of another type.
    void buildProject() {
        add("Sub Eins()\nEnd Sub\nFunction Zwei() As Long\nEnd Function\nSub Drei()\nEnd Sub", "Werkzeuge", 2);
        add("Private Sub Document_Open()\nEnd Sub", "ThisDocument", 5);
        add("' nur ein Kommentar", "Fremd", 32);
        build.finish();
        store.openWorkingDatabase();
        count = fillModuleTree(tree, store);
        modules = exportModules(tree, count);
    }
    ExportContext context() {
        return ExportContext{.ui = ui,
                             .options = options(),
                             .hostName = "Word",
                             .previewFile = work.path() + "/TempCodeLum.htm",
                             .status = [this](const QString& t) { panel << t; },
                             .busy = [this](bool on) { busy << on; }};
    }

    NodeList tree;
    int count = 0;
    std::vector<ExportModule> modules;
    QStringList panel;
    QList<bool> busy;
};

}  // namespace

TEST_F(ExportTest, HeaderBlockNamesModuleAndTypeAsATaggedComment) {
    const Tags& t = tags();
    EXPECT_EQ(moduleHeaderBlock("Fremd", ""),
              t.lineOpen + t.comment + kStars + "\r\n'  Modul:  Fremd  \r\n" + kStars + t.close + t.lineClose);
    // A name holding tag text stays text and colours nothing.
    EXPECT_EQ(moduleHeaderBlock("A" + t.close + t.keyword + "B", ""),
              t.lineOpen + t.comment + kStars + "\r\n'  Modul:  A|nŸ?||Ÿ?f|B  \r\n" + kStars + t.close + t.lineClose);
    QString rendered = moduleHeaderBlock("A" + t.close + t.keyword + "B", "");
    taggedToHtml(rendered, Options{});
    EXPECT_TRUE(rendered.contains("Modul&#58;  A|nŸ||Ÿf|B  ")) << rendered.toStdString();
    EXPECT_EQ(rendered.count("<span"), 2);  // the frame and the comment, nothing of the name
    EXPECT_EQ(moduleTypeText("M1", TypeTexts::Html), "Typ = Userform");
    EXPECT_EQ(moduleTypeText("M3", TypeTexts::Rtf), "Typ = Klassenmodul");
    EXPECT_EQ(moduleTypeText("M5", TypeTexts::Html), "Typ = Document");
    EXPECT_EQ(moduleTypeText("M5", TypeTexts::Rtf), "Typ = Element der Mappe(Sheet, Workbook, ...)");
    EXPECT_EQ(moduleTypeText("M32", TypeTexts::Rtf), "");
}

TEST_F(ExportTest, ProjectHtmlHasOnePreAndOneHeaderBlockPerModuleInModuleOrder) {
    buildProject();
    const QString html = projectHtml(store, modules, options());
    EXPECT_EQ(html.count("<pre>"), 3);
    const QString blockStart = "<pre><span style=\"font-family=MS Sans Serif,Arial; font-size=10pt\"; >\r\n\r\n"
                               "<b><span style=\"color:#008000\"; >" + kStars + "\r\n'  Modul&#58;  ";
    const qsizetype a = html.indexOf(blockStart + "Werkzeuge  Typ = Allgemeines Modul\r\n" + kStars + "</span></b>\r\n\r\n");
    const qsizetype b = html.indexOf(blockStart + "ThisDocument  Typ = Document\r\n");
    const qsizetype c = html.indexOf(blockStart + "Fremd  \r\n" + kStars + "</span></b>\r\n\r\n<span");
    EXPECT_EQ(a, 0);
    EXPECT_GT(b, a);
    EXPECT_GT(c, b);
    EXPECT_TRUE(html.endsWith("</span></pre>"));
}

TEST_F(ExportTest, ProjectHtmlGoesToTheClipboardWithOneQuestionAndOneFooterAtTheEnd) {
    buildProject();
    exportProjectHtml(store, modules, context());
    QStringList kinds;
    for (const auto& call : ui.calls) kinds << call.kind;
    EXPECT_EQ(kinds, (QStringList{"question", "clip-clear", "clip-set"}));
    EXPECT_EQ(ui.clipboard.count("Code eingef&uuml;gt mit"), 1);
    EXPECT_TRUE(ui.clipboard.endsWith("Word Code Lumo</span>"));
    EXPECT_EQ(panel, (QStringList{"Erzeuge Html Code", ""}));

    // One module alone: no header block.
    ui.calls.clear();
    ui.answers.push_back(Answer::No);
    exportModuleHtml(store, 2, context());
    EXPECT_EQ(ui.clipboard, moduleHtml(store, 2, options()));
    EXPECT_FALSE(ui.clipboard.contains("Modul&#58;"));
    EXPECT_TRUE(ui.clipboard.contains("Document_Open"));
}

TEST_F(ExportTest, AMissingModuleTextIsReportedAndLeavesTheClipboardAlone) {
    buildProject();
    ui.clipboard = "vorher";
    QFile::remove(store.moduleTextPath(3));
    exportProjectHtml(store, modules, context());
    EXPECT_EQ(ui.clipboard, "vorher");
    EXPECT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(panel.last(), "");
    EXPECT_FALSE(exportModuleRtf(work.path() + "/m.RTF", store, 3, context()));
    EXPECT_FALSE(QFile::exists(work.path() + "/m.RTF"));
}

// Stops at the given step.
class StopAt : public Progress {
public:
    explicit StopAt(int step) : step_(step) {}
    bool step(int done, int, const QString&) override {
        stopped_ = stopped_ || done >= step_;
        return !stopped_;
    }
    bool stopped() const override { return stopped_; }

private:
    int step_;
    bool stopped_ = false;
};

TEST_F(ExportTest, AStoppedProjectExportLeavesClipboardAndFileAloneWithoutAWord) {
    buildProject();
    ui.clipboard = "vorher";
    StopAt stop(2);
    ExportContext stoppable = context();
    stoppable.progress = &stop;
    exportProjectHtml(store, modules, stoppable);
    EXPECT_EQ(ui.clipboard, "vorher");
    EXPECT_TRUE(ui.calls.empty());
    EXPECT_EQ(panel.last(), "");
    StopAt again(3);
    stoppable.progress = &again;
    EXPECT_FALSE(exportProjectRtf(work.path() + "/p.RTF", store, modules, stoppable));
    EXPECT_FALSE(QFile::exists(work.path() + "/p.RTF"));
    EXPECT_TRUE(ui.calls.empty());
}

TEST_F(ExportTest, ProjectRtfIsOneDocumentWithTheRtfTypeTexts) {
    buildProject();
    const QString doc = projectRtfDocument(store, modules, options());
    EXPECT_EQ(doc.count("{\\rtf1"), 1);
    EXPECT_EQ(doc.count("{\\colortbl"), 1);
    EXPECT_TRUE(doc.contains("\\b \\cf2 " + kStars + "\r\n\\par '  Modul:  ThisDocument  "
                             "Typ = Element der Mappe(Sheet, Workbook, ...)\r\n\\par " + kStars + "\\cf0 \\b0 "));
    EXPECT_TRUE(doc.contains("'  Modul:  Fremd  \r\n"));
    EXPECT_FALSE(doc.contains("Typ = Document"));
    EXPECT_LT(doc.indexOf("Werkzeuge"), doc.indexOf("ThisDocument"));
    EXPECT_TRUE(doc.endsWith("}"));

    const QString path = work.path() + "/Projekt.RTF";
    ASSERT_TRUE(exportProjectRtf(path, store, modules, context()));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), rtfFileBytes(doc));
    EXPECT_EQ(panel, (QStringList{"Erzeuge RTF-Projekt", ""}));
    EXPECT_EQ(busy, (QList<bool>{true, false}));
}

TEST_F(ExportTest, RtfTargetTakesTheRtfExtensionAndACancelledChooserNothing) {
    EXPECT_EQ(rtfTargetPath("/home/u/Bericht.txt"), "/home/u/Bericht.RTF");
    EXPECT_EQ(rtfTargetPath("/home/u/Bericht.rtf"), "/home/u/Bericht.rtf");
    EXPECT_EQ(rtfTargetPath("/home/u/Bericht.Rtf"), "/home/u/Bericht.Rtf");
    EXPECT_EQ(rtfTargetPath("/home/u/Bericht.RTF"), "/home/u/Bericht.RTF");
    EXPECT_EQ(rtfTargetPath("/home/u/Bericht.html"), "/home/u/Bericht.RTF");
    EXPECT_EQ(rtfTargetPath("/home/u.d/Bericht"), "/home/u.d/Bericht.RTF");

    ui.saveFiles = {"/tmp/Werkzeuge.txt", ""};
    EXPECT_EQ(chooseRtfFile(ui, "/tmp", "Werkzeuge"), "/tmp/Werkzeuge.RTF");
    EXPECT_EQ(ui.calls.back().kind, "save");
    EXPECT_EQ(ui.calls.back().title, "Speichern unter");
    EXPECT_EQ(ui.calls.back().text, "/tmp|Werkzeuge");
    EXPECT_EQ(chooseRtfFile(ui, "/tmp", "Werkzeuge"), "");
}

TEST_F(ExportTest, AnUnwritableRtfTargetIsReportedAndNothingWritten) {
    buildProject();
    EXPECT_FALSE(exportModuleRtf(work.path() + "/fehlt/M.RTF", store, 1, context()));
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].startsWith("Die Datei ")) << ui.messages()[0].toStdString();
    EXPECT_EQ(panel, (QStringList{"Erzeuge RTF-Modul", ""}));
    EXPECT_EQ(busy, (QList<bool>{true, false}));
}

TEST_F(ExportTest, SelectionsEmptyClipboardAndTheWholeView) {
    PlainTextView view("Sub A()\r\n  x = 1 & 2\r\nEnd Sub");
    ui.clipboard = "vorher";
    htmlOfSelection(view, context());
    EXPECT_EQ(ui.calls.back().text, "Bitte markieren Sie den gewünschten Text");
    EXPECT_EQ(ui.calls.back().icon, MsgIcon::Warning);
    EXPECT_EQ(ui.clipboard, "vorher");
    textOfSelection(view, context());
    EXPECT_EQ(ui.messages().size(), 2);
    EXPECT_EQ(ui.clipboard, "vorher");

    ui.clipboard.clear();
    htmlOfClipboard(context());
    EXPECT_EQ(ui.calls.back().text, "Kein Text in der Zwischenablage");
    EXPECT_EQ(ui.calls.back().icon, MsgIcon::Information);
    // Lines ended by LF alone (as this desktop copies them): a comment ends with its line.
    ui.clipboard = "x = 1 ' a\ny = \"b\"";
    ui.answers.push_back(Answer::No);
    htmlOfClipboard(context());
    EXPECT_TRUE(ui.clipboard.contains("' a</span>\r\ny = <span style=\"color:#800000\"; >&#34;b&#34;</span>"))
        << ui.clipboard.toStdString();

    // The whole view: its caret where it was, no selection, the HTML of all of it.
    view.setSelStart(12);
    ui.answers.push_back(Answer::No);
    htmlOfWholeView(view, context());
    EXPECT_EQ(view.selStart(), 12);
    EXPECT_EQ(view.selLength(), 0);
    EXPECT_TRUE(ui.clipboard.startsWith("<pre>")) << ui.clipboard.toStdString();
    EXPECT_TRUE(ui.clipboard.contains("<b><span style=\"color:#000080\"; >Sub</span> A&#40;&#41;</b>\r\n  x = 1 &#38; 2"));
    const auto before = ui.calls.size();
    PlainTextView empty;
    htmlOfWholeView(empty, context());
    EXPECT_EQ(ui.calls.size(), before);
}

TEST_F(ExportTest, PlainTextWithOrWithoutItsMessage) {
    PlainTextView view("Sub A()\r\nEnd Sub");
    textOfModule(view, context());
    EXPECT_EQ(ui.clipboard, "Sub A()\r\nEnd Sub");
    EXPECT_EQ(ui.calls.back().text, "Text in Zwischenablage");
    EXPECT_EQ(ui.calls.back().icon, MsgIcon::None);
    options().confirmClipboard = false;
    view.setSelStart(0);
    view.setSelLength(3);
    textOfSelection(view, context());
    EXPECT_EQ(ui.clipboard, "Sub");
    EXPECT_EQ(ui.calls.back().kind, "clip-set");
    const auto before = ui.calls.size();
    PlainTextView empty;
    textOfModule(empty, context());
    EXPECT_EQ(ui.calls.size(), before);

    const Tags& t = tags();
    EXPECT_EQ(plainTextOfModule(t.lineOpen + t.keyword + "Sub" + t.close + " A()" + t.lineClose + "\r\n", options()),
              "Sub A()\r\n");
}

TEST_F(ExportTest, CopiesOfTheWholeViewKeepTheCaretAndTheZoomRefusesTheModule) {
    PlainTextView view("Sub A()\r\nEnd Sub");
    view.setSelStart(4);
    QStringList copied;
    const auto copy = [&] { copied << view.selText(); };
    copyModule(view, true, ui, copy);
    EXPECT_TRUE(copied.isEmpty());
    EXPECT_EQ(ui.messages(), QStringList{"Steht im Zoom Modus nicht zur Verfügung"});
    EXPECT_EQ(ui.calls.back().icon, MsgIcon::Information);
    copyModule(view, false, ui, copy);
    EXPECT_EQ(copied, QStringList{"Sub A()\r\nEnd Sub"});
    EXPECT_EQ(ui.calls.back().kind, "clip-clear");
    EXPECT_EQ(view.selStart(), 4);
    EXPECT_EQ(view.selLength(), 0);
}

TEST_F(ExportTest, SourceTextShapedLikeTagsStaysTextInEveryOutput) {
    const QString m{QChar(kMarkerChar)};
    const QString line = "    s = \"|" + m + "f|Sub|n" + m + "|\" ' |" + m + "e|";
    add("Sub A()\n" + line + "\nEnd Sub", "Tags");
    build.finish();
    store.openWorkingDatabase();
    const QString tagged = store.readModuleText(1);
    EXPECT_EQ(plainTextOfModule(tagged, options()), "Sub A()\r\n" + line + "\r\nEnd Sub\r\n");
    const QString html = moduleHtml(store, 1, options());
    EXPECT_EQ(html.count("<b>"), 2) << html.toStdString();  // the head and the End line only
    EXPECT_EQ(html.count("</b>"), 2);
    EXPECT_TRUE(html.contains("|" + m + "f|Sub|n" + m + "|")) << html.toStdString();
}
