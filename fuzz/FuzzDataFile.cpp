// A libFuzzer target: its input is loaded as a data file, and what loads is
// painted, hit-tested, zoomed into and turned into both derived files, with
// what must always hold checked at each step.
#include "diagram/CDiagram.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/ZoomRequest.h"
#include "render/RecordingContext.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Derived files beyond this many points take too long per input; their
// count is cut to the remainder (refusals above the limit still run).
constexpr int kQuickIntervals = 5000;
constexpr int kLargestIntervals = 10'000'000;

class QuietHost : public IDiagramHost {
public:
    Rect ClientRect() const override { return client; }
    void ShowWarning(const std::string&) override { ++warnings; }
    void ShowInformation(const std::string&) override { ++informations; }
    void BeginWaitCursor() override { ++waitDepth; }
    void EndWaitCursor() override { --waitDepth; }

    Rect client{0, 0, 800, 500};
    int warnings = 0;
    int informations = 0;
    int waitDepth = 0;
};

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

// A directory for the data file and one, the current directory, for the
// derived files; both live as long as the process. In memory where there is
// such a file system: syncing each derived file to a disk would set the pace.
struct Workspace {
    Workspace() {
        std::string pattern = std::string(fs::is_directory("/dev/shm") ? "/dev/shm" : "/tmp") +
                              "/kelvaro-fuzz-XXXXXX";
        Check(mkdtemp(pattern.data()) != nullptr, "a temporary directory can be made");
        root = pattern;
        fs::create_directory(root / "data");
        fs::create_directory(root / "out");
        fs::current_path(root / "out");
        dataFile = (root / "data" / "input.txt").string();
    }
    ~Workspace() {
        std::error_code error;
        fs::current_path("/", error);
        fs::remove_all(root, error);
    }
    fs::path root;
    std::string dataFile;
};

std::vector<std::string> OutputNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator("."))
        names.push_back(entry.path().filename().string());
    return names;
}

// Runs an operation that may end in the invalid-argument error, as every
// command of the shell may.
template <class Operation> bool Guarded(Operation operation) {
    try {
        operation();
        return true;
    } catch (const InvalidArgumentError&) {
        return false;
    }
}

std::string Trace(CDiagram& diagram, QuietHost& host, Rect client) {
    host.client = client;
    CRecordingContext recording(DiagramFontNames(diagram));
    Guarded([&] { diagram.Paint(recording); });
    return recording.Trace();
}

// Paints at several sizes, each twice: the same table and settings must
// give the same picture.
void PaintTwiceAtSizes(CDiagram& diagram, QuietHost& host) {
    for (const Rect client :
         {Rect{0, 0, 800, 500}, Rect{0, 0, 1, 1}, Rect{0, 0, 131, 77}, Rect{0, 0, 3000, 160}}) {
        const std::string first = Trace(diagram, host, client);
        Check(Trace(diagram, host, client) == first, "a second paint draws the same");
    }
    host.client = Rect{0, 0, 800, 500};
    Trace(diagram, host, host.client);
}

void HitTests(CDiagram& diagram) {
    const Rect plot = diagram.plotRect;
    const int xs[] = {0, plot.left, (plot.left + plot.right) / 2, plot.right - 1, 799};
    const int ys[] = {0, plot.top, (plot.top + plot.bottom) / 2, plot.bottom - 1, 499};
    for (int x : xs) {
        Guarded([&] { diagram.CurveValuesAtPixel(x); });
        for (int y : ys) {
            Guarded([&] {
                double xValue = 0.0, yValue = 0.0;
                if (diagram.ValueAtPixel(x, y, &xValue, &yValue))
                    diagram.PixelAtValue(xValue, yValue);
            });
            Guarded([&] { diagram.CurveAtPixel(x, y); });
            Guarded([&] { diagram.HitTestLegend(x, y); });
        }
    }
}

