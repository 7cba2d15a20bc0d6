// Whole-project answers of the headless entry against reading the same
// module texts with cat, and the document reader against the Java reader
// the corpus's expected texts came from. Every side is a process of its own
// and is timed by its CPU time (user + system, from wait4), which a busy
// machine disturbs far less than the wall clock; the same wait4 gives each
// process's memory peak.
//
// Inputs: generated projects of 100, 1,000 and 3,000 real modules, the corpus
// modules of vba-src taken in turn under numbered names, each built once
// through the project builder; and every Office file of the corpus that
// holds a VBA project.
//
//   Cat/N          cat M1.txt ... MN.txt
//   Structure/N    export --structure (the modules and their routines)
//   Callers/N      callers of the routine named most often in the corpus
//   Html/N         export --html of the whole project; its memory peak too
//   Rtf/N          export --rtf of the whole project; its memory peak too
//   Long/N         export --structure --long
//   Search/N       search --project for the routine's name, against
//   Grep/N         grep -rn for it in the module texts (output to a file)
//   References/N   references to the routine; Definition/N where it is defined
//   Site/N         site of the stored project
//   Diff/N         diff --stat of the stored project against itself (both sides read whole)
//   Copy/N         cp -r of the store folder, against the build's own CPU
//                  time through the project builder (printed with the ratios)
//   Dump/FILE      dump FILE: every module's code as the editor shows it
//   Start          --help: what every process of the headless entry pays
//                  before its work (loading Qt, ICU, libgsf and their
//                  libraries), the floor of the small inputs' ratios
//   JavaReader/FILE  VBAMacroExtractor FILE (skipped where it is not installed)
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>

#include "BenchMain.h"
#include "BenchSupport.h"
#include "base/AppState.h"
#include "model/CodeDatabase.h"
#include "model/ProjectBuild.h"
#include "model/WorkingStore.h"

