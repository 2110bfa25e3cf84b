// The two derived files and the spectrum of a large data file: the time from
// a loaded diagram to the result. "Cold" loads the file afresh before every run (outside
// the timing), so the cells are still texts; "Warm" reuses one loaded diagram
// whose numbers were read by an earlier run, as after the viewer has painted.
// The files are written into the current directory.
//   KELVARO_BENCH_FILE=rows-1000000.txt kelvaro-bench-analysis
#include "diagram/CDiagram.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

using MakeFile = void (*)(CDiagram&);

void Interpolation(CDiagram& diagram) {
    diagram.MakeInterpolationFile();
}
void Correlation(CDiagram& diagram) {
    diagram.MakeCorrelationFile();
}
void Spectrum(CDiagram& diagram) {
    diagram.ComputeSpectrum();
}

std::unique_ptr<CDiagram> Load(benchmark::State& state) {
    const char* path = std::getenv("KELVARO_BENCH_FILE");
    auto diagram = std::make_unique<CDiagram>(nullptr);
    if (!path || !diagram->LoadFile(path)) {
        state.SkipWithError("KELVARO_BENCH_FILE must name a data file that loads");
        return nullptr;
    }
    return diagram;
}

void Cold(benchmark::State& state, MakeFile make) {
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<CDiagram> diagram = Load(state);
        if (!diagram)
            return;
        state.ResumeTiming();
        make(*diagram);
        state.PauseTiming();
        diagram.reset();
        state.ResumeTiming();
    }
}

void Warm(benchmark::State& state, MakeFile make) {
    std::unique_ptr<CDiagram> diagram = Load(state);
    if (!diagram)
        return;
    make(*diagram);
    for (auto _ : state)
        make(*diagram);
}

} // namespace

BENCHMARK_CAPTURE(Cold, Interpolation, Interpolation)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(Cold, Correlation, Correlation)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(Warm, Interpolation, Interpolation)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Warm, Correlation, Correlation)->Unit(benchmark::kMillisecond);
// The spectrum that every load ends with, alone.
BENCHMARK_CAPTURE(Warm, Spectrum, Spectrum)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