// Opens the middle half of the plot as a zoom window would.
void ZoomLoad(CDiagram& diagram, const std::string& path) {
    const Rect plot = diagram.plotRect;
    double from = 0.0, to = 0.0, y = 0.0;
    const int quarter = (plot.right - plot.left) / 4;
    if (!Guarded([&] {
            diagram.ValueAtPixel(plot.left + quarter, plot.top, &from, &y);
            diagram.ValueAtPixel(plot.right - quarter, plot.top, &to, &y);
        }) ||
        !std::isfinite(from) || !std::isfinite(to))
        return;
    QuietHost host;
    CDiagram zoomed(&host);
    ZoomOpenScope zoom(from, to, 0.0, 0.0);
    bool loaded = false;
    Guarded([&] { loaded = zoomed.LoadFile(path); });
    if (!loaded)
        return;
    Check(zoomed.values[0].GetSize() <= diagram.values[0].GetSize(),
          "a zoom window keeps at most the rows of the whole file");
    Trace(zoomed, host, host.client);
}

// Makes one derived file: exactly one output when it reports success, none
// when it fails, and never a temporary file left.
void MakeDerivedFile(CDiagram& diagram, QuietHost& host, void (CDiagram::*make)(),
                     const std::string& expectedName) {
    const int informations = host.informations;
    Guarded([&] { (diagram.*make)(); });
    Check(host.waitDepth == 0, "the wait cursor is restored");
    const std::vector<std::string> names = OutputNames();
    if (host.informations > informations)
        Check(names == std::vector<std::string>{expectedName},
              "exactly the derived file is written");
    else
        Check(names.empty(), "a failed derived file leaves nothing behind");
    for (const auto& name : names)
        fs::remove(name);
}

void DerivedFiles(CDiagram& diagram, QuietHost& host) {
    if (diagram.intervals > kQuickIntervals && diagram.intervals <= kLargestIntervals)
        diagram.intervals %= kQuickIntervals;
    MakeDerivedFile(diagram, host, &CDiagram::MakeInterpolationFile,
                    diagram.fileTitle + "_Spline_" + std::to_string(diagram.intervals) + ".txt");
    MakeDerivedFile(diagram, host, &CDiagram::MakeCorrelationFile,
                    diagram.fileTitle + "_Correlation.txt");
}

} // namespace

// What a read of the file gives: its outcome (or the message of its error),
// the number of messages and every cell.
std::vector<std::string> ReadTable(const std::string& path, long long twoThreadsFrom) {
    QuietHost host;
    CDiagram diagram(&host);
    std::vector<std::string> table;
    try {
        table.push_back(diagram.LoadFile(path, LoadLimits{.twoThreadsFrom = twoThreadsFrom})
                            ? "loaded"
                            : "refused");
    } catch (const std::exception& error) {
        table.push_back(error.what());
    }
    table.push_back(std::to_string(host.warnings) + " messages");
    for (const StringArray& column : diagram.values) {
        table.push_back("column");
        for (int r = 0; r < column.GetSize(); ++r)
            table.emplace_back(column[r]);
    }
    return table;
}

// The second thread of a large read, here forced onto every file, must leave
// the table one thread leaves.
void SameTableWithTwoThreads(const std::string& path) {
    Check(ReadTable(path, 0) == ReadTable(path, std::numeric_limits<long long>::max()),
          "two threads read the table one thread reads");
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Workspace workspace;
    {
        std::ofstream file(workspace.dataFile, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    SameTableWithTwoThreads(workspace.dataFile);
    QuietHost host;
    CDiagram diagram(&host);
    bool loaded = false;
    Guarded([&] { loaded = diagram.LoadFile(workspace.dataFile); });
    if (!loaded)
        return 0;
    Check(diagram.columnCount >= 3, "a loaded table has X, a data column and the spectrum");

    // The spectrum of the last data column too, shown.
    diagram.spectrumColumn = diagram.columnCount - 3;
    Guarded([&] { diagram.ComputeSpectrum(); });
    diagram.showSpectrum = true;
    PaintTwiceAtSizes(diagram, host);
    HitTests(diagram);
    ZoomLoad(diagram, workspace.dataFile);
    DerivedFiles(diagram, host);
    return 0;
}