namespace {

using lumo::bench::SilentUi;

const QString kCli = QStringLiteral(LUMO_BIN_DIR "/codelumo-cli");
const QString kJavaReaderJar = QStringLiteral("/usr/share/java/poi.jar");

struct Project {
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QTemporaryDir> scratch;  // for the outputs of site and copy
    double buildSeconds = 0;                 // CPU time of the build through the project builder
    int modules = 0;
    qint64 lines = 0;
    QString routine;  // the routine whose callers are searched
    int routineModule = 0;
};

std::map<int, Project>& projects() {
    static std::map<int, Project> all;
    return all;
}

SilentUi& ui() {
    static SilentUi u;
    u.echo = true;
    return u;
}

struct Outcome {
    bool ok = false;
    double cpuSeconds = 0;
    double peakMiB = 0;
};

// The child side of runProcess: runs argv[0] with standard output and error
// to /dev/null and prints its exit code, CPU microseconds and memory peak.
// A process starts with the memory peak of the one it was forked from, so
// the measured one is forked from this small process, never from the
// benchmark holding its projects.
int measureChild(const QStringList& command) {
    std::vector<QByteArray> bytes;
    for (const QString& a : command) bytes.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes) argv.push_back(b.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        // Standard output to a file: grep stops at its first hit when it
        // writes to /dev/null, and every side then pays for writing alike.
        const int null = open("/dev/null", O_WRONLY);
        const int out = open("/tmp", O_TMPFILE | O_WRONLY, 0600);
        dup2(out >= 0 ? out : null, 1);
        dup2(null, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return 1;
    const long long micros = (long long)(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000 +
                             usage.ru_utime.tv_usec + usage.ru_stime.tv_usec;
    std::printf("%d %lld %ld\n", WIFEXITED(status) ? WEXITSTATUS(status) : 128, micros, usage.ru_maxrss);
    return 0;
}

Outcome runProcess(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), QStringList{"--child", program} + args);
    Outcome out;
    if (!p.waitForFinished(-1)) return out;
    const QList<QByteArray> fields = p.readAllStandardOutput().simplified().split(' ');
    if (fields.size() != 3) return out;
    out.ok = fields[0] == "0";
    out.cpuSeconds = fields[1].toDouble() * 1e-6;
    out.peakMiB = fields[2].toDouble() / 1024.0;
    return out;
}

// The memory peak of every benchmark's processes, by benchmark name.
std::map<std::string, double>& peaks() {
    static std::map<std::string, double> all;
    return all;
}

// The least CPU time of any process of each benchmark: on a shared machine
// other work only ever adds to a process's time, so the least is the
// steadiest estimate of its own cost (reported beside the mean).
std::map<std::string, double>& least() {
    static std::map<std::string, double> all;
    return all;
}

// Each iteration one process; the iteration's time is its CPU time.
void timeProcess(benchmark::State& state, const std::string& name, const QString& program, const QStringList& args) {
    double peak = 0, fewest = 0;
    for (auto _ : state) {
        const Outcome o = runProcess(program, args);
        if (!o.ok) {
            state.SkipWithError(("failed: " + program + " " + args.join(' ')).left(300).toStdString().c_str());
            return;
        }
        state.SetIterationTime(o.cpuSeconds);
        peak = std::max(peak, o.peakMiB);
        fewest = fewest == 0 ? o.cpuSeconds : std::min(fewest, o.cpuSeconds);
    }
    least()[name] = fewest;
    state.counters["peak_MiB"] = peak;
    peaks()[name] = peak;
}

struct CorpusModule {
    QString name;
    QString code;
};

std::vector<CorpusModule> corpusModules() {
    std::vector<CorpusModule> out;
    for (const QString& path : lumo::bench::moduleFiles(lumo::bench::corpusDir() + QStringLiteral("/vba-src")))
        if (const std::optional<QString> text = lumo::bench::readUtf8File(path))
            out.push_back({QFileInfo(path).completeBaseName(), lumo::bench::editorView(*text)});
    return out;
}

// The public routine named most often in the corpus modules, and where it lives.
void chooseRoutine(Project& p, const std::vector<CorpusModule>& corpus) {
    lumo::appState().workFolder = p.dir->path() + "/";
    auto& store = lumo::WorkingStore::instance();
    store.openWorkingDatabase();
    int best = -1;
    for (int m = 1; m <= int(std::min<size_t>(corpus.size(), size_t(p.modules))); ++m) {
        for (const lumo::RoutineRow& r : lumo::routinesOfModule(store, m)) {
            if (r.visibility == lumo::OpenPrivate || lumo::isProperty(r.type)) continue;
            const QRegularExpression word("\\b" + QRegularExpression::escape(r.name) + "\\b");
            int count = 0;
            for (const CorpusModule& c : corpus) count += int(c.code.count(word));
            if (count > best) {
                best = count;
                p.routine = r.name;
                p.routineModule = m;
            }
        }
    }
    store.closeWorkingDatabase();
}

bool buildProject(int count, const std::vector<CorpusModule>& corpus) {
    Project p;
    p.dir = std::make_unique<QTemporaryDir>();
    if (!p.dir->isValid()) return false;
    lumo::appState().workFolder = p.dir->path() + "/";
    p.scratch = std::make_unique<QTemporaryDir>();
    timespec t0{}, t1{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t0);
    lumo::ProjectBuild build(ui(), lumo::WorkingStore::instance(), lumo::appState().options);
    if (!build.begin()) return false;
    for (int i = 0; i < count; ++i) {
        const CorpusModule& c = corpus[size_t(i) % corpus.size()];
        build.addModule(c.name + QString::number(i + 1), c.name == QLatin1String("JsonConverter") ||
                                                                 c.name == QLatin1String("WebHelpers") ? 2 : 3,
                        c.code);
    }
    build.finish();
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t1);
    p.buildSeconds = double(t1.tv_sec - t0.tv_sec) + double(t1.tv_nsec - t0.tv_nsec) * 1e-9;
    p.modules = count;
    for (int i = 1; i <= count; ++i) {
        QFile f(lumo::WorkingStore::instance().moduleTextPath(i));
        if (f.open(QIODevice::ReadOnly)) p.lines += f.readAll().count('\n');
    }
    chooseRoutine(p, corpus);
    projects()[count] = std::move(p);
    return true;
}

