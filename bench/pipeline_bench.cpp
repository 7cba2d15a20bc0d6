// The module pipeline (tagging, parsing, storing, writing the module text
// files) against the peer pygmentize (-l vbnet -f html) on the same text,
// and plain file reading as the floor.
//
// Inputs: the modules of the VBA-Web corpus project as the VBA editor shows
// them, and a synthetic module of every construct the pipeline handles,
// scaled 1x (about 300 lines), 10x and 100x. The pipeline runs with the
// options that make it do the most (einr, rer, rle). Every time is wall
// time; the peer's includes starting its interpreter, as using it does.
// At the end a table gives the ratios the targets are stated in.
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
#include "model/ProjectBuild.h"
#include "model/WorkingStore.h"

namespace {

using lumo::bench::SilentUi;
using lumo::bench::editorView;
using lumo::bench::runPygmentize;

struct Input {
    QStringList modules;  // code of each module, CR LF lines
    QString file;         // all of it in one file, for the peer and the floor
};

std::map<std::string, Input>& inputs() {
    static std::map<std::string, Input> all;
    return all;
}

QTemporaryDir& scratch() {
    static QTemporaryDir dir;
    return dir;
}

// One block of every construct; names numbered so that each copy is new code.
QString syntheticBlock(int n) {
    const QString k = QString::number(n);
    QString b;
    b += "Private Declare PtrSafe Function GetTick" + k + " Lib \"kernel32\" _\r\n  Alias \"GetTickCount\" () As Long\r\n";
    b += "Private mWert" + k + " As Variant ' the value, \"quoted\"\r\n";
    b += "Public Property Get Wert" + k + "() As Variant\r\n    Wert" + k + " = mWert" + k + "\r\nEnd Property\r\n";
    b += "Public Property Let Wert" + k + "(ByVal v As Variant)\r\n    mWert" + k + " = v\r\nEnd Property\r\n";
    b += "Public Sub Rechne" + k + "(ByVal a As Long, Optional ByRef b As String = \"x, y\")\r\n";
    b += "    Dim i As Long, s As String\r\n    ' Schleife mit Auswahl\r\n";
    b += "    For i = 1 To a\r\n        Select Case i Mod 3\r\n        Case 0\r\n";
    b += "            If i > 10 Then Exit For\r\n            s = s & \"Fizz \"\"\" & i & \"\"\"\"\r\n";
    b += "        Case 1\r\n            If b = \"\" Then\r\n                b = \"leer\" ' Kommentar _\r\n";
    b += "                  mit Fortsetzung\r\n            Else\r\n                Debug.Print b, s\r\n            End If\r\n";
    b += "        Case Else\r\n            Do While Len(s) > 100\r\n                s = Mid$(s, 2)\r\n            Loop\r\n";
    b += "        End Select\r\n    Next i\r\n    With Application\r\n        .StatusBar = s\r\n    End With\r\n";
    b += "End Sub\r\n\r\n";
    b += "Private Function Summe" + k + "(ParamArray werte() As Variant) As Double\r\n";
    b += "    Dim v As Variant\r\n    On Error GoTo Fehler\r\n    For Each v In werte\r\n";
    b += "        Summe" + k + " = Summe" + k + " + CDbl(v)\r\n    Next v\r\n    Exit Function\r\nFehler:\r\n";
    b += "    Err.Raise vbObjectError + 1, \"Summe\", \"Kein Zahlenwert: \" & v\r\nEnd Function\r\n\r\n";
    return b;
}

// 1x is six blocks, a module of about 300 lines.
QString syntheticModule(int scale) {
    QString m = "Option Explicit\r\n\r\n";
    for (int i = 0; i < 6 * scale; ++i) m += syntheticBlock(i);
    m.chop(2);
    return m;
}

void addInput(const std::string& name, const QStringList& modules) {
    Input in;
    in.modules = modules;
    in.file = scratch().path() + "/" + QString::fromStdString(name) + ".bas";
    QFile f(in.file);
    if (f.open(QIODevice::WriteOnly)) f.write(modules.join("\r\n").toUtf8());
    inputs()[name] = in;
}

bool prepareInputs() {
    QStringList web;
    for (const QString& p : lumo::bench::moduleFiles(lumo::bench::vbaWebDir()))
        if (const std::optional<QString> text = lumo::bench::readUtf8File(p)) web << editorView(*text);
    if (!web.isEmpty()) addInput("VBAWeb", web);
    else std::fprintf(stderr, "VBA-Web corpus missing: the corpus benchmarks are skipped\n");
    addInput("Synthetic1x", {syntheticModule(1)});
    addInput("Synthetic10x", {syntheticModule(10)});
    addInput("Synthetic100x", {syntheticModule(100)});
    return true;
}

SilentUi& ui() {
    static SilentUi u;
    u.echo = true;  // what goes wrong in a build is worth seeing
    return u;
}

void BM_Pipeline(benchmark::State& state, std::string name) {
    const Input& in = inputs().at(name);
    lumo::ProjectBuild build(ui(), lumo::WorkingStore::instance(), lumo::appState().options);
    qint64 lines = 0;
    for (const QString& m : in.modules) lines += m.count('\n') + 1;
    for (auto _ : state) {
        state.PauseTiming();
        // A build starts in an emptied folder, as the builder empties the run folder.
        for (const QString& f : QDir(scratch().path()).entryList({"M*.txt"}, QDir::Files))
            QFile::remove(scratch().path() + "/" + f);
        if (!build.begin()) {
            state.SkipWithError("template database missing");
            break;
        }
        state.ResumeTiming();
        int n = 0;
        for (const QString& m : in.modules) build.addModule("Modul" + QString::number(++n), 3, m);
        state.PauseTiming();
        build.finish();
        state.ResumeTiming();
    }
    state.counters["lines"] = double(lines);
    state.counters["lines/s"] = benchmark::Counter(double(lines), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Pygmentize(benchmark::State& state, std::string name) {
    runPygmentize(state, inputs().at(name).file, QStringLiteral("html"));
}

void BM_ReadFile(benchmark::State& state, std::string name) {
    const Input& in = inputs().at(name);
    for (auto _ : state) {
        QFile f(in.file);
        f.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(QString::fromUtf8(f.readAll()));
    }
}

void printRatios(const lumo::bench::Seconds& seconds) {
    std::printf("\nRatios (targets: peer/pipeline >= 20; 10x input <= 12x time)\n");
    for (const auto& [name, _] : inputs()) {
        const auto p = seconds.find("Pipeline/" + name);
        const auto g = seconds.find("Pygmentize/" + name);
        if (p != seconds.end() && g != seconds.end())
            std::printf("  %-14s pipeline %9.3f ms  pygmentize %9.3f ms  peer/pipeline %6.1fx\n", name.c_str(),
                        p->second * 1e3, g->second * 1e3, g->second / p->second);
    }
    const auto scale = [&](const char* a, const char* b) {
        const auto x = seconds.find(std::string("Pipeline/") + a);
        const auto y = seconds.find(std::string("Pipeline/") + b);
        if (x != seconds.end() && y != seconds.end())
            std::printf("  pipeline %s / %s: %.2fx time for 10x input\n", b, a, y->second / x->second);
    };
    scale("Synthetic1x", "Synthetic10x");
    scale("Synthetic10x", "Synthetic100x");
}

int setUp() {
    if (!scratch().isValid()) return 1;
    lumo::appState().programFolder = QStringLiteral(LUMO_BIN_DIR "/");
    lumo::appState().workFolder = scratch().path() + "/";
    lumo::Options& o = lumo::appState().options;
    o = lumo::Options{};
    o.reindentBlocks = o.indentRoutineBodies = o.blankLineBeforeRoutines = true;
    prepareInputs();
    for (const auto& [name, _] : inputs()) {
        benchmark::RegisterBenchmark(("Pipeline/" + name).c_str(), BM_Pipeline, name)->UseRealTime()->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Pygmentize/" + name).c_str(), BM_Pygmentize, name)
            ->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(name == "Synthetic100x" ? 2 : 5);
        benchmark::RegisterBenchmark(("ReadFile/" + name).c_str(), BM_ReadFile, name)->UseRealTime()->Unit(benchmark::kMillisecond);
    }
    return -1;
}

lumo::bench::BenchRegistration program{{setUp, printRatios, {}}};

}  // namespace
