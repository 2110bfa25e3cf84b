// Opening a large file in the viewer, as the user's Open does: through the
// document manager until the new window has painted; and one complete repaint
// of that window at a client size of 800 x 500.
//   kelvaro-bench-open FILE [benchmark options]
#include "app/CChildFrame.h"
#include "app/CDocManager.h"
#include "app/CKelvaroApp.h"
#include "app/CKelvaroView.h"
#include "app/CMainFrame.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>
#include <QWindow>

#include "BenchCommandLine.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

QString g_file;
CKelvaroApp* g_pApp = nullptr;

void CloseAll() {
    for (CChildFrame* frame : g_pApp->MainFrame()->ChildFrames())
        frame->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

CKelvaroView* OpenAndPaint() {
    if (!g_pApp->DocManager().OpenDocumentFile(g_file))
        return nullptr;
    CKelvaroView* view = g_pApp->MainFrame()->ActiveView();
    view->repaint();
    return view;
}

void BM_OpenUntilPainted(benchmark::State& state) {
    for (auto _ : state) {
        if (!OpenAndPaint()) {
            state.SkipWithError("the file did not open");
            return;
        }
        state.PauseTiming();
        CloseAll();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenUntilPainted)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RepaintAt800x500(benchmark::State& state) {
    CKelvaroView* view = OpenAndPaint();
    if (!view) {
        state.SkipWithError("the file did not open");
        return;
    }
    QWidget* frame = view->parentWidget();
    while (frame && !qobject_cast<CChildFrame*>(frame))
        frame = frame->parentWidget();
    frame->resize(frame->size() - view->size() + QSize(800, 500));
    for (auto _ : state)
        view->DirectRedraw(CKelvaroView::Redraw::Everything);
    CloseAll();
}
BENCHMARK(BM_RepaintAt800x500)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!BenchmarkDataFile(argc, argv))
        return 2;
    UseOffscreenPlatformUnlessSet();
    QTemporaryDir settings; // the benchmark never touches the user's recent files
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(settings.path()));
    int appArgc = 1;
    CKelvaroApp app(appArgc, argv);
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