const Project* project(benchmark::State& state, int count) {
    const auto it = projects().find(count);
    if (it == projects().end()) {
        state.SkipWithError("project not built (corpus missing?)");
        return nullptr;
    }
    return &it->second;
}

void BM_Cat(benchmark::State& state, int count) {
    const Project* p = project(state, count);
    if (!p) return;
    QStringList files;
    for (int i = 1; i <= p->modules; ++i) files << p->dir->filePath("M" + QString::number(i) + ".txt");
    timeProcess(state, "Cat/" + std::to_string(count), QStandardPaths::findExecutable("cat"), files);
    state.counters["lines"] = double(p->lines);
}

void BM_Structure(benchmark::State& state, int count) {
    if (const Project* p = project(state, count))
        timeProcess(state, "Structure/" + std::to_string(count), kCli, {"export", "--structure", p->dir->path()});
}

void BM_Callers(benchmark::State& state, int count) {
    const Project* p = project(state, count);
    if (!p) return;
    timeProcess(state, "Callers/" + std::to_string(count), kCli,
                {"callers", "--module", QString::number(p->routineModule), "--routine", p->routine, p->dir->path()});
    state.SetLabel(p->routine.toStdString());
}

void BM_Html(benchmark::State& state, int count) {
    if (const Project* p = project(state, count)) timeProcess(state, "Html/" + std::to_string(count), kCli, {"export", "--html", p->dir->path()});
}

void BM_Rtf(benchmark::State& state, int count) {
    if (const Project* p = project(state, count)) timeProcess(state, "Rtf/" + std::to_string(count), kCli, {"export", "--rtf", p->dir->path()});
}

void BM_Long(benchmark::State& state, int count) {
    if (const Project* p = project(state, count))
        timeProcess(state, "Long/" + std::to_string(count), kCli, {"export", "--structure", "--long", p->dir->path()});
}

void BM_Search(benchmark::State& state, int count) {
    if (const Project* p = project(state, count))
        timeProcess(state, "Search/" + std::to_string(count), kCli, {"search", "--module", "1", "--project", p->routine, p->dir->path()});
}

void BM_Grep(benchmark::State& state, int count) {
    const Project* p = project(state, count);
    if (!p) return;
    QStringList args{"-rn", p->routine};
    for (int i = 1; i <= p->modules; ++i) args << p->dir->filePath("M" + QString::number(i) + ".txt");
    timeProcess(state, "Grep/" + std::to_string(count), QStandardPaths::findExecutable("grep"), args);
}

void BM_References(benchmark::State& state, int count) {
    if (const Project* p = project(state, count))
        timeProcess(state, "References/" + std::to_string(count), kCli,
                    {"references", "--module", QString::number(p->routineModule), p->routine, p->dir->path()});
}

void BM_Definition(benchmark::State& state, int count) {
    if (const Project* p = project(state, count))
        timeProcess(state, "Definition/" + std::to_string(count), kCli,
                    {"definition", "--module", QString::number(p->routineModule), p->routine, p->dir->path()});
}

void BM_Site(benchmark::State& state, int count) {
    if (const Project* p = project(state, count))
        timeProcess(state, "Site/" + std::to_string(count), kCli, {"site", "--out", p->scratch->filePath("site"), p->dir->path()});
}

// Two versions of a project compared: here the project against itself, so
// that both sides are read whole (the floor: cat of both sides' texts).
void BM_Diff(benchmark::State& state, int count) {
    if (const Project* p = project(state, count))
        timeProcess(state, "Diff/" + std::to_string(count), kCli, {"diff", "--stat", p->dir->path(), p->dir->path()});
}

void BM_Copy(benchmark::State& state, int count) {
    if (const Project* p = project(state, count))
        timeProcess(state, "Copy/" + std::to_string(count), QStandardPaths::findExecutable("cp"),
                    {"-r", "--remove-destination", p->dir->path(), p->scratch->filePath("copy")});
}

