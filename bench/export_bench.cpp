// The project exports (HTML to the clipboard text, the RTF file's bytes)
// against the peer pygmentize (-l vbnet, -f html and -f rtf) on the same
// code, in the same run.
//
// Inputs: the modules of the VBA-Web corpus project, and a synthetic module
// of every construct the tagger handles scaled 1x (about 300 lines), 10x and
// 100x for the growth with size. Each input is built once into a working
// store; an export then does what the command does: read every module text
// file, put its header block in front, convert, join. Wall time; the peer's
// includes starting its interpreter, as using it does.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <memory>

#include "BenchMain.h"
#include "BenchSupport.h"
#include "base/AppState.h"
#include "export/HtmlExport.h"
#include "export/RtfExport.h"
#include "model/ProjectBuild.h"
#include "model/WorkingStore.h"
#include "render/RtfRenderer.h"
#include "view/NodeList.h"
#include "view/ProjectTree.h"

namespace {

using lumo::bench::SilentUi;
using lumo::bench::editorView;
using lumo::bench::runPygmentize;

struct Input {
    QString folder;  // the built working store
    QString file;    // all code in one file, for the peer
    std::vector<lumo::ExportModule> modules;
    qint64 lines = 0;
};

std::map<std::string, Input>& inputs() {
    static std::map<std::string, Input> all;
    return all;
}

QTemporaryDir& scratch() {
    static QTemporaryDir dir;
    return dir;
}

SilentUi& ui() {
    static SilentUi u;
    u.echo = true;
    return u;
}

// One block of the constructs the tagger and the exports meet; numbered names.
QString syntheticBlock(int n) {
    const QString k = QString::number(n);
    QString b;
    b += "Private Declare PtrSafe Function GetTick" + k + " Lib \"kernel32\" () As Long\r\n";
    b += "Private mWert" + k + " As Variant ' Wert <alt> & \"neu\": (ä+ö)\r\n";
    b += "Public Property Get Wert" + k + "() As Variant\r\n    Wert" + k + " = mWert" + k + "\r\nEnd Property\r\n";
    b += "Public Sub Rechne" + k + "(ByVal a As Long, Optional ByRef b As String = \"x, y\")\r\n";
    b += "    Dim i As Long, s As String\r\n    ' Schleife mit Auswahl {und Klammern}\r\n";
    b += "    For i = 1 To a\r\n        Select Case i Mod 3\r\n        Case 0\r\n";
    b += "            If i > 10 Then Exit For\r\n            s = s & \"Fizz \"\"\" & i & \"\"\"\"\r\n";
    b += "        Case Else\r\n            Do While Len(s) > 100\r\n                s = Mid$(s, 2)\r\n";
    b += "            Loop\r\n        End Select\r\n    Next i\r\nEnd Sub\r\n\r\n";
    b += "Private Function Summe" + k + "(ParamArray werte() As Variant) As Double\r\n";
    b += "    Dim v As Variant\r\n    For Each v In werte\r\n        Summe" + k + " = Summe" + k +
         " + CDbl(v)\r\n    Next v\r\nEnd Function\r\n\r\n";
    return b;
}

QString syntheticModule(int scale) {
    QString m = "Option Explicit\r\n\r\n";
    for (int i = 0; i < 8 * scale; ++i) m += syntheticBlock(i);
    return m;
}

// Builds the modules into a store of their own and remembers the tree's modules.
bool addInput(const std::string& name, const QStringList& code) {
    Input in;
    in.folder = scratch().path() + "/" + QString::fromStdString(name) + "/";
    QDir().mkpath(in.folder);
    in.file = scratch().path() + "/" + QString::fromStdString(name) + ".bas";
    QFile f(in.file);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(code.join("\r\n").toUtf8());
    for (const QString& m : code) in.lines += m.count('\n') + 1;

    lumo::appState().workFolder = in.folder;
    lumo::WorkingStore& store = lumo::WorkingStore::instance();
    lumo::ProjectBuild build(ui(), store, lumo::appState().options);
    if (!build.begin()) return false;
    int n = 0;
    for (const QString& m : code) build.addModule("Modul" + QString::number(++n), 2 + n % 2, m);
    build.finish();
    store.openWorkingDatabase();
    lumo::NodeList tree;
    in.modules = lumo::exportModules(tree, lumo::fillModuleTree(tree, store));
    store.closeWorkingDatabase();
    inputs()[name] = in;
    return true;
}

void prepareInputs() {
    QStringList web;
    for (const QString& p : lumo::bench::moduleFiles(lumo::bench::vbaWebDir()))
        if (const std::optional<QString> text = lumo::bench::readUtf8File(p)) web << editorView(*text);
    if (!web.isEmpty()) addInput("VBAWeb", web);
    else std::fprintf(stderr, "VBA-Web corpus missing: the corpus benchmarks are skipped\n");
    addInput("Synthetic1x", {syntheticModule(1)});
    addInput("Synthetic10x", {syntheticModule(10)});
    addInput("Synthetic100x", {syntheticModule(100)});
}

void useStore(const Input& in) {
    lumo::appState().workFolder = in.folder;
}

void BM_Html(benchmark::State& state, std::string name) {
    const Input& in = inputs().at(name);
    useStore(in);
    lumo::WorkingStore& store = lumo::WorkingStore::instance();
    for (auto _ : state) benchmark::DoNotOptimize(lumo::projectHtml(store, in.modules, lumo::appState().options));
    state.counters["lines/s"] = benchmark::Counter(double(in.lines), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Rtf(benchmark::State& state, std::string name) {
    const Input& in = inputs().at(name);
    useStore(in);
    lumo::WorkingStore& store = lumo::WorkingStore::instance();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            lumo::rtfFileBytes(lumo::projectRtfDocument(store, in.modules, lumo::appState().options)));
    state.counters["lines/s"] = benchmark::Counter(double(in.lines), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Pygmentize(benchmark::State& state, std::string name, std::string format) {
    runPygmentize(state, inputs().at(name).file, QString::fromStdString(format));
}

void printRatios(const lumo::bench::Seconds& seconds) {
    const auto get = [&seconds](const std::string& key) {
        const auto it = seconds.find(key);
        return it == seconds.end() ? 0 : it->second;
    };
    std::printf("\nRatios (targets: peer/export >= 30; 10x input <= 12x time)\n");
    for (const auto& [name, _] : inputs()) {
        for (const char* format : {"Html", "Rtf"}) {
            const double ours = get(std::string(format) + "/" + name);
            const double peer = get(std::string("Pygmentize") + format + "/" + name);
            if (ours > 0 && peer > 0)
                std::printf("  %-14s %-4s export %9.3f ms  pygmentize %9.3f ms  peer/export %7.1fx\n",
                            name.c_str(), format, ours * 1e3, peer * 1e3, peer / ours);
        }
    }
    for (const char* format : {"Html", "Rtf"}) {
        const auto scale = [&](const char* a, const char* b) {
            const double x = get(std::string(format) + "/" + a), y = get(std::string(format) + "/" + b);
            if (x > 0 && y > 0) std::printf("  %-4s %s / %s: %.2fx time for 10x input\n", format, b, a, y / x);
        };
        scale("Synthetic1x", "Synthetic10x");
        scale("Synthetic10x", "Synthetic100x");
    }
}

int setUp() {
    if (!scratch().isValid()) return 1;
    lumo::appState().programFolder = QStringLiteral(LUMO_BIN_DIR "/");
    lumo::appState().options = lumo::Options{};
    prepareInputs();
    for (const auto& [name, _] : inputs()) {
        const int peerIterations = name == "Synthetic100x" ? 2 : 5;
        benchmark::RegisterBenchmark(("Html/" + name).c_str(), BM_Html, name)->UseRealTime()->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Rtf/" + name).c_str(), BM_Rtf, name)->UseRealTime()->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("PygmentizeHtml/" + name).c_str(), BM_Pygmentize, name, std::string("html"))
            ->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(peerIterations);
        benchmark::RegisterBenchmark(("PygmentizeRtf/" + name).c_str(), BM_Pygmentize, name, std::string("rtf"))
            ->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(peerIterations);
    }
    return -1;
}

lumo::bench::BenchRegistration program{{setUp, printRatios, {}}};

}  // namespace
