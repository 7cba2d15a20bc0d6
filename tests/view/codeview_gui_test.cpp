#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMimeData>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include "base/Options.h"
#include "model/TagCode.h"
#include "render/RtfReader.h"
#include "render/RtfRenderer.h"
#include "support/GuiApp.h"
#include "view/widgets/CodeView.h"

using lumo::CodeView;

namespace {

class CodeViewTest : public ::testing::Test {
protected:
    void SetUp() override { lumo::test::guiApp(); }
};

// The head our renderer writes, with its default colours and tab stops.
const QString kHead = QStringLiteral(
    "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}\r\n"
    "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss MS Sans Serif;}{\\f3\\fswiss DejaVu Sans;}{\\f4\\fswiss\\fprq2 System;}}\r\n"
    "{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue128;\\red0\\green128\\blue0;\\red128\\green0\\blue0;}\r\n"
    "\\deflang1031\\pard\\li105\\tx283\\tx566\\tx849\\tx1132\\tx1415\\tx1698\\tx1981\\tx2264\\tx2547\\tx2830"
    "\\plain\\f3\\fs20 ");

QString doc(const QString& body) { return kHead + body + u'}'; }

// A module as the renderer turns it out: routine lines bold, keywords,
// comments and strings coloured, tabs, escapes, umlauts and the marker.
const QString kModule = doc(QStringLiteral(
    "\\cf1 Option\\cf0  \\cf1 Explicit\\cf0 \r\n\\par "
    "\\b \\cf1 Private\\cf0  \\cf1 Sub\\cf0  Größe(\\cf1 ByVal\\cf0  x \\cf1 As\\cf0  \\cf1 Long\\cf0 )\\b0 \r\n\\par "
    "\\tab a = \\cf3 \"\\{Pfad\\}\\\\\u0178\"\\cf0  \\cf2 'Kommentar\\cf0 \r\n\\par "
    "\\b \\cf1 End\\cf0  \\cf1 Sub\\cf0 \\b0 \r\n\\par }"));

const QString kModuleText = QStringLiteral(
    "Option Explicit\r\n"
    "Private Sub Größe(ByVal x As Long)\r\n"
    "\ta = \"{Pfad}\\\u0178\" 'Kommentar\r\n"
    "End Sub\r\n");

}  // namespace

TEST_F(CodeViewTest, ShowsTheRenderersRtfAsTextWithCrLfBreaks) {
    CodeView v;
    v.setRtf(kModule);
    EXPECT_EQ(v.text(), kModuleText);
    EXPECT_EQ(v.length(), kModuleText.size());
    EXPECT_EQ(v.lineCount(), 5);   // the last break opens an empty last line
    EXPECT_EQ(v.document()->blockCount(), 5);
}

TEST_F(CodeViewTest, RtfRoundTripKeepsTextColoursBoldAndHead) {
    CodeView v;
    v.setRtf(kModule);
    const QString out = v.rtf();
    EXPECT_TRUE(out.startsWith(QStringLiteral("{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}\r\n")));
    EXPECT_TRUE(out.contains(QStringLiteral("{\\f3\\fswiss DejaVu Sans;}")));
    EXPECT_TRUE(out.contains(QStringLiteral(
        "{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue128;\\red0\\green128\\blue0;\\red128\\green0\\blue0;}")));
    EXPECT_TRUE(out.contains(QStringLiteral("\\tx283\\tx566\\tx849\\tx1132\\tx1415\\tx1698\\tx1981\\tx2264\\tx2547\\tx2830\\plain\\f3\\fs20 ")));
    EXPECT_TRUE(out.contains(QStringLiteral("\\cf3 \"\\{Pfad\\}\\\\\u0178\"")));
    EXPECT_TRUE(out.contains(QStringLiteral("\\tab a = ")));
    EXPECT_TRUE(out.contains(QStringLiteral("Größe")));
    EXPECT_TRUE(out.endsWith(u'}'));

    CodeView again;
    again.setRtf(out);
    EXPECT_EQ(again.text(), kModuleText);
    const auto& a = v.content().runs;
    const auto& b = again.content().runs;
    ASSERT_EQ(a.size(), b.size());
    for (int i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].start, b[i].start);
        EXPECT_EQ(a[i].length, b[i].length);
        EXPECT_EQ(a[i].format, b[i].format) << "run " << i;
    }
    EXPECT_EQ(again.content().colors, v.content().colors);
    EXPECT_EQ(again.content().tabStopsTwips, v.content().tabStopsTwips);
}

