// Showing a built project (trees and every code view) against loading the
// same module texts as plain text into the same number of text widgets.
//
// Input: the VBA-Web corpus project (its src folder of exported modules),
// opened in the document host and read once through the window's own road
// (list, tick, read); the timing then repeats only ShowProject.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <memory>
#include <vector>

#include "app/AppState.h"
#include "app/StartUp.h"
#include "app/Ui.h"
#include "model/WorkingStore.h"
#include "view/widgets/CodeView.h"
#include "view/widgets/KeyedTree.h"
#include "view/widgets/MainWindow.h"

namespace {

const QString kProject = QStringLiteral(LUMO_SHARED_DIR "/corpus/vba-src/VBA-Web/src");

// Answers every question with No and keeps quiet; a benchmark has no user.
class SilentUi : public lumo::Ui {
public:
    QStringList messages;
    void message(const QString& text, const QString&, lumo::MsgIcon) override { messages << text; }
    lumo::Answer question(const QString&, lumo::MsgButtons, lumo::MsgIcon, const QString&) override {
        return lumo::Answer::No;
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override { return std::nullopt; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    QString chooseSaveFile(const QString&, const QString&, const QString&, const QList<lumo::SaveFilter>&,
                           const QString&) override {
        return {};
    }
    QStringList chooseOpenFiles(const QString&, const QString&, const QString&) override { return {}; }
    QString clipboardText() override { return {}; }
    void setClipboardText(const QString&) override {}
    void clearClipboard() override {}
    bool openInViewer(const QString&) override { return false; }
};

struct Fixture {
    QTemporaryDir dir;
    SilentUi ui;
    std::unique_ptr<lumo::MainWindow> window;
    QStringList plainFiles;  // the modules' plain texts, one file each
    bool ok = false;

    Fixture() {
        lumo::StartupPaths paths;
        paths.programFolder = QStringLiteral(LUMO_BIN_DIR);
        paths.dataFolder = dir.path() + "/data";
        paths.settingsFile = dir.path() + "/settings.ini";
        lumo::initSharedState(paths);
        lumo::appState().ui = &ui;
        window = std::make_unique<lumo::MainWindow>();
        window->loadMainWindow({kProject});
        window->resize(1200, 800);
        auto* tree = window->appTree();
        if (tree->topLevelItemCount() == 0) return;
        tree->topLevelItem(0)->setCheckState(0, Qt::Checked);
        window->readTickedCode();
        if (!window->codeShown()) return;
        for (int i = 0; i < window->codeViewCount(); ++i) {
            const QString path = dir.path() + QStringLiteral("/plain%1.txt").arg(i);
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly)) return;
            f.write(window->codeView(i)->text().toUtf8());
            plainFiles << path;
        }
        ok = true;
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_ShowProject(benchmark::State& state) {
    Fixture& f = fixture();
    if (!f.ok) {
        state.SkipWithError("VBA-Web corpus project not found or not readable");
        return;
    }
    for (auto _ : state) {
        f.window->showProject();
        QCoreApplication::processEvents();
    }
    state.counters["modules"] = f.window->codeViewCount();
    state.counters["nodes"] = f.window->projectTree()->nodeCount();
}

void BM_PlainTextLoad(benchmark::State& state) {
    Fixture& f = fixture();
    if (!f.ok) {
        state.SkipWithError("VBA-Web corpus project not found or not readable");
        return;
    }
    QWidget host;
    host.resize(1200, 800);
    host.show();
    for (auto _ : state) {
        std::vector<std::unique_ptr<QPlainTextEdit>> views;
        for (const QString& path : f.plainFiles) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) continue;
            auto v = std::make_unique<QPlainTextEdit>(&host);
            v->setReadOnly(true);
            v->setPlainText(QString::fromUtf8(file.readAll()));
            views.push_back(std::move(v));
        }
        views.front()->show();
        QCoreApplication::processEvents();
    }
    state.counters["modules"] = double(f.plainFiles.size());
}

}  // namespace

BENCHMARK(BM_ShowProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainTextLoad)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (fixture().window) fixture().window->close();
    return 0;
}
