// The language server over the real modules of the corpus: the lines the
// project shows map onto the files' lines, and every definition it gives
// lands on the name it was asked for.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>

#include "lsp/Answers.h"
#include "lsp/LspSession.h"
#include "model/CorpusModules.h"
#include "render/CodePage.h"
#include "render/TaggedContent.h"

using namespace lumo;

TEST(LspCorpus, ShownLinesMapOntoTheFile) {
    LUMO_REQUIRE_CORPUS();
    int files = 0;
    for (QDirIterator it(test::corpusFolder(), {"*.bas", "*.cls", "*.frm"}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const lsp::ModuleDocument d = lsp::ModuleDocument::read(path, decodeFileText(f.readAll()));
        ASSERT_TRUE(d.usable()) << path.toStdString() << d.problem().toStdString();
        const QStringList shown = taggedToText(QString::fromUtf8(d.tagged())).split(u'\n');
        for (int l = 1; l <= d.shownLineCount(); ++l) {
            ASSERT_EQ(shown[l - 1], d.shownLine(l)) << path.toStdString() << ":" << l;
            // The file's line is the shown one but for the spelling and "()" of the import.
            const QString file = d.fileLine(d.fileLineOf(l));
            const lsp::FilePlace end = d.file({l, int(d.shownLine(l).size()) + 1});
            EXPECT_EQ(end.character, file.size()) << path.toStdString() << ":" << l;
        }
        // The stored text may end in a line break of its own.
        ASSERT_EQ(shown.size() - (shown.size() > d.shownLineCount() && shown.last().isEmpty()), d.shownLineCount())
            << path.toStdString();
        ++files;
    }
    EXPECT_GT(files, 10);
}

TEST(LspCorpus, EveryDefinitionLandsOnItsName) {
    LUMO_REQUIRE_CORPUS();
    test::LspSession s;
    s.request("initialize", "{\"rootUri\":\"" + lsp::uriOfPath(test::corpusFolder()).toUtf8() + "\",\"capabilities\":{}}");
    lsp::Workspace& w = s.server.workspace();
    ASSERT_GT(w.moduleCount(), 10);
    int answered = 0;
    for (int m = 1; m <= w.moduleCount(); ++m) {
        const lsp::ModuleDocument* d = w.document(m);
        const QString uri = lsp::uriOfPath(w.pathOf(m));
        for (int line = 0; line < d->fileLineCount(); line += 3) {
            const QString& text = d->fileLine(line);
            for (int c = 0; c < text.size(); ++c) {
                if (!text[c].isLetter() || (c > 0 && isNameChar(text[c - 1]))) continue;
                const QJsonObject params{{"textDocument", QJsonObject{{"uri", uri}}},
                                         {"position", QJsonObject{{"line", line}, {"character", c}}}};
                const QJsonValue r = lsp::definitionAnswer(w, params);
                if (!r.isArray()) continue;
                int end = c;
                while (end < text.size() && isNameChar(text[end])) ++end;
                const QString word = text.mid(c, end - c);
                for (const QJsonValue& v : r.toArray()) {
                    const QJsonObject loc = v.toObject();
                    const QJsonObject start = loc.value("range").toObject().value("start").toObject();
                    const QJsonObject stop = loc.value("range").toObject().value("end").toObject();
                    const lsp::ModuleDocument* target = w.documentAt(lsp::pathOfUri(loc.value("uri").toString()));
                    ASSERT_TRUE(target);
                    const int from = start.value("character").toInt(), to = stop.value("character").toInt();
                    if (from == to) continue;  // a module: its first line
                    EXPECT_EQ(target->fileLine(start.value("line").toInt()).mid(from, to - from).compare(word, Qt::CaseInsensitive), 0)
                        << uri.toStdString() << ":" << line + 1 << " " << word.toStdString();
                    ++answered;
                }
            }
        }
    }
    EXPECT_GT(answered, 500);
}