void BM_Start(benchmark::State& state) { timeProcess(state, "Start", kCli, {"--help"}); }

void BM_Dump(benchmark::State& state, QString file) {
    timeProcess(state, "Dump/" + QFileInfo(file).fileName().toStdString(), kCli, {"dump", file});
}

void BM_JavaReader(benchmark::State& state, QString file) {
    const QString java = QStandardPaths::findExecutable("java");
    if (java.isEmpty() || !QFileInfo::exists(kJavaReaderJar)) {
        state.SkipWithError("Java reader not installed (libapache-poi-java and a Java runtime)");
        return;
    }
    timeProcess(state, "JavaReader/" + QFileInfo(file).fileName().toStdString(), java,
                {"-cp", kJavaReaderJar, "org.apache.poi.poifs.macros.VBAMacroExtractor", file});
}

// The Office files of the corpus with a VBA project.
QStringList officeFiles() {
    QStringList out;
    for (const QFileInfo& f : QDir(lumo::bench::corpusDir() + "/office").entryInfoList(QDir::Files, QDir::Name))
        if (runProcess(kCli, {"dump", f.absoluteFilePath()}).ok) out << f.absoluteFilePath();
    return out;
}

double at(const lumo::bench::Seconds& seconds, const std::string& key) {
    const auto it = seconds.find(key);
    return it == seconds.end() ? 0 : it->second;
}

QStringList& officeFileList() {
    static QStringList files;
    return files;
}

void printRatios(const lumo::bench::Seconds& seconds) {
    std::printf("\nCPU time against cat of the module texts (targets: structure <= 2x, callers <= 2.5x)\n");
    for (const auto& [n, p] : projects()) {
        const double cat = at(seconds, "Cat/" + std::to_string(n));
        if (cat <= 0) continue;
        std::printf("  %4d modules, %7lld lines: cat %8.2f ms", n, static_cast<long long>(p.lines), cat * 1e3);
        const double catLeast = least()["Cat/" + std::to_string(n)];
        for (const char* what : {"Structure", "Callers", "Html"}) {
            const std::string key = std::string(what) + "/" + std::to_string(n);
            const double t = at(seconds, key), tLeast = least()[key];
            if (t > 0) std::printf("  %s %.2fx", what, t / cat);
            if (tLeast > 0 && catLeast > 0) std::printf(" (least %.2fx)", tLeast / catLeast);
        }
        if (const double d = at(seconds, "Diff/" + std::to_string(n)); d > 0)
            std::printf("  Diff %.2fx of reading both sides (target <= 2)", d / (2 * cat));
        std::printf("\n");
    }
    if (const double start = at(seconds, "Start"); start > 0) {
        std::printf("  start of the headless entry alone (--help): %.2f ms", start * 1e3);
        if (const double cat = at(seconds, "Cat/100"); cat > 0) std::printf(" = %.2fx cat of 100 modules", start / cat);
        std::printf("\n");
    }
    std::printf("Growth for 10x input (cat's own growth is the floor)\n");
    for (const char* what : {"Cat", "Structure", "Callers", "Html"}) {
        const double a = at(seconds, std::string(what) + "/100"), b = at(seconds, std::string(what) + "/1000");
        if (a > 0 && b > 0) std::printf("  %-9s x%.1f\n", what, b / a);
    }
    std::printf("Growth from 1,000 to 3,000 modules, least CPU (target: within 3.6)\n");
    for (const char* what : {"Cat", "Grep", "Copy", "Structure", "Long", "Callers", "References", "Definition", "Html",
                             "Rtf", "Search", "Site"}) {
        const double a = least()[std::string(what) + "/1000"], b = least()[std::string(what) + "/3000"];
        if (a > 0 && b > 0) std::printf("  %-11s %8.1f ms -> %8.1f ms  x%.2f\n", what, a * 1e3, b * 1e3, b / a);
    }
    for (const auto& [n, p] : projects()) {
        const double copy = least()["Copy/" + std::to_string(n)];
        std::printf("  build of %4d modules through the project builder: %.0f ms CPU", n, p.buildSeconds * 1e3);
        if (copy > 0) std::printf(" = %.2fx copying its store (target <= 2)", p.buildSeconds / copy);
        std::printf("\n");
    }
    std::printf("Project search against grep -rn of the same texts, least CPU (target <= 2)\n");
    for (const auto& [n, p] : projects()) {
        const double s = least()["Search/" + std::to_string(n)], g = least()["Grep/" + std::to_string(n)];
        if (s > 0 && g > 0) std::printf("  %4d modules: %.2fx\n", n, s / g);
    }
    for (const auto& [name, peak] : peaks())
        if (name == "Html/1000" || name == "Rtf/1000" || name.ends_with("/3000"))
            std::printf("Memory peak of %s: %.1f MiB (targets: Html/1000 < 100, Rtf/1000 < 30)\n", name.c_str(), peak);
    std::printf("Reading Office files against the Java reader (target <= 0.05)\n");
    for (const QString& f : officeFileList()) {
        const std::string name = QFileInfo(f).fileName().toStdString();
        const double ours = at(seconds, "Dump/" + name), java = at(seconds, "JavaReader/" + name);
        const double oursLeast = least()["Dump/" + name], javaLeast = least()["JavaReader/" + name];
        if (ours > 0 && java > 0)
            std::printf("  %-20s dump %7.2f ms  Java reader %7.2f ms  ratio %.3f  (least: %.2f / %.2f ms = %.3f)\n",
                        name.c_str(), ours * 1e3, java * 1e3, ours / java, oursLeast * 1e3, javaLeast * 1e3,
                        javaLeast > 0 ? oursLeast / javaLeast : 0.0);
    }
}