TEST_F(CodeViewTest, ShowsColoursAndBoldOnScreen) {
    CodeView v;
    v.resize(600, 200);
    v.setRtf(kModule);
    v.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
    const QImage img = v.viewport()->grab().toImage();
    if (qEnvironmentVariableIsSet("LUMO_SHOT")) img.save(qEnvironmentVariable("LUMO_SHOT"));
    auto seen = [&](QColor want) {
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                if (qAbs(c.red() - want.red()) < 12 && qAbs(c.green() - want.green()) < 12 && qAbs(c.blue() - want.blue()) < 12)
                    return true;
            }
        return false;
    };
    EXPECT_TRUE(seen(QColor(0, 0, 128)));   // keywords
    EXPECT_TRUE(seen(QColor(0, 128, 0)));   // comment
    EXPECT_TRUE(seen(QColor(128, 0, 0)));   // string
}

TEST_F(CodeViewTest, PositionsCountEachLineBreakTwice) {
    CodeView v;
    v.setRtf(doc(QStringLiteral("ab\r\n\\par cd\r\n\\par \r\n\\par efg")));
    ASSERT_EQ(v.text(), QStringLiteral("ab\r\ncd\r\n\r\nefg"));
    EXPECT_EQ(v.length(), 13);
    EXPECT_EQ(v.lineOfPosition(0), 0);
    EXPECT_EQ(v.lineOfPosition(2), 0);    // the CR
    EXPECT_EQ(v.lineOfPosition(3), 0);    // the LF
    EXPECT_EQ(v.lineOfPosition(4), 1);    // "c"
    EXPECT_EQ(v.lineOfPosition(8), 2);    // the empty line
    EXPECT_EQ(v.lineOfPosition(10), 3);   // "e"
    EXPECT_EQ(v.lineOfPosition(13), 3);   // the end
    EXPECT_EQ(v.lineOfPosition(999), 3);
    EXPECT_EQ(v.lineOfPosition(-5), 0);

    v.setSelStart(10);
    EXPECT_EQ(v.selStart(), 10);
    EXPECT_EQ(v.selLength(), 0);
    EXPECT_EQ(v.textCursor().position(), 7);   // two breaks fewer inside
    v.setSelStart(4);
    v.setSelLength(6);   // "cd", CR LF, CR LF
    EXPECT_EQ(v.selStart(), 4);
    EXPECT_EQ(v.selLength(), 6);
    EXPECT_EQ(v.selText(), QStringLiteral("cd\r\n\r\n"));
    v.setSelLength(100);   // cut at the end
    EXPECT_EQ(v.selLength(), 9);
    v.setSelStart(500);
    EXPECT_EQ(v.selStart(), 13);
    // A selection made backwards by the user reports its left end.
    QTextCursor c = v.textCursor();
    c.setPosition(7);                          // "e"
    c.setPosition(2, QTextCursor::KeepAnchor); // end of the first line
    v.setTextCursor(c);
    EXPECT_EQ(v.selStart(), 2);
    EXPECT_EQ(v.selLength(), 8);
}

TEST_F(CodeViewTest, TranslatesPositionsOnALargeTextWithoutDrift) {
    QString body;
    QString expected;
    for (int i = 0; i < 5000; ++i) {
        const QString line = QStringLiteral("Zeile %1").arg(i);
        body += line + QStringLiteral("\r\n\\par ");
        expected += line + QStringLiteral("\r\n");
    }
    CodeView v;
    v.setRtf(doc(body));
    ASSERT_EQ(v.text(), expected);
    for (int line : {0, 1, 999, 4321, 4999}) {
        const int pos = int(expected.indexOf(QStringLiteral("Zeile %1\r").arg(line)));
        EXPECT_EQ(v.lineOfPosition(pos), line);
        v.setSelStart(pos);
        EXPECT_EQ(v.selStart(), pos);
        EXPECT_EQ(v.textCursor().block().blockNumber(), line);
        EXPECT_EQ(v.textCursor().positionInBlock(), 0);
    }
}

