#pragma once
// Modules of the shared corpus as the VBA editor shows them.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringList>

#include <utility>
#include <vector>

#include "acquire/ModuleFile.h"

namespace lumo::test {

inline QString corpusFolder() { return QStringLiteral(LUMO_SHARED_DIR "/corpus/vba-src"); }

// Skips the test (or fails it under CI=true) when the corpus is absent.
#define LUMO_REQUIRE_CORPUS()                                                                      \
    do {                                                                                           \
        if (!QDir(lumo::test::corpusFolder()).exists()) {                                          \
            if (qgetenv("CI") == "true") FAIL() << "corpus missing: " << LUMO_SHARED_DIR;          \
            GTEST_SKIP() << "corpus missing: " << LUMO_SHARED_DIR "/corpus/vba-src";               \
        }                                                                                          \
    } while (0)

// An exported module without the export's header: the VERSION/BEGIN...END
// block of classes and forms and the Attribute lines, which the editor hides.
inline QString editorView(const QString& exported) {
    QStringList lines = exported.split(QStringLiteral("\r\n"));
    qsizetype i = 0;
    if (i < lines.size() && lines[i].startsWith(QLatin1String("VERSION "))) {
        ++i;
        if (i < lines.size() && lines[i] == QLatin1String("BEGIN")) {
            int depth = 0;
            for (; i < lines.size(); ++i) {
                const QString t = lines[i].trimmed();
                if (t == QLatin1String("BEGIN") || t.startsWith(QLatin1String("Begin "))) ++depth;
                if ((t == QLatin1String("END") || t == QLatin1String("End")) && --depth == 0) {
                    ++i;
                    break;
                }
            }
        }
    }
    while (i < lines.size() && lines[i].startsWith(QLatin1String("Attribute "))) ++i;
    QStringList shown;
    for (; i < lines.size(); ++i) {
        // Member attributes ("Attribute Http.VB_VarHelpID = -1") are hidden too.
        const QString& l = lines[i];
        if (l.startsWith(QLatin1String("Attribute ")) && l.section(' ', 1, 1).contains(QLatin1String(".VB_"))) continue;
        shown << l;
    }
    return shown.join(QStringLiteral("\r\n"));
}

inline QString corpusModule(const QString& relativePath) {
    QFile f(corpusFolder() + "/" + relativePath);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return editorView(moduleCodeFromBytes(f.readAll()));
}

// Every .bas and .cls file of the corpus, relative to its folder, sorted.
inline QStringList corpusModuleFiles() {
    QStringList out;
    QDirIterator it(corpusFolder(), {"*.bas", "*.cls", "*.frm"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) out << QDir(corpusFolder()).relativeFilePath(it.next());
    out.sort();
    return out;
}

// Every module of the corpus as the editor shows it, named by its path: the
// exported modules, then those an independent reader found in the Office files.
inline std::vector<std::pair<QString, QString>> allCorpusModules() {
    std::vector<std::pair<QString, QString>> out;
    for (const QString& f : corpusModuleFiles()) out.emplace_back(f, corpusModule(f));
    const QString office = QStringLiteral(LUMO_SHARED_DIR "/corpus/office-expected");
    QDirIterator it(office, {"*.txt"}, QDir::Files, QDirIterator::Subdirectories);
    QStringList texts;
    while (it.hasNext()) texts << it.next();
    texts.sort();
    for (const QString& path : texts) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            out.emplace_back(QDir(office).relativeFilePath(path), editorView(QString::fromUtf8(f.readAll())));
    }
    return out;
}

}  // namespace lumo::test
