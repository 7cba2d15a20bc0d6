// The folders of src/ are layers: a file includes only from its own folder
// and the folders before it, and widget code only from widgets/ sub-folders.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

namespace {

// The order the README's map gives; a layer may include from those before it.
const QStringList kLayers = {"base", "model", "render", "acquire", "view", "navigate", "export", "dialogs", "lsp", "app", "cli"};

TEST(Layers, NoIncludeRunsBackUp) {
    const QString src = QStringLiteral(LUMO_SOURCE_DIR "/src/");
    const QRegularExpression include(QStringLiteral(R"(^\s*#\s*include\s+"([^"/]+)/([^"]*)\")"),
                                     QRegularExpression::MultilineOption);
    QStringList wrong;
    int files = 0;
    QDirIterator it(src, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString rel = path.mid(src.size());
        const int layer = kLayers.indexOf(rel.section(QLatin1Char('/'), 0, 0));
        if (layer < 0) continue;
        ++files;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString text = QString::fromUtf8(file.readAll());
        const bool widgetFile = rel.contains(QStringLiteral("/widgets/"));
        for (auto m = include.globalMatch(text); m.hasNext();) {
            const auto hit = m.next();
            const int target = kLayers.indexOf(hit.captured(1));
            if (target > layer) wrong << rel + QStringLiteral(" includes ") + hit.captured(1) + '/' + hit.captured(2);
            if (!widgetFile && hit.captured(2).contains(QStringLiteral("widgets/")))
                wrong << rel + QStringLiteral(" (no widget code) includes ") + hit.captured(1) + '/' + hit.captured(2);
        }
    }
    EXPECT_GT(files, 100);
    EXPECT_TRUE(wrong.isEmpty()) << wrong.join('\n').toStdString();
}

// Every folder of src/ is a layer of the map, so no new folder escapes the rule.
TEST(Layers, EveryFolderIsALayer) {
    const QStringList folders = QDir(QStringLiteral(LUMO_SOURCE_DIR "/src")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& f : folders) EXPECT_TRUE(kLayers.contains(f)) << f.toStdString();
}

}  // namespace