TEST_F(CodeViewTest, FindIsCaseInsensitiveAndHonoursWholeWords) {
    CodeView v;
    v.setRtf(doc(QStringLiteral("Dim Dimension\r\n\\par dim x\r\n\\par DIM_y = 1")));
    EXPECT_EQ(v.find(QStringLiteral("dimension"), 0, false), 4);
    EXPECT_EQ(v.selStart(), 4);
    EXPECT_EQ(v.selLength(), 9);
    EXPECT_EQ(v.selText(), QStringLiteral("Dimension"));

    EXPECT_EQ(v.find(QStringLiteral("dim"), 1, false), 4);
    EXPECT_EQ(v.find(QStringLiteral("dim"), 1, true), 15);   // passes over Dimension
    EXPECT_EQ(v.selStart(), 15);
    EXPECT_EQ(v.find(QStringLiteral("dim"), 16, true), -1);  // DIM_y is one word
    EXPECT_EQ(v.selStart(), 15);                              // a miss keeps the selection
    EXPECT_EQ(v.find(QStringLiteral("DIM"), 0, true), 0);
    EXPECT_EQ(v.find(QStringLiteral("x\r\nDIM"), 0, false), 19);   // across a line break
    EXPECT_EQ(v.find(QString(), 0, false), -1);
    EXPECT_EQ(v.find(QStringLiteral("dim"), v.length() + 1, false), -1);
}

TEST_F(CodeViewTest, MoveUpToAndSpanFindLineStartsAndWords) {
    CodeView v;
    v.setRtf(doc(QStringLiteral("Sub A()\r\n\\par     x = 1\r\n\\par End Sub")));
    ASSERT_EQ(v.text(), QStringLiteral("Sub A()\r\n    x = 1\r\nEnd Sub"));
    // From inside the last line: back to its start, select the first word.
    v.setSelStart(22);
    v.moveUpTo(QStringLiteral("\r\n"), false, false);
    EXPECT_EQ(v.selStart(), 20);
    v.span(QStringLiteral(" "), true, true);
    EXPECT_EQ(v.selText(), QStringLiteral("End"));
    // Back over the line break lands at the end of the previous line.
    v.setSelStart(20);
    v.moveUpTo(QStringLiteral("\r\n"), false, true);
    EXPECT_EQ(v.selStart(), 18);
    EXPECT_EQ(v.lineOfPosition(v.selStart()), 1);
    // An indented line gets an empty selection at its start.
    v.moveUpTo(QStringLiteral("\r\n"), false, false);
    EXPECT_EQ(v.selStart(), 9);
    v.span(QStringLiteral(" "), true, true);
    EXPECT_EQ(v.selLength(), 0);
    // Forward up to the end of the line; span backward over the word.
    v.moveUpTo(QStringLiteral("\r\n"), true, false);
    EXPECT_EQ(v.selStart(), 18);
    v.span(QStringLiteral(" "), false, true);
    EXPECT_EQ(v.selStart(), 17);
    EXPECT_EQ(v.selText(), QStringLiteral("1"));
    // At the ends nothing moves beyond the text.
    v.setSelStart(v.length());
    v.moveUpTo(QStringLiteral("#"), true, false);
    EXPECT_EQ(v.selStart(), v.length());
    v.setSelStart(0);
    v.moveUpTo(QStringLiteral("#"), false, false);
    EXPECT_EQ(v.selStart(), 0);
}

TEST_F(CodeViewTest, SelectionAsRtfCarriesItsFormatting) {
    CodeView v;
    v.setRtf(kModule);
    const int start = int(kModuleText.indexOf(QStringLiteral("Private")));
    const int end = int(kModuleText.indexOf(QStringLiteral("'Kommentar"))) + 10;
    v.setSelStart(start);
    v.setSelLength(end - start);
    const QString rtf = v.selRtf();
    EXPECT_TRUE(rtf.startsWith(QStringLiteral("{\\rtf1\\ansi")));
    EXPECT_TRUE(rtf.endsWith(u'}'));

    CodeView zoom;
    zoom.setRtf(rtf);
    EXPECT_EQ(zoom.text(), kModuleText.mid(start, end - start));
    const auto& runs = zoom.content().runs;
    ASSERT_FALSE(runs.isEmpty());
    EXPECT_EQ(runs.first().format.color, 1);   // "Private"
    EXPECT_TRUE(runs.first().format.bold);
    EXPECT_EQ(runs.last().format.color, 2);    // the comment
    EXPECT_EQ(zoom.content().tabStopsTwips, v.content().tabStopsTwips);
}

