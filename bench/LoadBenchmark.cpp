// Loading a generated data file (spectrum included), in-process.
//   kelvaro-bench-load FILE
#include "diagram/CDiagram.h"

#include "BenchCommandLine.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

std::string g_file;

void BM_LoadFile(benchmark::State& state) {
    for (auto _ : state) {
        CDiagram diagram(nullptr);
        if (!diagram.LoadFile(g_file))
            state.SkipWithError("the file did not load");
        benchmark::DoNotOptimize(diagram.values[0].GetSize());
    }
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    const char* file = BenchmarkDataFile(argc, argv);
    if (!file)
        return 2;
    g_file = file;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
