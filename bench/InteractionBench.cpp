// The cost of working with a loaded diagram in an 800 x 500 view: one marker
// step (the readout of every curve's value and the repaint through the kept
// picture) and one curve readout under the mouse.
//   kelvaro-bench-interaction FILE [benchmark options]
#include "app/DiagramPicture.h"
#include "app/ViewInput.h"
#include "diagram/CDiagram.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "BenchCommandLine.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

const QSize kViewSize(800, 500);

class BenchHost : public IDiagramHost {
public:
    Rect ClientRect() const override { return Rect{0, 0, kViewSize.width(), kViewSize.height()}; }
    void ShowWarning(const std::string& text) override {
        std::fprintf(stderr, "warning: %s\n", text.c_str());
    }
    void ShowInformation(const std::string&) override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
};

// Redraws into an image through the kept picture, as the view's paint does.
class BenchShell : public IViewShell {
public:
    explicit BenchShell(CDiagram& diagram) : diagram(diagram) {}
    void DirectRedraw(Redraw what) override {
        if (what == Redraw::Everything)
            picture.Invalidate();
        QPainter painter(&image);
        picture.Draw(painter, diagram, kViewSize, Qt::white);
    }
    void ShowStatus(const std::string&) override {}
    void OpenZoomWindow(const std::string&) override {}

    CDiagram& diagram;
    CDiagramPicture picture;
    QImage image{kViewSize, QImage::Format_RGB32};
};

std::string g_file;
BenchHost g_host;
std::unique_ptr<CDiagram> g_diagram;
std::unique_ptr<BenchShell> g_shell;
std::unique_ptr<QWidget> g_view;
std::unique_ptr<CViewInput> g_input;

void BM_MarkerStep(benchmark::State& state) {
    const Rect plot = g_diagram->plotRect;
    g_diagram->markerX = g_diagram->values[0].NumberAt(0);
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    for (auto _ : state) {
        g_input->KeyPress(right);
        // Start again at the left once the marker reaches the right edge.
        if (g_diagram->PixelAtValue(g_diagram->markerX, 0.0).x + 2 > plot.right)
            g_diagram->markerX = g_diagram->values[0].NumberAt(0);
    }
}
BENCHMARK(BM_MarkerStep)->Unit(benchmark::kMillisecond);

void BM_CurveReadout(benchmark::State& state) {
    const Rect plot = g_diagram->plotRect;
    int x = plot.left;
    for (auto _ : state) {
        g_diagram->showXYByMouse = true;
        QMouseEvent move(QEvent::MouseMove, QPointF(x, (plot.top + plot.bottom) / 2), QPointF(),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        g_input->MouseMove(move);
        x = x >= plot.right ? plot.left : x + 7;
    }
}
BENCHMARK(BM_CurveReadout)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    const char* file = BenchmarkDataFile(argc, argv);
    if (!file)
        return 2;
    g_file = file;
    UseOffscreenPlatformUnlessSet();
    QApplication application(argc, argv);
    g_diagram = std::make_unique<CDiagram>(&g_host);
    if (!g_diagram->LoadFile(g_file)) {
        std::fprintf(stderr, "cannot load %s\n", g_file.c_str());
        return 1;
    }
    g_view = std::make_unique<QWidget>();
    g_view->resize(kViewSize);
    g_shell = std::make_unique<BenchShell>(*g_diagram);
    g_input = std::make_unique<CViewInput>(*g_view, *g_diagram, *g_shell);
    // The window's first paint lays out the plot and keeps the picture.
    g_shell->DirectRedraw(IViewShell::Redraw::Everything);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_input.reset();
    g_view.reset();
    return 0;
}
