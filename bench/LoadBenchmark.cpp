// Loading a generated data file (spectrum included), in-process, and the
// memory its cells take: bytes per cell and per byte of the file.
//   kelvaro-bench-load FILE
#include "diagram/CDiagram.h"

#include "BenchCommandLine.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

std::string g_file;

void BM_LoadFile(benchmark::State& state) {
    std::size_t bytes = 0;
    double cells = 0;
    for (auto _ : state) {
        CDiagram diagram(nullptr);
        if (!diagram.LoadFile(g_file))
            state.SkipWithError("the file did not load");
        benchmark::DoNotOptimize(diagram.values[0].GetSize());
        bytes = 0;
        cells = 0;
        for (const StringArray& column : diagram.values) {
            bytes += column.Bytes();
            cells += column.GetSize();
        }
    }
    state.counters["bytes_per_cell"] = static_cast<double>(bytes) / cells;
    state.counters["bytes_per_file_byte"] =
        static_cast<double>(bytes) / static_cast<double>(std::filesystem::file_size(g_file));
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
