#pragma once
// The one main of the benchmark programs (BenchMain.cpp). It makes the Qt
// application (with widgets and offscreen for the *_gui_ programs unless
// told otherwise), runs the program's set-up, the benchmarks, its report on
// their times, and its tear-down before the application goes. A program
// without any of these registers nothing.
#include <functional>
#include <map>
#include <string>

namespace lumo::bench {

// The fastest time per iteration of every benchmark run, in seconds, by its
// name: on a shared machine the slower repetitions measure the neighbours.
using Seconds = std::map<std::string, double>;

struct BenchProgram {
    // Reads the inputs and registers the benchmarks; an exit status to stop
    // with, or -1 to run them.
    std::function<int()> setUp;
    // The ratio tables after the run; the console output is then the plain one.
    std::function<void(const Seconds&)> report;
    std::function<void()> tearDown;
};

struct BenchRegistration {
    explicit BenchRegistration(BenchProgram program);
};

}  // namespace lumo::bench