TEST_F(CodeViewTest, EmptyRtfClearsAndBrokenRtfNeverFails) {
    CodeView v;
    v.setRtf(kModule);
    v.setSelStart(10);
    v.setRtf(QString());
    EXPECT_EQ(v.text(), QString());
    EXPECT_EQ(v.length(), 0);
    EXPECT_EQ(v.selStart(), 0);
    EXPECT_EQ(v.lineOfPosition(5), 0);
    EXPECT_EQ(v.find(QStringLiteral("Sub"), 0, false), -1);
    EXPECT_TRUE(v.rtf().startsWith(QStringLiteral("{\\rtf1")));

    const QStringList broken = {
        QStringLiteral("{\\rtf1"), QStringLiteral("{\\rtf1\\"), QStringLiteral("{\\rtf1 a}}}}}b{{{"),
        QStringLiteral("{\\rtf1{\\colortbl\\red999999999999999;}\\cf77 x\\cf-3 y\\fs-4 z\\'"),
        QStringLiteral("{\\rtf1\\'zz\\'4\\u-9999999999?\\uc99\\u65 \\tx\\tx-5\\li-1 ok}"),
        QStringLiteral("{\\rtf1{\\fonttbl{\\f1 ohne Ende"), QString(3000, u'{') + QStringLiteral("tief"),
        QStringLiteral("{\\rtf1\\abcdefghijklmnopqrstuvwxyzabcdefghijklmnopq1234567890123 x\\par\\par\\par}")};
    for (const QString& s : broken) {
        v.setRtf(s);
        EXPECT_EQ(v.length(), v.text().size());
        v.setSelStart(v.length());
        EXPECT_EQ(v.selStart(), v.length());
        v.rtf();
    }
    v.setRtf(QStringLiteral("{\\rtf1{\\colortbl\\red1\\green2\\blue3;}\\cf9 farbig\\par}"));
    EXPECT_EQ(v.text(), QStringLiteral("farbig\r\n"));
    // Text that is no RTF at all is shown as it is.
    v.setRtf(QStringLiteral("Sub A()\r\nEnd Sub"));
    EXPECT_EQ(v.text(), QStringLiteral("Sub A()\r\nEnd Sub"));
}

