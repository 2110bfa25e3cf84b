// The loaded table as a value: a read away from any window gives the table a
// window's own read gives; a cancelled read stops and leaves nothing; a zoom
// window's table made from the open table is the table a new read of the file
// with the zoom's range gives.
#include "analysis/SpectrumColumn.h"
#include "diagram/CDiagram.h"
#include "diagram/LoadProgress.h"
#include "diagram/TableZoom.h"
#include "diagram/ZoomRequest.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

namespace {

// Everything a read puts into the table, as texts.
std::vector<std::string> Dump(const CDiagram& d) {
    std::vector<std::string> dump{
        d.title,
        std::to_string(d.columnCount) + "|" + std::to_string(d.xIsNumber) +
            std::to_string(d.xIsDateTime) + "|" + std::to_string(d.timerPeriod) + "|" +
            std::to_string(d.intervals) + "|" + std::to_string(d.minorTicks) + "|" +
            std::to_string(d.fileXmin) + "|" + std::to_string(d.fileXdelta) + "|" +
            std::to_string(d.spectrumSize),
        d.filePath + "|" + d.fileName + "|" + d.fileTitle,
        std::to_string(d.lastRead.appendable) + "|" + std::to_string(d.lastRead.end) + "|" +
            std::to_string(d.lastRead.lines) + "|" + std::to_string(d.lastRead.fingerprint),
        d.xRange ? std::to_string(d.xRange->from) + ".." + std::to_string(d.xRange->to) : "-"};
    for (int c = 0; c < d.columnCount; ++c) {
        const ColumnRecord& record = d.columns[c];
        dump.push_back(std::string(ColumnName(record)) + "|" + std::to_string(record.color) + "|" +
                       std::to_string(record.visible));
        std::string cells;
        for (int r = 0; r < d.values[c].GetSize(); ++r)
            cells.append(d.values[c][r]).append("\x1f");
        dump.push_back(cells);
    }
    return dump;
}

std::string GeneratedFile(int rows) {
    std::string text = "Timer=500\nRig 7\nt;p;q\n";
    for (int r = 0; r < rows; ++r)
        text += std::to_string(r) + ";" + std::to_string(r * 7 % 101) + "." +
                std::to_string(r % 10) + ";" + std::to_string(1000 - r) + "\n";
    return text;
}

// A read of path as a worker does it: into a diagram of its own, from which
// a window's diagram takes the table whole and then its spectrum.
std::vector<std::string> ReadAsValue(const std::string& path, const LoadLimits& limits,
                                     std::vector<std::string>& warnings) {
    RecordingHost workerHost;
    LoadedTable table;
    {
        CDiagram loading(&workerHost);
        EXPECT_TRUE(loading.LoadFile(path, limits, CDiagram::LoadMode::OpenSpectrumLater));
        table = loading.ReleaseTable();
    }
    warnings = workerHost.warnings;
    RecordingHost windowHost;
    CDiagram window(&windowHost);
    window.TakeTable(std::move(table));
    if (const std::optional<SpectrumSource> source = window.SpectrumToCompute())
        window.TakeSpectrum(SpectrumColumnOf(source->numbers, source->rows));
    return Dump(window);
}

} // namespace

