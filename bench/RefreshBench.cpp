// The refresh of a live window whose file grew by 10,000 rows: parsing the
// appended rows and the spectrum (both on the worker), the swap of what they
// made into the window's table (on the interface thread), and the repaint at
// 800 x 500, reported apart (milliseconds per refresh). The argument is the rows loaded before the
// append, taken from the start of FILE, so the parse can be compared for a
// small and a large table. spectrum_ms is what the refresh spends on the
// spectrum; full_spectrum_ms what computing it anew from the table costs.
//   kelvaro-bench-refresh FILE [benchmark options]
#include "diagram/CDiagram.h"
#include "diagram/TableRefresh.h"
#include "qtdraw/QtDrawContext.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "BenchCommandLine.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr int kAppendedRows = 10000;

std::string g_file;

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// The first rows data rows of FILE as a file of their own, and rows that a
// logger would append to it, in batches of kAppendedRows.
struct LiveFile {
    std::filesystem::path path;
    std::string start;
    std::vector<std::string> batches;
};

LiveFile MakeLiveFile(long rows) {
    LiveFile live;
    live.path = std::filesystem::temp_directory_path() /
                ("kelvaro-refresh-bench-" + std::to_string(rows) + ".txt");
    std::ifstream in(g_file, std::ios::binary);
    std::string line;
    long tableLines = 0;
    while (tableLines < rows + 2 && std::getline(in, line)) {
        live.start.append(line).push_back('\n');
        tableLines += line.find('=') == std::string::npos ? 1 : 0;
    }
    long x = rows;
    for (int b = 0; b < 8; ++b) {
        std::string batch;
        char row[128];
        for (int i = 0; i < kAppendedRows; ++i, ++x) {
            const double t = x * 0.001;
            std::snprintf(row, sizeof row, "%ld;%.4f;%.3f;%.3f;%.2f\n", x, 10.0 + 5.0 * std::sin(t),
                          100.0 + 20.0 * std::cos(t / 3), 20.0, 50.0 * std::sin(t / 7));
            batch += row;
        }
        live.batches.push_back(batch);
    }
    return live;
}

void PaintImage(CDiagram& diagram, QImage& image) {
    image.fill(Qt::white);
    QPainter painter(&image);
    CQtDrawContext dc(painter);
    diagram.Paint(dc);
}

void BM_RefreshAfterAppend(benchmark::State& state) {
    const LiveFile live = MakeLiveFile(state.range(0));
    QImage image(800, 500, QImage::Format_RGB32);
    double parse = 0, spectrum = 0, swap = 0, repaint = 0, fullSpectrum = 0;
    std::unique_ptr<CDiagram> diagram;
    std::size_t batch = live.batches.size();
    for (auto _ : state) {
        state.PauseTiming();
        if (batch == live.batches.size()) { // start again from the first rows
            std::ofstream(live.path, std::ios::binary | std::ios::trunc) << live.start;
            diagram = std::make_unique<CDiagram>(nullptr);
            if (!diagram->LoadFile(live.path.string())) {
                state.SkipWithError("the file does not load");
                return;
            }
            diagram->fitToWindow = false;
            diagram->frameRect = InflateRect(Rect{0, 0, 800, 500}, -10, -10);
            PaintImage(*diagram, image);
            batch = 0;
        }
        std::ofstream(live.path, std::ios::binary | std::ios::app) << live.batches[batch++];
        state.ResumeTiming();

        const int spectrumBefore = diagram->spectrumSize;
        // What the interface thread does (take the source, apply the read)
        // apart from what the worker does (read, parse, spectrum).
        auto start = std::chrono::steady_clock::now();
        const RefreshSource source = RefreshSourceOf(*diagram);
        swap += MsSince(start);
        start = std::chrono::steady_clock::now();
        RefreshRead read = ReadRefresh(source);
        const double worker = MsSince(start);
        start = std::chrono::steady_clock::now();
        if (ApplyRefresh(*diagram, std::move(read)).kind != RefreshOutcome::Kind::Appended) {
            state.SkipWithError("the refresh did not append");
            break;
        }
        swap += MsSince(start);
        // The refresh computes the spectrum anew only when its size changes.
        (diagram->spectrumSize == spectrumBefore ? parse : spectrum) += worker;
        start = std::chrono::steady_clock::now();
        PaintImage(*diagram, image);
        repaint += MsSince(start);

        state.PauseTiming();
        start = std::chrono::steady_clock::now();
        diagram->ComputeSpectrum();
        fullSpectrum += MsSince(start);
        state.ResumeTiming();
    }
    const auto average = benchmark::Counter::kAvgIterations;
    state.counters["parse_ms"] = benchmark::Counter(parse, average);
    state.counters["spectrum_ms"] = benchmark::Counter(spectrum, average);
    state.counters["swap_ms"] = benchmark::Counter(swap, average);
    state.counters["repaint_ms"] = benchmark::Counter(repaint, average);
    state.counters["full_spectrum_ms"] = benchmark::Counter(fullSpectrum, average);
    std::filesystem::remove(live.path);
}
BENCHMARK(BM_RefreshAfterAppend)
    ->Arg(100000)
    ->Arg(1000000)
    ->Arg(10000000)
    ->Iterations(8)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const char* file = BenchmarkDataFile(argc, argv);
    if (!file)
        return 2;
    g_file = file;
    UseOffscreenPlatformUnlessSet();
    QGuiApplication application(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