TEST_F(CodeViewTest, SavesAPortableRtfFileAndLoadsModuleFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CodeView v;
    v.setRtf(kModule);
    const QString rtfPath = dir.filePath(QStringLiteral("m.rtf"));
    ASSERT_TRUE(v.saveFile(rtfPath));
    QFile f(rtfPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    f.close();
    EXPECT_TRUE(bytes.contains("Gr\\'f6\\'dfe"));   // Windows-1252 escapes
    EXPECT_TRUE(bytes.contains("\\'9f"));           // the marker character
    for (char c : bytes) EXPECT_GE(static_cast<unsigned char>(c), 0) << "only ASCII";

    CodeView back;
    ASSERT_TRUE(back.loadFile(rtfPath));
    EXPECT_EQ(back.text(), kModuleText);

    // A module text file (UTF-8, tagged text) is read as plain text.
    const QString txtPath = dir.filePath(QStringLiteral("M1.txt"));
    QFile t(txtPath);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write(QStringLiteral("Sub Größe()\r\n\u0178f|End\r\n").toUtf8());
    t.close();
    ASSERT_TRUE(back.loadFile(txtPath));
    EXPECT_EQ(back.text(), QStringLiteral("Sub Größe()\r\n\u0178f|End\r\n"));

    EXPECT_FALSE(back.loadFile(dir.filePath(QStringLiteral("fehlt.txt"))));
    EXPECT_FALSE(back.errorString().isEmpty());
    EXPECT_FALSE(v.saveFile(dir.filePath(QStringLiteral("kein/ordner/x.rtf"))));
}

TEST_F(CodeViewTest, ReportsMouseButtonsAndKeys) {
    CodeView v;
    v.resize(300, 100);
    v.setRtf(kModule);
    v.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
    QSignalSpy pressed(&v, &CodeView::mousePressed);
    QSignalSpy released(&v, &CodeView::mouseReleased);
    QSignalSpy keys(&v, &CodeView::keyReleased);
    QTest::mouseClick(v.viewport(), Qt::RightButton, {}, QPoint(20, 30));
    QTest::mouseClick(v.viewport(), Qt::LeftButton, {}, QPoint(20, 30));
    ASSERT_EQ(released.size(), 2);
    EXPECT_EQ(released[0][0].toInt(), 2);
    EXPECT_EQ(released[1][0].toInt(), 1);
    EXPECT_EQ(pressed.size(), 2);
    EXPECT_EQ(v.lineOfPosition(v.selStart()), 1);   // the left click put the caret there
    QTest::keyClick(&v, Qt::Key_Down);
    ASSERT_EQ(keys.size(), 1);
    EXPECT_EQ(keys[0][0].toInt(), int(Qt::Key_Down));
    EXPECT_EQ(v.lineOfPosition(v.selStart()), 2);   // keys move the caret in a read-only view
}

TEST_F(CodeViewTest, CopyPutsRtfHtmlAndPlainTextOnTheClipboard) {
    CodeView v;
    v.setRtf(kModule);
    const int start = int(kModuleText.indexOf(QStringLiteral("Private")));
    v.setSelStart(start);
    v.setSelLength(int(QStringLiteral("Private Sub Größe(").size()));
    v.copy();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QStringLiteral("Private Sub Größe("));
    const QString html = data->html();
    EXPECT_TRUE(html.contains(QStringLiteral("<span style=\"color: #000080;\">Private</span>"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("<b>")));
    const QByteArray rtf = data->data(QStringLiteral("text/rtf"));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi"));
    EXPECT_TRUE(rtf.contains("\\cf1 \\b Private"));
    EXPECT_TRUE(rtf.contains("Gr\\'f6\\'dfe("));
}

// The renderer's own output for the sample project: the view shows the code
// character for character, keywords, comments and strings in their colours.
TEST_F(CodeViewTest, ShowsTheSampleProjectAsTheRendererWritesIt) {
    const lumo::Options options;
    QDir dir(QStringLiteral(LUMO_SOURCE_DIR "/samples/Beispielprojekt"));
    const QStringList files = dir.entryList({"*.bas", "*.cls", "*.frm"}, QDir::Files);
    ASSERT_EQ(files.size(), 4);
    for (const QString& name : files) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QStringList lines = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
        int first = 0;
        for (int i = 0; i < lines.size() && first == 0; ++i)
            if (lines[i].startsWith(QStringLiteral("Option "))) first = i;
        lines = lines.mid(first);
        lines.removeAll(QStringLiteral("Attribute Name.VB_UserMemId = 0"));
        const QString code = lines.join(QStringLiteral("\r\n"));

        QString rtf = lumo::tagFragment(code, options);
        lumo::taggedToRtf(rtf, options);
        lumo::wrapRtfDocument(rtf, options);
        CodeView v;
        v.resize(700, 900);
        v.setRtf(rtf);
        EXPECT_EQ(v.text(), code) << name.toStdString();

        auto colorAt = [&](const QString& what) {
            const int pos = int(code.indexOf(what));
            const int docPos = v.toDocument(pos);
            for (const lumo::RtfRun& r : v.content().runs)
                if (docPos >= r.start && docPos < r.start + r.length) return r.format.color;
            return -1;
        };
        EXPECT_EQ(colorAt(QStringLiteral("Option Explicit")), 1) << name.toStdString();
        if (name == QStringLiteral("modAllgemein.bas")) {
            EXPECT_EQ(colorAt(QStringLiteral("1\r\n")), 1);   // Option Base 1
            EXPECT_EQ(colorAt(QStringLiteral("' Allgemeine")), 2);
            EXPECT_EQ(colorAt(QStringLiteral("und läuft deshalb")), 2);   // the continued comment
            EXPECT_EQ(colorAt(QStringLiteral("\"Hallo, \"")), 3);
            EXPECT_EQ(colorAt(QStringLiteral("ReDim liste(1 To 5)")), 0);   // as the editor writes it
            if (qEnvironmentVariableIsSet("LUMO_SHOT")) {
                v.show();
                QTest::qWaitForWindowExposed(&v);
                v.viewport()->grab().save(qEnvironmentVariable("LUMO_SHOT"));
            }
        }
    }
}

// Lines far below the first screen get their colours when they are first
// laid out, after scrolling there.
TEST_F(CodeViewTest, ColoursLinesFarDownWhenScrolledTo) {
    QString body;
    for (int i = 0; i < 3000; ++i) body += QStringLiteral("x = %1\r\n\\par ").arg(i);
    body += QStringLiteral("\\cf3 \"ganz unten\"\\cf0 ");
    CodeView v;
    v.resize(400, 200);
    v.setRtf(doc(body));
    v.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
    v.setSelStart(v.length());
    QCoreApplication::processEvents();
    const QImage img = v.viewport()->grab().toImage();
    bool red = false;
    for (int y = 0; y < img.height() && !red; ++y)
        for (int x = 0; x < img.width() && !red; ++x) {
            const QColor c = img.pixelColor(x, y);
            red = c.red() > 100 && c.green() < 40 && c.blue() < 40;
        }
    EXPECT_TRUE(red);
}