TEST(TableAsValue, ATableReadAwayFromTheWindowIsTheTableTheWindowReads) {
    TempDir dir;
    std::vector<std::filesystem::path> files;
    for (const char* name :
         {"pump_test.txt", "sinusoid.txt", "word_labels.txt", "logger_datetime.txt"})
        files.push_back(ExamplePath(name));
    files.push_back(dir.Write("generated.txt", GeneratedFile(40'000)));
    files.push_back(dir.Write("commands.txt", "Colour=red\nT\nx;a\n1;2\nX=number\n2;3\n3;4"));
    for (const bool twoThreads : {false, true}) {
        LoadLimits limits;
        limits.twoThreadsFrom = twoThreads ? 1 : LoadLimits{}.twoThreadsFrom;
        for (const auto& file : files) {
            SCOPED_TRACE(file.filename().string() + (twoThreads ? ", two threads" : ""));
            RecordingHost host;
            CDiagram direct(&host);
            ASSERT_TRUE(direct.LoadFile(file.string(), limits));
            std::vector<std::string> warnings;
            EXPECT_EQ(ReadAsValue(file.string(), limits, warnings), Dump(direct));
            EXPECT_EQ(warnings, host.warnings);
        }
    }
}

TEST(TableAsValue, ACancelledReadStopsAndCountsWhatItRead) {
    TempDir dir;
    const std::string path = dir.Write("big.txt", GeneratedFile(400'000)).string();
    const auto size = static_cast<long long>(std::filesystem::file_size(path));
    for (const bool twoThreads : {false, true}) {
        SCOPED_TRACE(twoThreads ? "two threads" : "one thread");
        LoadLimits limits;
        limits.twoThreadsFrom = twoThreads ? 1 : size + 1;
        {
            // Not cancelled: every byte is counted, some twice at most.
            LoadProgress progress;
            limits.progress = &progress;
            RecordingHost host;
            CDiagram d(&host);
            ASSERT_TRUE(d.LoadFile(path, limits));
            EXPECT_GE(progress.BytesRead(), size);
            EXPECT_LE(progress.BytesRead(), 2 * size);
        }
        {
            LoadProgress progress;
            progress.Cancel();
            limits.progress = &progress;
            RecordingHost host;
            CDiagram d(&host);
            EXPECT_THROW(d.LoadFile(path, limits), LoadCancelled);
            EXPECT_LT(progress.BytesRead(), size);
            EXPECT_TRUE(d.cells.IsEmpty());
        }
        {
            // Cancelled from another thread while it reads: it stops.
            LoadProgress progress;
            limits.progress = &progress;
            RecordingHost host;
            CDiagram d(&host);
            std::thread canceller([&] {
                while (progress.BytesRead() == 0)
                    std::this_thread::yield();
                progress.Cancel();
            });
            bool cancelled = false;
            try {
                d.LoadFile(path, limits);
            } catch (const LoadCancelled&) {
                cancelled = true;
            }
            canceller.join();
            EXPECT_TRUE(cancelled || progress.BytesRead() >= size);
        }
    }
}

// The spectrum that ends a read stops too: the transform between its passes,
// the texts between blocks.
TEST(TableAsValue, ACancelledReadStopsInItsSpectrum) {
    const std::vector<double> numbers(1 << 18, 1.5);
    LoadProgress progress;
    EXPECT_EQ(SpectrumColumnOf(numbers, 1 << 18, &progress).GetSize(), 1 << 18);
    progress.Cancel();
    EXPECT_THROW(SpectrumColumnOf(numbers, 1 << 18, &progress), LoadCancelled);
    EXPECT_EQ(SpectrumColumnOf(numbers, 1 << 18).GetSize(), 1 << 18);
}

namespace {

class ZoomFromMemory : public testing::Test {
protected:
    // A first read of content, as a window that opens the file makes it.
    void Open(const std::string& content) {
        path = dir.Write("data.txt", content).string();
        open = std::make_unique<CDiagram>(&host);
        ASSERT_TRUE(open->LoadFile(path));
    }
    // The zoom window's table from the open one, and from a new read.
    std::vector<std::string> FromMemory(const CDiagram& source, XRange range) {
        EXPECT_TRUE(ZoomableFromMemory(source, range));
        RecordingHost zoomHost;
        CDiagram zoom(&zoomHost);
        zoom.TakeTable(
            ZoomTableOf(source, source.values[0].Numbers(), range, zoom.palette, nullptr));
        zoom.ComputeSpectrum();
        return Dump(zoom);
    }
    std::vector<std::string> FromFile(XRange range) {
        RecordingHost zoomHost;
        CDiagram zoom(&zoomHost);
        const ZoomOpenScope request(range.from, range.to, 0.0, 0.0);
        EXPECT_TRUE(zoom.LoadFile(path));
        return Dump(zoom);
    }

    TempDir dir;
    std::string path;
    RecordingHost host;
    std::unique_ptr<CDiagram> open;
};

} // namespace

TEST_F(ZoomFromMemory, GivesTheTableOfANewReadForNumbersLabelsAndDates) {
    struct Case {
        const char* name;
        std::string content;
        std::vector<XRange> ranges;
    };
    const std::vector<Case> cases{
        {"numbers",
         "X=number\nIntervals=7\nT\nx;a;b\n1;10;x\n2;20;y\n2;21;z\n3.5;30;w\n-4;40;v\n5;50;u\n",
         {{2, 3.5}, {2.5, 3}, {-4, 5}, {6, 9}, {1, 1}, {2.000001, 3.4999}}},
        {"labels", ReadFile(ExamplePath("word_labels.txt")), {{0, 0}, {-1, 1}, {1, 2}}},
        {"dates",
         ReadFile(ExamplePath("logger_datetime.txt")),
         {{38108.0, 38108.5}, {38108.0416, 38110.25}, {38000, 39000}}},
        {"generated", GeneratedFile(20'000), {{100, 199}, {5000.5, 15000.5}, {-1, 30000}}},
    };
    for (const Case& test : cases) {
        Open(test.content);
        for (const XRange& range : test.ranges) {
            SCOPED_TRACE(std::string(test.name) + " " + std::to_string(range.from) + ".." +
                         std::to_string(range.to));
            EXPECT_EQ(FromMemory(*open, range), FromFile(range));
        }
    }
}

TEST_F(ZoomFromMemory, AZoomOfAZoomWindowTakesItsRowsOnlyInsideItsRange) {
    Open(GeneratedFile(1000));
    RecordingHost zoomHost;
    CDiagram zoom(&zoomHost);
    zoom.TakeTable(
        ZoomTableOf(*open, open->values[0].Numbers(), {100, 500}, zoom.palette, nullptr));
    zoom.ComputeSpectrum();
    EXPECT_EQ(FromMemory(zoom, {200, 300}), FromFile({200, 300}));
    EXPECT_FALSE(ZoomableFromMemory(zoom, {50, 300}));
    EXPECT_FALSE(ZoomableFromMemory(zoom, {200, 600}));
}

TEST_F(ZoomFromMemory, AChangedOrUnfinishedFileIsReadAgain) {
    Open(GeneratedFile(100));
    const XRange range{10, 20};
    EXPECT_TRUE(ZoomableFromMemory(*open, range));
    std::ofstream(path, std::ios::app) << "100;1;2\n";
    EXPECT_FALSE(ZoomableFromMemory(*open, range)); // grown
    Open(ReadFile(path));
    EXPECT_TRUE(ZoomableFromMemory(*open, range));
    // Rewritten in place to the same size, and touched.
    std::string content = ReadFile(path);
    content[content.size() - 3] = '7';
    WriteFile(path, content);
    EXPECT_FALSE(ZoomableFromMemory(*open, range));
    // A last row without its line feed is not known to be complete.
    Open(GeneratedFile(10) + "10;1;2");
    EXPECT_FALSE(ZoomableFromMemory(*open, range));
    // Command values a read of another version left behind.
    Open(GeneratedFile(100));
    open->intervals = 7;
    ASSERT_TRUE(open->LoadFile(path));
    EXPECT_FALSE(ZoomableFromMemory(*open, range));
}
