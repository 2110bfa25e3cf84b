// A libFuzzer target: its input is loaded as a data file, and what loads is
// painted, hit-tested, zoomed into and turned into both derived files, with
// what must always hold checked at each step. The input cut somewhere and
// then grown to its whole is refreshed as a window's timer would.
#include "diagram/CDiagram.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/TableRefresh.h"
#include "diagram/ZoomRequest.h"
#include "render/NullDrawContext.h"
#include "render/RecordingContext.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
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
// give the same picture. A context that keeps no operation is drawn the
// curves by pixel column as well.
void PaintTwiceAtSizes(CDiagram& diagram, QuietHost& host) {
    for (const Rect client :
         {Rect{0, 0, 800, 500}, Rect{0, 0, 1, 1}, Rect{0, 0, 131, 77}, Rect{0, 0, 3000, 160}}) {
        const std::string first = Trace(diagram, host, client);
        Check(Trace(diagram, host, client) == first, "a second paint draws the same");
        CNullDrawContext nowhere;
        Guarded([&] { diagram.Paint(nowhere); });
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

namespace {

void WriteBytes(const std::string& path, const std::uint8_t* data, std::size_t size,
                std::ios::openmode mode) {
    std::ofstream file(path, std::ios::binary | mode);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// The loaded table: what a refresh replaces.
std::string TableOf(const CDiagram& d) {
    std::ostringstream out;
    out << d.columnCount << '|' << d.title << '|' << d.xIsNumber << d.xIsDateTime << '|'
        << d.timerPeriod << '|' << d.intervals << '|' << d.fileXmin << '|' << d.fileXdelta << '|'
        << d.minorTicks << '|' << d.spectrumSize << '|' << d.spectrumColumn << '\n';
    for (int c = 0; c < d.columnCount; ++c) {
        const ColumnRecord& column = d.columns[c];
        out << ColumnName(column) << '|' << int(column.visible) << '|' << column.color << '|'
            << column.markSize << ':';
        for (int r = 0; r < d.values[c].GetSize(); ++r)
            out << d.values[c][r] << '\x1f';
        out << '\n';
    }
    return out.str();
}

// Every member of a diagram, settings, layout and working members included.
std::string AllFieldsOf(const CDiagram& d) {
    std::ostringstream out;
    out.precision(17);
    const auto rect = [&](const Rect& r) {
        out << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << '|';
    };
    const auto font = [&](const FontSpec& f) {
        out << f.face << ',' << f.height << ',' << f.weight << '|';
    };
    const auto pen = [&](const PenSpec& p) { out << p.width << ',' << p.color << '|'; };
    out << TableOf(d) << d.filePath << '|' << d.fileTitle << '|' << d.fileName << '|';
    out << d.xRange.has_value() << (d.xRange ? d.xRange->from : 0) << (d.xRange ? d.xRange->to : 0);
    const ReadPosition& read = d.lastRead;
    out << '|' << read.stamp.device << ',' << read.stamp.inode << ',' << read.stamp.size << ','
        << read.stamp.modifiedNs << ',' << read.stamp.regular << ',' << read.appendable << ','
        << read.end << ',' << read.lines << ',' << read.fingerprint << '|';
    out << d.yAutoscale << d.xMin << ',' << d.xDelta << ',' << d.yMin << ',' << d.yDelta << ','
        << d.xShowNet << d.yShowNet << d.showMarks << d.showLegend << ',' << d.lineWidth << ','
        << d.showSpectrum << d.showXYByMouse << ',' << d.markerX << '|';
    out << d.fitToWindow << d.drawFrame << ',' << d.frameMargin << ',' << d.plotInset << ','
        << d.legendMargin << ',' << d.xGridStepPx << ',' << d.yGridStepPx << '|';
    rect(d.frameRect);
    rect(d.plotRect);
    out << d.titleColor << ',' << d.labelColor << '|';
    font(d.titleFont);
    font(d.labelFont);
    font(d.axisNameFont);
    pen(d.gridPen);
    pen(d.markerPen);
    for (const COLORREF color : d.palette)
        out << color << ',';
    out << '|' << d.view << ',' << d.dc << ',' << d.scratch << ',' << d.cells.GetSize() << ','
        << d.dateScratch.day << ',' << static_cast<int>(d.dateScratch.status);
    return out.str();
}

// The input cut where its bytes say, loaded, grown by the rest and
// refreshed: the table a whole read of the grown file gives, or, when that
// read fails, a diagram left as it was in every field.
void RefreshAfterGrowth(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::uint64_t hash = 0xCBF29CE484222325ULL;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 0x100000001B3ULL;
    const std::size_t cut = size == 0 ? 0 : static_cast<std::size_t>(hash % (size + 1));
    WriteBytes(path, data, cut, std::ios::trunc);
    QuietHost host;
    CDiagram diagram(&host);
    bool loaded = false;
    Guarded([&] { loaded = diagram.LoadFile(path); });
    if (!loaded)
        return;
    Trace(diagram, host, host.client); // a window has painted it
    WriteBytes(path, data + cut, size - cut, std::ios::app);

    // A read keeps what the commands read before it said: the whole read
    // starts from the values the window had.
    QuietHost wholeHost;
    CDiagram whole(&wholeHost);
    whole.timerPeriod = diagram.timerPeriod;
    whole.intervals = diagram.intervals;
    whole.fileXmin = diagram.fileXmin;
    whole.fileXdelta = diagram.fileXdelta;
    whole.minorTicks = diagram.minorTicks;

    const std::string before = AllFieldsOf(diagram);
    const RefreshOutcome outcome = RefreshTable(diagram);
    bool wholeLoaded = false;
    try {
        wholeLoaded = whole.LoadFile(path, {}, CDiagram::LoadMode::Refresh);
        if (wholeLoaded)
            whole.ComputeSpectrum();
    } catch (const std::exception&) {
        wholeLoaded = false;
    }
    if (outcome.kind == RefreshOutcome::Kind::Failed) {
        Check(AllFieldsOf(diagram) == before, "a failed refresh leaves every field as it was");
        Check(!wholeLoaded, "a refresh fails only where a whole read fails");
    } else {
        Check(wholeLoaded, "a refresh succeeds only where a whole read does");
        Check(TableOf(diagram) == TableOf(whole), "a refresh gives the table of a whole read");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Workspace workspace;
    RefreshAfterGrowth(workspace.dataFile, data, size);
    WriteBytes(workspace.dataFile, data, size, std::ios::trunc);
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
