// Opening a large file in the viewer, as the user's Open does: through the
// document manager until the new window has painted, with the longest time
// the interface thread was busy meanwhile and when the spectrum was in; a
// cancel during the read; one complete repaint of that window at a client
// size of 800 x 500; a click on its legend; and marker B dragged with the
// Measurements panel shown.
//   kelvaro-bench-open FILE [benchmark options]
#include "app/CChildFrame.h"
#include "app/CDocManager.h"
#include "app/CDocTemplate.h"
#include "app/CKelvaroApp.h"
#include "app/CKelvaroDoc.h"
#include "app/CKelvaroView.h"
#include "app/CMainFrame.h"
#include "app/MeasurementsPanel.h"
#include "diagram/CDiagram.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include "BenchCommandLine.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

QString g_file;
CKelvaroApp* g_pApp = nullptr;

void CloseAll() {
    for (CChildFrame* frame : g_pApp->MainFrame()->ChildFrames())
        frame->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Runs the event loop while running() holds, as the window does while a file
// is read. A timer beats every millisecond; the longest gap between two beats
// is what a key pressed meanwhile could have waited. (A loop of
// processEvents calls would keep a core busy that the read needs.)
struct LoopWatch {
    double longestStallMs = 0.0;
};

bool ReadsRunning() {
    return g_pApp->DocManager().Template().OpensRunning() > 0;
}

void RunLoopWhile(LoopWatch& watch, const std::function<bool()>& running) {
    if (running()) {
        QEventLoop loop;
        QTimer beat;
        beat.setTimerType(Qt::PreciseTimer);
        beat.setInterval(1);
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        QObject::connect(&beat, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            watch.longestStallMs = std::max(watch.longestStallMs, (now - last) / 1e6);
            last = now;
            if (!running())
                loop.quit();
        });
        beat.start();
        loop.exec();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void RunLoopUntilReadsEnd(LoopWatch& watch) {
    RunLoopWhile(watch, ReadsRunning);
}

CKelvaroView* OpenAndPaint(LoopWatch& watch) {
    g_pApp->DocManager().OpenDocumentFile(g_file);
    RunLoopUntilReadsEnd(watch);
    CKelvaroView* view = g_pApp->MainFrame()->ActiveView();
    if (!view)
        return nullptr;
    view->repaint();
    return view;
}

CKelvaroView* OpenAndPaint() {
    LoopWatch watch;
    return OpenAndPaint(watch);
}

// Also counted, outside the time: until the spectrum the window computes
// after it shows is in, and the longest stall while it is computed.
void BM_OpenUntilPainted(benchmark::State& state) {
    LoopWatch watch;
    LoopWatch spectrumWatch;
    double spectrumMs = 0.0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        CKelvaroView* view = OpenAndPaint(watch);
        if (!view) {
            state.SkipWithError("the file did not open");
            return;
        }
        state.PauseTiming();
        RunLoopWhile(spectrumWatch, [view] { return view->Document().SpectrumRunning(); });
        spectrumMs = std::max(spectrumMs, clock.nsecsElapsed() / 1e6);
        CloseAll();
        state.ResumeTiming();
    }
    state.counters["longest_stall_ms"] = watch.longestStallMs;
    state.counters["spectrum_in_ms"] = spectrumMs;
    state.counters["stall_until_spectrum_ms"] = spectrumWatch.longestStallMs;
}
BENCHMARK(BM_OpenUntilPainted)->Unit(benchmark::kMillisecond)->Iterations(3);

// Escape a while into the read: the time until the read has stopped, its
// thread has ended and nothing of it is left.
void BM_CancelDuringOpen(benchmark::State& state) {
    const int afterMs = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        g_pApp->DocManager().OpenDocumentFile(g_file);
        QEventLoop wait;
        QTimer::singleShot(afterMs, &wait, &QEventLoop::quit);
        wait.exec();
        if (!ReadsRunning()) {
            state.SkipWithError("the read ended before the cancel");
            return;
        }
        state.ResumeTiming();
        g_pApp->DocManager().Template().CancelNewestOpen();
        LoopWatch watch;
        RunLoopUntilReadsEnd(watch);
        state.PauseTiming();
        if (!g_pApp->MainFrame()->ChildFrames().empty())
            state.SkipWithError("a cancelled open left a window");
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CancelDuringOpen)->Arg(300)->Unit(benchmark::kMillisecond)->Iterations(3);

// The file opened and painted in a window whose client area is 800 x 500.
CKelvaroView* OpenAt800x500() {
    CKelvaroView* view = OpenAndPaint();
    if (!view)
        return nullptr;
    QWidget* frame = view->parentWidget();
    while (frame && !qobject_cast<CChildFrame*>(frame))
        frame = frame->parentWidget();
    frame->resize(frame->size() - view->size() + QSize(800, 500));
    view->repaint();
    return view;
}

void BM_RepaintAt800x500(benchmark::State& state) {
    CKelvaroView* view = OpenAt800x500();
    if (!view) {
        state.SkipWithError("the file did not open");
        return;
    }
    for (auto _ : state)
        view->DirectRedraw(CKelvaroView::Redraw::Everything);
    CloseAll();
}
BENCHMARK(BM_RepaintAt800x500)->Unit(benchmark::kMillisecond);

// A click on the first curve's legend entry, which hides or shows the curve:
// from the mouse button to the window's new picture.
void BM_LegendClick(benchmark::State& state) {
    CKelvaroView* view = OpenAt800x500();
    if (!view) {
        state.SkipWithError("the file did not open");
        return;
    }
    const ColumnRecord& entry = view->Diagram().columns[1];
    const QPointF at(entry.legendX + 5, entry.legendY);
    const auto click = [&] {
        QMouseEvent press(QEvent::MouseButtonPress, at, view->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, view->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view, &press);
        QCoreApplication::sendEvent(view, &release);
    };
    click();
    if (entry.visible) {
        state.SkipWithError("the click did not reach the legend");
        CloseAll();
        return;
    }
    for (auto _ : state)
        click();
    CloseAll();
}
BENCHMARK(BM_LegendClick)->Unit(benchmark::kMillisecond);

// Marker B dragged across the plot with the middle button while marker A is
// set and the Measurements panel is shown: each mouse move, from the event to
// the window's new picture and the panel's new table painted, all on the
// interface thread.
void BM_DragMarkerBWithMeasurements(benchmark::State& state) {
    CKelvaroView* view = OpenAt800x500();
    if (!view) {
        state.SkipWithError("the file did not open");
        return;
    }
    CMainFrame& frame = *g_pApp->MainFrame();
    if (!frame.Measurements().isVisible())
        frame.RunCommand(ID_VIEW_MEASUREMENTS);
    const Rect plot = view->Diagram().plotRect;
    const auto send = [view](QEvent::Type type, QPoint at, Qt::MouseButton button,
                             Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, view->mapToGlobal(QPointF(at)), button, buttons,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(view, &event);
    };
    const int y = (plot.top + plot.bottom) / 2;
    const QPoint markerA(plot.left + plot.Width() / 4, y);
    send(QEvent::MouseButtonDblClick, markerA, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, markerA, Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, QPoint(plot.left + 1, y), Qt::MiddleButton, Qt::MiddleButton);
    QCoreApplication::processEvents();
    int x = plot.left + 1;
    int step = 3;
    for (auto _ : state) {
        if (x + step >= plot.right || x + step <= plot.left)
            step = -step;
        x += step;
        send(QEvent::MouseMove, QPoint(x, y), Qt::NoButton, Qt::MiddleButton);
        QCoreApplication::processEvents(); // the panel's table repaints
    }
    send(QEvent::MouseButtonRelease, QPoint(x, y), Qt::MiddleButton, Qt::NoButton);
    if (!view->Diagram().markerB || frame.Measurements().Model().rowCount() < 2)
        state.SkipWithError("marker B or the panel did not follow the drag");
    state.counters["rows_between"] =
        static_cast<double>(frame.Measurements().Model().Shown().curves.empty()
                                ? 0
                                : frame.Measurements().Model().Shown().curves[0].statistics.rows);
    frame.RunCommand(ID_VIEW_MEASUREMENTS);
    CloseAll();
}
BENCHMARK(BM_DragMarkerBWithMeasurements)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!BenchmarkDataFile(argc, argv))
        return 2;
    UseOffscreenPlatformUnlessSet();
    QTemporaryDir settings; // the benchmark never touches the user's recent files
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    // A main window of its own, whatever viewer runs on this display.
    char newWindow[] = "--new-window";
    char* appArgv[] = {argv[0], newWindow, nullptr};
    int appArgc = 2;
    CKelvaroApp app(appArgc, appArgv);
    if (!app.InitInstance())
        return 1;
    g_pApp = &app;
    // Paints reach a window only once the platform has exposed it.
    QWindow* window = app.MainFrame()->windowHandle();
    QDeadlineTimer deadline(5000);
    while (!window->isExposed() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!window->isExposed()) {
        std::fprintf(stderr, "kelvaro-bench-open: the main window was never shown\n");
        return 1;
    }
    g_file = QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1]));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