int setUp() {
    const QStringList args = QCoreApplication::arguments();
    if (args.size() >= 3 && args[1] == QLatin1String("--child")) return measureChild(args.mid(2));
    lumo::appState().programFolder = QStringLiteral(LUMO_BIN_DIR "/");
    lumo::appState().options = lumo::Options{};
    // The processes must not read or write the settings of whoever runs this.
    static QTemporaryDir settings;
    qputenv("LUMO_SETTINGS_FILE", (settings.path() + "/settings.ini").toLocal8Bit());
    qputenv("LUMO_DATA_DIR", settings.path().toLocal8Bit());
    const std::vector<CorpusModule> corpus = corpusModules();
    if (corpus.empty()) std::fprintf(stderr, "vba-src corpus missing: the project benchmarks are skipped\n");
    else
        for (const int n : {100, 1000, 3000}) buildProject(n, corpus);
    for (const int n : {100, 1000, 3000}) {
        const std::string k = std::to_string(n);
        using Fn = void (*)(benchmark::State&, int);
        const std::pair<std::string, Fn> sides[] = {
            {"Cat/", BM_Cat},       {"Grep/", BM_Grep},         {"Copy/", BM_Copy},
            {"Structure/", BM_Structure}, {"Long/", BM_Long},   {"Callers/", BM_Callers},
            {"References/", BM_References}, {"Definition/", BM_Definition}, {"Html/", BM_Html},
            {"Rtf/", BM_Rtf},       {"Search/", BM_Search},     {"Site/", BM_Site},
            {"Diff/", BM_Diff}};
        for (const auto& [name, fn] : sides)
            benchmark::RegisterBenchmark((name + k).c_str(), fn, n)
                ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(n >= 1000 ? 3 : 5);
    }
    benchmark::RegisterBenchmark("Start", BM_Start)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
    officeFileList() = officeFiles();
    for (const QString& f : officeFileList()) {
        const std::string name = QFileInfo(f).fileName().toStdString();
        benchmark::RegisterBenchmark(("Dump/" + name).c_str(), BM_Dump, f)
            ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
        benchmark::RegisterBenchmark(("JavaReader/" + name).c_str(), BM_JavaReader, f)
            ->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
    }
    return -1;
}

lumo::bench::BenchRegistration program{{setUp, printRatios, [] { projects().clear(); }}};

}  // namespace
