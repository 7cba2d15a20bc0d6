// Loading a project's modules into code views, against loading the same
// texts as plain text into the same number of text widgets.
//
// Input: the modules of the VBA-Web corpus project, cycled up to kModules
// views. The RTF is made once, outside the timing, by the tagging pass and
// the RTF renderer, so the view reads exactly what it reads in the program.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QPlainTextEdit>

#include <memory>
#include <vector>

#include "BenchMain.h"
#include "BenchSupport.h"
#include "base/Options.h"
#include "model/TagCode.h"
#include "render/RtfReader.h"
#include "render/RtfRenderer.h"
#include "view/widgets/CodeView.h"

namespace {

constexpr int kModules = 40;

struct Module {
    QString plain;   // CR LF lines
    QString rtf;
};

std::vector<Module>& modules() {
    static std::vector<Module> all;
    return all;
}

// The program's own road from code to the view: tagging (as for a
// fragment, which marks routine lines without a store), then RTF.
QString toRtf(const QStringList& lines) {
    const lumo::Options options;
    QString rtf = lumo::tagFragment(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), options);
    lumo::taggedToRtf(rtf, options);
    lumo::wrapRtfDocument(rtf, options);
    return rtf;
}

// The code as the VBA editor shows it: without the export header.
QStringList codeLines(const QString& file) {
    QStringList lines = file.split(QStringLiteral("\r\n"));
    if (lines.size() == 1) lines = file.split(u'\n');
    int first = 0;
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(QStringLiteral("Attribute "))) first = i + 1;
    return lines.mid(first);
}

bool loadCorpus() {
    std::vector<Module> found;
    for (const QString& p : lumo::bench::moduleFiles(lumo::bench::vbaWebDir())) {
        const std::optional<QString> text = lumo::bench::readUtf8File(p);
        if (!text) continue;
        const QStringList lines = codeLines(*text);
        found.push_back({lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), toRtf(lines)});
    }
    if (found.empty()) return false;
    for (int i = 0; i < kModules; ++i) modules().push_back(found[i % found.size()]);
    return true;
}

template <class View>
struct Views {
    QWidget window;
    std::vector<View*> views;
    Views() {
        window.resize(1000, 700);
        for (int i = 0; i < kModules; ++i) {
            auto* v = new View(&window);
            v->setGeometry(0, 0, 1000, 700);
            v->setVisible(i == 0);
            views.push_back(v);
        }
        window.show();
    }
};

void BM_PlainTextIntoTextWidgets(benchmark::State& state) {
    Views<QPlainTextEdit> w;
    for (auto _ : state) {
        for (int i = 0; i < kModules; ++i) w.views[i]->setPlainText(modules()[i].plain);
        QCoreApplication::processEvents();
    }
    state.counters["modules"] = kModules;
}
BENCHMARK(BM_PlainTextIntoTextWidgets)->Unit(benchmark::kMillisecond);

void BM_RtfIntoCodeViews(benchmark::State& state) {
    Views<lumo::CodeView> w;
    for (auto _ : state) {
        for (int i = 0; i < kModules; ++i) w.views[i]->setRtf(modules()[i].rtf);
        QCoreApplication::processEvents();
    }
    state.counters["modules"] = kModules;
}
BENCHMARK(BM_RtfIntoCodeViews)->Unit(benchmark::kMillisecond);

// The pieces of the code view's load, to see where the time goes.
void BM_RtfReadOnly(benchmark::State& state) {
    for (auto _ : state)
        for (int i = 0; i < kModules; ++i) benchmark::DoNotOptimize(lumo::readRtf(modules()[i].rtf));
}
BENCHMARK(BM_RtfReadOnly)->Unit(benchmark::kMillisecond);

// Without the corpus there is nothing to measure, which is no failure.
int setUp() {
    if (loadCorpus()) return -1;
    fprintf(stderr, "codeview_gui_bench: corpus not found below " LUMO_SHARED_DIR "\n");
    return 0;
}

lumo::bench::BenchRegistration program{{setUp, {}, {}}};

}  // namespace
