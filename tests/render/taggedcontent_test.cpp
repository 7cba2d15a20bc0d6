#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>

#include "base/AppState.h"
#include "model/TagCode.h"
#include "model/Tags.h"
#include "render/RtfReader.h"
#include "render/RtfRenderer.h"
#include "render/TaggedContent.h"
#include "support/ReferenceRenderers.h"

using namespace lumo;

namespace {

// The content as the defined replacement chain and the RTF reader make it.
RtfContent viaRtf(const QString& tagged, const Options& options) {
    QString rtf = reference::taggedToRtf(tagged, options);
    wrapRtfDocument(rtf, options);
    return readRtf(rtf);
}

void expectSame(const QString& tagged, const Options& options, const std::string& what) {
    const RtfContent a = taggedToContent(tagged, options);
    const RtfContent b = viaRtf(tagged, options);
    ASSERT_EQ(a.text, b.text) << what;
    ASSERT_EQ(a.runs.size(), b.runs.size()) << what;
    for (qsizetype i = 0; i < a.runs.size(); ++i) {
        ASSERT_EQ(a.runs[i].start, b.runs[i].start) << what << " run " << i;
        ASSERT_EQ(a.runs[i].length, b.runs[i].length) << what << " run " << i;
        ASSERT_TRUE(a.runs[i].format == b.runs[i].format) << what << " run " << i;
    }
    EXPECT_TRUE(a.colors == b.colors) << what;
    EXPECT_TRUE(a.fonts == b.fonts) << what;
    EXPECT_EQ(a.tabStopsTwips, b.tabStopsTwips) << what;
    EXPECT_EQ(a.defaultTabTwips, b.defaultTabTwips) << what;
    EXPECT_EQ(a.leftIndentTwips, b.leftIndentTwips) << what;
    EXPECT_TRUE(a.base == b.base) << what;
}

}  // namespace

TEST(TaggedContent, EqualsTheRtfRoadOnCraftedText) {
    const Tags& t = tags();
    Options bold;
    Options plain;
    plain.boldRoutineLines = false;
    plain.fontName = "Courier New";
    plain.fontSize = 12;
    plain.tabStopMm = 10;
    plain.keywordColour = 0x123456;
    const QStringList cases = {
        "",
        t.comment + t.close,
        t.lineOpen + t.keyword + "Sub" + t.close + " A()" + t.lineClose + "\r\n\tx = \\{1}\r\n" + t.lineOpen +
            t.keyword + "End" + t.close + " " + t.keyword + "Sub" + t.close + t.lineClose,
        t.comment + "' Kommentar mit Ÿ und |Ÿ| und " + t.close + "\r\n",
        "a\rb\nc\r\n\r\n d",
        t.string + "\"x\"" + t.close + "1\r\n" + t.keyword + "2",
        QString("|") + QChar(kMarkerChar) + "k" + t.close,  // two tags sharing a "|"
        t.comment + "nŸ|",
        // Overlapping tags in every order; CR and LF apart around tags that vanish.
        QString("|") + QChar(kMarkerChar) + "f|" + QChar(kMarkerChar) + "k|y" + QChar(kMarkerChar) + "|x",
        QString("a\r") + t.lineOpen + "\nb\r" + t.lineClose + t.keyword + "\nc\r",
        QString(QChar(0x2028)) + QChar(0) + "ü€",
    };
    for (const QString& c : cases) {
        expectSame(c, bold, c.toStdString());
        expectSame(c, plain, c.toStdString());
    }
}

TEST(TaggedContent, EqualsTheRtfRoadOnRealModules) {
    const QString root = QStringLiteral(LUMO_SHARED_DIR "/corpus/vba-src");
    if (!QFileInfo::exists(root)) {
        if (qEnvironmentVariable("CI") == "true") FAIL() << "corpus missing";
        GTEST_SKIP() << "corpus not found at " << root.toStdString();
    }
    QStringList files;
    for (QDirIterator it(root, {"*.bas", "*.cls"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        files << it.next();
    for (QDirIterator it(QStringLiteral(LUMO_SOURCE_DIR "/samples"), {"*.bas", "*.cls", "*.frm"}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();)
        files << it.next();
    ASSERT_GT(files.size(), 10);
    Options options;
    options.reindentBlocks = true;
    for (const QString& path : files) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QString code = QString::fromUtf8(f.readAll());
        code.replace("\r\n", "\n").replace("\n", "\r\n");
        expectSame(tagFragment(code, options), options, path.toStdString());
    }
}
