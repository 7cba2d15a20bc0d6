#pragma once
// What the benchmarks share: where the corpus lies, a Ui without a user, and
// reading the corpus files they take their input from.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <optional>

#include "base/Ui.h"

namespace lumo::bench {

inline QString corpusDir() { return QStringLiteral(LUMO_SHARED_DIR "/corpus"); }
inline QString vbaWebDir() { return corpusDir() + QStringLiteral("/vba-src/VBA-Web"); }

// Answers every question with No and chooses nothing; a benchmark has no
// user. Messages are kept, and printed on standard error when echo is set.
class SilentUi : public Ui {
public:
    bool echo = false;
    // Input boxes answer with their default text instead of being cancelled.
    bool takeDefaults = false;
    QStringList messages;

    void message(const QString& text, const QString&, MsgIcon) override {
        messages << text;
        if (echo) std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    Answer question(const QString&, MsgButtons, MsgIcon, const QString&) override { return Answer::No; }
    std::optional<QString> input(const QString&, const QString&, const QString& defaultText) override {
        if (takeDefaults) return defaultText;
        return std::nullopt;
    }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    QString chooseSaveFile(const QString&, const QString&, const QString&, const QList<SaveFilter>&,
                           const QString&) override {
        return {};
    }
    QStringList chooseOpenFiles(const QString&, const QString&, const QString&) override { return {}; }
    QString clipboardText() override { return {}; }
    void setClipboardText(const QString&) override {}
    void clearClipboard() override {}
    bool openInViewer(const QString&) override { return false; }
};

// An exported module as the editor shows it: without the class or form
// header and the Attribute lines.
inline QString editorView(const QString& exported) {
    QStringList shown;
    bool header = exported.startsWith(QLatin1String("VERSION "));
    for (const QString& l : exported.split(QStringLiteral("\r\n"))) {
        if (header) {
            if (l == QLatin1String("END")) header = false;
            continue;
        }
        if (l.startsWith(QLatin1String("Attribute "))) continue;
        shown << l;
    }
    return shown.join(QStringLiteral("\r\n"));
}

// The peer: pygmentize colouring `file` as VB.NET into `format` (html, rtf),
// its output thrown away, once per iteration of the benchmark.
inline void runPygmentize(benchmark::State& state, const QString& file, const QString& format) {
    const QString exe = QStandardPaths::findExecutable(QStringLiteral("pygmentize"));
    if (exe.isEmpty()) {
        state.SkipWithError("pygmentize not installed (python3-pygments)");
        return;
    }
    for (auto _ : state) {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(exe, {QStringLiteral("-l"), QStringLiteral("vbnet"), QStringLiteral("-f"), format, file});
        if (!p.waitForFinished(600000) || p.exitCode() != 0) {
            state.SkipWithError("pygmentize failed");
            break;
        }
    }
}

// A whole file as UTF-8 text; nullopt when it cannot be opened.
inline std::optional<QString> readUtf8File(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return QString::fromUtf8(f.readAll());
}

// The exported modules (.bas, .cls) below dir, sorted by path so that every
// run sees them in the same order.
inline QStringList moduleFiles(const QString& dir) {
    QDirIterator it(dir, {QStringLiteral("*.bas"), QStringLiteral("*.cls")}, QDir::Files,
                    QDirIterator::Subdirectories);
    QStringList files;
    while (it.hasNext()) files << it.next();
    files.sort();
    return files;
}

// The largest Office file of the corpus; empty when there is none.
inline QString largestOfficeFile() {
    QString best;
    qint64 size = -1;
    for (const QFileInfo& f : QDir(corpusDir() + QStringLiteral("/office")).entryInfoList(QDir::Files))
        if (f.size() > size) {
            size = f.size();
            best = f.absoluteFilePath();
        }
    return best;
}

}  // namespace lumo::bench

