// The statistics of one curve over half the rows of a loaded table, and what
// the summaries they come from cost: one query between two X values (and one
// over a run of rows given directly) repeated with ends that move a little
// each time, reported as the median and the longest query; the summaries'
// bytes per cell of X and the data columns; the time to prepare the numbers
// and summaries of a fresh load, and to build the summaries alone.
//   kelvaro-bench-statistics FILE [benchmark options]
#include "analysis/RangeStatistics.h"
#include "diagram/CDiagram.h"

#include "BenchCommandLine.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// Queries per run, and how far each end of a query moves at most: a
// hundredth of the table.
constexpr int kQueries = 2000;
constexpr double kJitter = 0.01;

std::string g_file;
std::unique_ptr<CDiagram> g_diagram;

std::unique_ptr<CDiagram> Load() {
    auto diagram = std::make_unique<CDiagram>(nullptr);
    if (!diagram->LoadFile(g_file))
        return nullptr;
    return diagram;
}

// X and the data columns: those PrepareNumbers makes summaries of.
int PreparedColumns(const CDiagram& diagram) {
    return std::max(diagram.values.GetSize() - 1, 0);
}

// kQueries pairs from a quarter to three quarters of [from, to], each end
// moved by up to kJitter of its length, the same pairs in every run.
std::vector<std::pair<double, double>> MiddleHalves(double from, double to) {
    std::mt19937 random(7);
    const double length = to - from;
    std::uniform_real_distribution<double> jitter(-kJitter * length, kJitter * length);
    std::vector<std::pair<double, double>> halves;
    for (int q = 0; q < kQueries; ++q)
        halves.emplace_back(from + 0.25 * length + jitter(random),
                            from + 0.75 * length + jitter(random));
    return halves;
}

// Runs query(from, to) once per iteration, through the pairs in turn, and
// reports the median and the longest single query.
template <class Query>
void TimeQueries(benchmark::State& state, const std::vector<std::pair<double, double>>& ends,
                 Query query) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> micros;
    micros.reserve(ends.size());
    std::size_t next = 0;
    for (auto _ : state) {
        const auto [from, to] = ends[next];
        next = (next + 1) % ends.size();
        const Clock::time_point start = Clock::now();
        const CurveStatistics statistics = query(from, to);
        const Clock::time_point end = Clock::now();
        benchmark::DoNotOptimize(statistics);
        if (statistics.rows == 0) {
            state.SkipWithError("a query took no rows");
            return;
        }
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["max_us"] = micros.back();
}

// The first data column between two X values, as a caller with the table's
// X would ask for it.
void BM_StatisticsBetween(benchmark::State& state) {
    const CDiagram& d = *g_diagram;
    const StringArray& x = d.values[0];
    const bool byValue = d.xIsNumber || d.xIsDateTime;
    const double first = byValue ? x.Range().min : 0.0;
    const double last = byValue ? x.Range().max : x.GetSize() - 1.0;
    const StringArray* const curve[] = {&d.values[1]};
    TimeQueries(state, MiddleHalves(first, last), [&](double from, double to) {
        return StatisticsBetween(x, byValue, curve, from, to).front();
    });
}
BENCHMARK(BM_StatisticsBetween)->Unit(benchmark::kMicrosecond)->Iterations(kQueries);

// The same column over a run of rows given by its ends.
void BM_StatisticsOfRun(benchmark::State& state) {
    const StringArray& column = g_diagram->values[1];
    TimeQueries(state, MiddleHalves(0.0, column.GetSize()), [&](double from, double to) {
        return StatisticsOfRun(column, static_cast<std::size_t>(from),
                               static_cast<std::size_t>(to));
    });
}
BENCHMARK(BM_StatisticsOfRun)->Unit(benchmark::kMicrosecond)->Iterations(kQueries);

// What a load adds after the read for the statistics and the first paint:
// the numbers, ranges and summaries of a freshly loaded table, on two
// threads. Also the summaries' bytes per cell of the columns they cover.
void BM_PrepareNumbers(benchmark::State& state) {
    double summaryBytes = 0;
    double cells = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<CDiagram> diagram = Load();
        if (!diagram) {
            state.SkipWithError("the file did not load");
            return;
        }
        state.ResumeTiming();
        diagram->PrepareNumbers();
        state.PauseTiming();
        summaryBytes = 0;
        cells = 0;
        for (int c = 0; c < PreparedColumns(*diagram); ++c) {
            summaryBytes += static_cast<double>(diagram->values[c].Summary().Bytes());
            cells += diagram->values[c].GetSize();
        }
        diagram.reset();
        state.ResumeTiming();
    }
    state.counters["summary_bytes_per_cell"] = summaryBytes / cells;
}
BENCHMARK(BM_PrepareNumbers)->Unit(benchmark::kMillisecond)->Iterations(3);

// The summaries alone (bounds and sums) of X and every data column, built
// afresh from the numbers on one thread.
void BM_BuildSummaries(benchmark::State& state) {
    const CDiagram& d = *g_diagram;
    double cells = 0;
    for (auto _ : state) {
        cells = 0;
        for (int c = 0; c < PreparedColumns(d); ++c) {
            NumberSummary summary;
            summary.Extend(d.values[c].Numbers());
            benchmark::DoNotOptimize(summary);
            cells += d.values[c].GetSize();
        }
    }
    state.counters["cells"] =
        benchmark::Counter(cells, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_BuildSummaries)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const char* file = BenchmarkDataFile(argc, argv);
    if (!file)
        return 2;
    g_file = file;
    g_diagram = Load();
    if (!g_diagram) {
        std::fprintf(stderr, "cannot load %s\n", g_file.c_str());
        return 1;
    }
    // As a window prepares its table before anything asks for statistics.
    g_diagram->PrepareNumbers();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_diagram.reset();
    return 0;
}
