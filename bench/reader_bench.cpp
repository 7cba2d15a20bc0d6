// How fast documents and module folders become module code: the largest
// Office file of the corpus and the VBA-Web folder read whole (listing and
// every module's lines), the decompression alone, and the listing of
// generated projects of growing module count (its cost must grow linearly).
// Rates are per CPU second: the machines these run on are shared, and wall
// time there says more about the neighbours than about the reader.
#include <benchmark/benchmark.h>

#include "../tests/support/VbaFixture.h"
#include "BenchSupport.h"
#include "acquire/DocumentHost.h"
#include "acquire/OfficeListing.h"
#include "acquire/OfficeReader.h"
#include "acquire/VbaDecompress.h"

namespace {

using lumo::bench::largestOfficeFile;
using lumo::bench::SilentUi;

const QString kCorpus = lumo::bench::corpusDir();

// Hands the listing an application it does not own, so that the listing
// and the reading of the lines share one connection (one read from disk).
class SharedApp : public lumo::HostApplication {
public:
    explicit SharedApp(lumo::HostApplication& app) : app_(app) {}
    QString version() const override { return app_.version(); }
    int projectCount() const override { return app_.projectCount(); }
    lumo::HostProject& project(int position) override { return app_.project(position); }

private:
    lumo::HostApplication& app_;
};

class OneReadConnector : public lumo::HostConnector {
public:
    explicit OneReadConnector(lumo::DocumentHost& host) : host_(host) {}
    std::unique_ptr<lumo::HostApplication> connect() override {
        app = host_.connect();
        return std::make_unique<SharedApp>(*app);
    }
    std::unique_ptr<lumo::HostApplication> app;

private:
    lumo::DocumentHost& host_;
};

// Per iteration: connect (reads the document from disk), list, then
// Lines(1, n) of every listed component.
void readWhole(benchmark::State& state, const QString& path) {
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        state.SkipWithError("corpus not found");
        return;
    }
    SilentUi ui;
    ui.takeDefaults = true;
    lumo::DocumentHost host(&ui);
    host.open(path);
    OneReadConnector connector(host);
    qint64 chars = 0;
    qint64 modules = 0;
    for (auto _ : state) {
        lumo::AppTree tree;
        int version = 0;
        lumo::listOfficeProjects(connector, tree, version, ui);
        for (const lumo::AppNode& node : tree) {
            if (node.parentKey.isEmpty()) continue;
            lumo::HostComponent& component =
                connector.app->project(lumo::projectPosition(node.key)).component(lumo::componentName(node.key));
            const QString code = component.lines(1, component.countOfLines());
            chars += code.size();
            ++modules;
            benchmark::DoNotOptimize(code.constData());
        }
    }
    state.SetBytesProcessed(chars);
    state.counters["modules"] = double(modules) / double(state.iterations());
    state.SetLabel(QFileInfo(path).fileName().toStdString());
}

void BM_ReadLargestOfficeFile(benchmark::State& state) { readWhole(state, largestOfficeFile()); }
BENCHMARK(BM_ReadLargestOfficeFile)->Unit(benchmark::kMillisecond);

void BM_ReadVbaWebFolder(benchmark::State& state) { readWhole(state, kCorpus + "/vba-src/VBA-Web"); }
BENCHMARK(BM_ReadVbaWebFolder)->Unit(benchmark::kMillisecond);

// Decompression alone, over every module of the corpus, recompressed here
// with real copy tokens would need a compressor; the corpus streams are
// taken as they are instead.
void BM_DecompressCorpusModules(benchmark::State& state) {
    std::vector<QByteArray> containers;
    for (const QString& file : QDir(kCorpus + "/office").entryList(QDir::Files)) {
        QFile f(kCorpus + "/office/" + file);
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QByteArray bytes = f.readAll();
        // Each source container starts with 01 xB 00 "Attribut" in the module streams.
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
        qsizetype at = 0;
        while (true) {
            const qsizetype found = lumo::findSourceContainer(p + at, std::size_t(bytes.size() - at));
            if (found < 0) break;
            // The container runs to the end of its stream; decompression stops there by itself.
            containers.push_back(bytes.mid(at + found, 256 * 1024));
            at += found + 1;
        }
    }
    if (containers.empty()) {
        state.SkipWithError("corpus not found");
        return;
    }
    qint64 bytesOut = 0;
    QByteArray out;
    for (auto _ : state) {
        for (const QByteArray& c : containers) {
            lumo::decompressVba(reinterpret_cast<const unsigned char*>(c.constData()), std::size_t(c.size()), out,
                                nullptr);
            bytesOut += out.size();
        }
    }
    state.SetBytesProcessed(bytesOut);
    state.counters["containers"] = double(containers.size());
}
BENCHMARK(BM_DecompressCorpusModules)->Unit(benchmark::kMillisecond);

// A generated vbaProject.bin of N modules of the same code: listing (which
// reads every module) must cost the same per module at any N.
void BM_ListGeneratedProject(benchmark::State& state) {
    const int n = int(state.range(0));
    QByteArray code = "Attribute VB_Name = \"M\"\r\n";
    for (int i = 0; i < 60; ++i) code += "Sub Routine" + QByteArray::number(i) + "()\r\n    x = x + 1\r\nEnd Sub\r\n";
    std::vector<lumo::test::FixtureSource> modules;
    for (int i = 0; i < n; ++i) {
        const QByteArray name = "Modul" + QByteArray::number(i);
        modules.push_back({lumo::test::FixtureModule{name, {}, name, 0, true}, code});
    }
    const QByteArray bin = lumo::test::vbaProjectBin(modules);
    qint64 listed = 0;
    for (auto _ : state) {
        const lumo::VbaProjectData p = lumo::readOfficeBytes(bin);
        listed += qint64(p.modules.size());
    }
    state.SetComplexityN(n);
    state.counters["modules"] = double(listed) / double(state.iterations());
}
BENCHMARK(BM_ListGeneratedProject)->RangeMultiplier(4)->Range(8, 2048)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

}  // namespace
