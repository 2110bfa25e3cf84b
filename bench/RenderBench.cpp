// The cost of one redraw of a loaded diagram in an 800 x 500 window: Paint
// into an image through the QPainter context (also at the pixel ratios of
// scaled screens, with marks and with a wide pen), the same paint with drawing discarded (the
// diagram's own arithmetic), and the first paint after a load.
//   kelvaro-bench-render FILE [benchmark options]
#include "diagram/CDiagram.h"
#include "qtdraw/QtDrawContext.h"
#include "render/NullDrawContext.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "BenchCommandLine.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>

namespace {

std::string g_file;
std::unique_ptr<CDiagram> g_diagram;

std::unique_ptr<CDiagram> LoadWindow() {
    auto diagram = std::make_unique<CDiagram>(nullptr);
    if (!diagram->LoadFile(g_file))
        return nullptr;
    // The frame of an 800 x 500 client area.
    diagram->fitToWindow = false;
    diagram->frameRect = InflateRect(Rect{0, 0, 800, 500}, -10, -10);
    return diagram;
}

void PaintImage(CDiagram& diagram, QImage& image, double ratio = 1.0) {
    image.fill(Qt::white);
    QPainter painter(&image);
    CQtDrawContext dc(painter, ratio);
    diagram.Paint(dc);
}

void BM_PaintIntoImage(benchmark::State& state) {
    QImage image(800, 500, QImage::Format_RGB32);
    for (auto _ : state)
        PaintImage(*g_diagram, image);
}
BENCHMARK(BM_PaintIntoImage)->Unit(benchmark::kMillisecond);

// The same window on a screen scaled by the argument in percent: the
// picture of its device pixels (1600 x 1000 at 200).
void BM_PaintIntoImageAtRatio(benchmark::State& state) {
    const double ratio = state.range(0) / 100.0;
    QImage image(static_cast<int>(800 * ratio), static_cast<int>(500 * ratio),
                 QImage::Format_RGB32);
    for (auto _ : state)
        PaintImage(*g_diagram, image, ratio);
}
BENCHMARK(BM_PaintIntoImageAtRatio)->Arg(200)->Arg(150)->Unit(benchmark::kMillisecond);

// The paths that still draw every segment: marks on every point, and a pen
// two pixels wide.
void BM_PaintIntoImageWithMarks(benchmark::State& state) {
    QImage image(800, 500, QImage::Format_RGB32);
    g_diagram->showMarks = true;
    for (auto _ : state)
        PaintImage(*g_diagram, image);
    g_diagram->showMarks = false;
}
BENCHMARK(BM_PaintIntoImageWithMarks)->Unit(benchmark::kMillisecond);

void BM_PaintIntoImageWidePen(benchmark::State& state) {
    QImage image(800, 500, QImage::Format_RGB32);
    g_diagram->lineWidth = 2;
    for (auto _ : state)
        PaintImage(*g_diagram, image);
    g_diagram->lineWidth = 1;
}
BENCHMARK(BM_PaintIntoImageWidePen)->Unit(benchmark::kMillisecond);

void BM_PaintDiscarded(benchmark::State& state) {
    CNullDrawContext dc;
    for (auto _ : state)
        g_diagram->Paint(dc);
}
BENCHMARK(BM_PaintDiscarded)->Unit(benchmark::kMillisecond);

void BM_FirstPaintAfterLoad(benchmark::State& state) {
    QImage image(800, 500, QImage::Format_RGB32);
    for (auto _ : state) {
        state.PauseTiming();
        auto diagram = LoadWindow();
        state.ResumeTiming();
        PaintImage(*diagram, image);
    }
}
BENCHMARK(BM_FirstPaintAfterLoad)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    const char* file = BenchmarkDataFile(argc, argv);
    if (!file)
        return 2;
    g_file = file;
    UseOffscreenPlatformUnlessSet();
    QGuiApplication application(argc, argv);
    g_diagram = LoadWindow();
    if (!g_diagram) {
        std::fprintf(stderr, "cannot load %s\n", g_file.c_str());
        return 1;
    }
    // The first paint reads every cell it needs as a number; the redraws
    // measured below find them read.
    CNullDrawContext warmUp;
    g_diagram->Paint(warmUp);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_diagram.reset();
    return 0;
}
