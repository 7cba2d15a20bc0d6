// End to end with a real client: Neovim's own language client, headless,
// opens a module of the corpus and asks definition, references, hover and
// symbols of "codelumo-cli lsp"; the answers must be those of
// codelumo-cli definition, references and export --structure on the same folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStandardPaths>
#include <QRegularExpression>
#include <QUrl>

#include "cli/CliFixture.h"
#include "model/CorpusModules.h"

namespace {

// The file's lines the editor shows, by the rule the editor hides lines
// with (header block, leading Attribute lines, member attributes): per file
// line its shown line (1-based), 0 for a hidden one.
std::vector<int> shownLines(const QStringList& file) {
    std::vector<int> shown(size_t(file.size()), 0);
    qsizetype i = 0;
    if (i < file.size() && file[i].startsWith("VERSION ")) {
        ++i;
        int depth = 0;
        for (; i < file.size(); ++i) {
            const QString t = file[i].trimmed();
            if (t == "BEGIN" || t.startsWith("Begin ")) ++depth;
            if ((t == "END" || t == "End") && --depth == 0) {
                ++i;
                break;
            }
        }
    }
    while (i < file.size() && file[i].startsWith("Attribute ")) ++i;
    int n = 0;
    for (; i < file.size(); ++i)
        if (!(file[i].startsWith("Attribute ") && file[i].section(' ', 1, 1).contains(".VB_"))) shown[size_t(i)] = ++n;
    return shown;
}

class LspNeovim : public lumo::test::CliProgram {};

TEST_F(LspNeovim, AnswersAsTheCommandLineDoes) {
    LUMO_REQUIRE_CORPUS();
    const QString nvim = QStandardPaths::findExecutable("nvim");
    if (nvim.isEmpty()) GTEST_SKIP() << "nvim fehlt (Debian-Paket neovim): der Test mit einem echten Client entfällt";
    const QString src = path("src");
    ASSERT_TRUE(QDir().mkpath(src));
    for (const QString& f : QDir(lumo::test::corpusFolder() + "/VBA-Web/src").entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(lumo::test::corpusFolder() + "/VBA-Web/src/" + f, src + "/" + f));
    ASSERT_EQ(run({"build", "--out", path("out"), src}).status, 0);
    const CliRun found = run({"definition", "--module", "1", "WebClient", path("out")});
    ASSERT_EQ(found.status, 0);
    const QString module = QString::fromUtf8(found.out).section('\t', 0, 0);

    QFile file(src + "/WebClient.cls");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n");
    const std::vector<int> shown = shownLines(lines);
    // Places of code (not comments) naming routines, a module, a class's own
    // member, a parameter and a local.
    struct Place {
        QString name;
        int line = 0, character = 0;
    };
    std::vector<Place> places;
    for (const char* name : {"LogResponse", "ExecuteInShell", "WebHelpers", "GetFullUrl", "Request", "web_Response"}) {
        for (int l = 0; l < lines.size(); ++l) {
            const qsizetype at = lines[l].indexOf(QRegularExpression(QStringLiteral("\\b%1\\b").arg(name)));
            const qsizetype comment = lines[l].indexOf('\'');
            if (shown[size_t(l)] == 0 || at < 0 || (comment >= 0 && comment < at) || lines[l].trimmed().startsWith("Public")) continue;
            places.push_back({name, l, int(at) + 1});
            break;
        }
    }
    ASSERT_EQ(places.size(), 6u);
    QJsonArray asked;
    for (const Place& p : places) asked.append(QJsonArray{p.line, p.character});

    QProcess client;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LUMO_SETTINGS_FILE", path("settings.ini"));
    env.insert("LUMO_DATA_DIR", path("data"));
    env.insert("LUMO_LSP_CLI", LUMO_BIN_DIR "/codelumo-cli");
    env.insert("LUMO_LSP_ROOT", src);
    env.insert("LUMO_LSP_FILE", src + "/WebClient.cls");
    env.insert("LUMO_LSP_OUT", path("answers.json"));
    env.insert("LUMO_LSP_PLACES", QJsonDocument(asked).toJson(QJsonDocument::Compact));
    client.setProcessEnvironment(env);
    client.start(nvim, {"--headless", "--clean", "-n", "-c", "luafile " LUMO_SOURCE_DIR "/tests/lsp/nvim_client.lua"});
    ASSERT_TRUE(client.waitForFinished(120000)) << "nvim hängt";
    QFile answersFile(path("answers.json"));
    ASSERT_TRUE(answersFile.open(QIODevice::ReadOnly)) << client.readAllStandardError().toStdString();
    const QJsonObject answers = QJsonDocument::fromJson(answersFile.readAll()).object();
    ASSERT_TRUE(answers.value("ready").toBool());
    const QJsonArray results = answers.value("places").toArray();
    ASSERT_EQ(results.size(), qsizetype(places.size()));

    // A location's module name and shown line.
    auto placeOf = [&](const QJsonObject& location) {
        const QString path = QUrl(location.value("uri").toString()).toLocalFile();
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        const std::vector<int> s = shownLines(QString::fromUtf8(f.readAll()).split("\r\n"));
        const int line = location.value("range").toObject().value("start").toObject().value("line").toInt();
        return QFileInfo(path).completeBaseName() + ":" + QString::number(s.at(size_t(line)));
    };
    for (size_t i = 0; i < places.size(); ++i) {
        const Place& p = places[i];
        const QJsonObject r = results[qsizetype(i)].toObject();
        const QStringList where = {"--module", module, "--line", QString::number(shown[size_t(p.line)]), "--column",
                                   QString::number(p.character), p.name, path("out")};  // 1-based: the name's start
        const CliRun definition = run(QStringList{"definition"} + where);
        ASSERT_EQ(definition.status, 0) << p.name.toStdString() << definition.err.toStdString();
        const QStringList target = QString::fromUtf8(definition.out).trimmed().split('\t');
        ASSERT_TRUE(r.value("definition").isArray()) << p.name.toStdString();
        EXPECT_EQ(placeOf(r.value("definition").toArray().first().toObject()), target[1] + ":" + target[2])
            << p.name.toStdString();

        const CliRun references = run(QStringList{"references"} + where);
        QSet<QString> expected, got;
        for (const QString& line : QString::fromUtf8(references.out).split('\n', Qt::SkipEmptyParts))
            expected << line.section('\t', 1, 1) + ":" + line.section('\t', 2, 2);
        for (const QJsonValue& v : r.value("references").toArray()) got << placeOf(v.toObject());
        EXPECT_EQ(got, expected) << p.name.toStdString();

        const QString hover = r.value("hover").toObject().value("contents").toObject().value("value").toString();
        EXPECT_TRUE(hover.contains(p.name, Qt::CaseInsensitive)) << p.name.toStdString() << ": " << hover.toStdString();
    }

    // The outline holds the routines the structure export lists.
    QSet<QString> routines, outlined;
    const CliRun structure = run({"export", "--structure", path("out")});
    QString section;
    for (const QString& line : QString::fromUtf8(structure.out).split('\n', Qt::SkipEmptyParts)) {
        if (!line.startsWith('\t')) section = line.trimmed();
        else if (section == "WebClient") routines << line.trimmed();
    }
    const QJsonArray symbols = answers.value("symbols").toArray();
    ASSERT_EQ(symbols.size(), 1);
    for (const QJsonValue& v : symbols[0].toObject().value("children").toArray()) {
        const int kind = v.toObject().value("kind").toInt();
        if (kind == 6 || kind == 7 || kind == 12) outlined << v.toObject().value("name").toString();
    }
    EXPECT_FALSE(routines.isEmpty());
    EXPECT_EQ(outlined, routines);
}

}  // namespace
