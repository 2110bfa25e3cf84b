// Live windows: a file with a "Timer" period is refreshed at each tick of its
// view's timer (the tests call the tick themselves), keeping the window's
// state, and a file that cannot be read again leaves the last picture.
#include "AppTestSupport.h"
#include "TestSupport.h"

#include "app/CChildFrame.h"
#include "app/CDocManager.h"
#include "app/CKelvaroDoc.h"
#include "app/CKelvaroView.h"
#include "app/CMainFrame.h"
#include "app/StatusPanes.h"
#include "diagram/CDiagram.h"
#include "diagram/ZoomRequest.h"

#include <QImage>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

// Rows 0 .. count - 1 of X and one data column.
std::string Rows(int count) {
    std::string rows;
    for (int r = 0; r < count; ++r)
        rows += std::to_string(r) + ";" + std::to_string(r % 101) + "\n";
    return rows;
}

// X and the first data column, cell by cell.
std::vector<std::string> Cells(const CDiagram& diagram) {
    std::vector<std::string> cells;
    for (int r = 0; r < diagram.values[1].GetSize(); ++r) {
        cells.emplace_back(diagram.values[0][r]);
        cells.emplace_back(diagram.values[1][r]);
    }
    return cells;
}

class LiveWindow : public testing::Test {
protected:
    void SetUp() override { ResetMainWindow(); }
    void TearDown() override { ResetMainWindow(); }

    CKelvaroView* Open(const std::string& content, const std::string& name = "live.txt") {
        path = dir.Write(name, content);
        if (!OpenAndWait(QString::fromStdString(path.string())))
            return nullptr;
        return MainFrame().ActiveView();
    }
    void Append(const std::string& bytes) const {
        std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
    }
    // One tick of the window's refresh timer, and the read it starts.
    static void Tick(CKelvaroView& view) {
        view.Document().OnRefreshTimer();
        ASSERT_TRUE(WaitForReads());
    }
    static QImage Picture(CKelvaroView& view) {
        return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    TempDir dir;
    std::filesystem::path path;
};

TEST_F(LiveWindow, TheTimerRunsOnlyForAPositivePeriodAndAtLeast100Ms) {
    const struct {
        const char* timer;
        int periodMs;
    } cases[] = {
        {"Timer=250\n", 250}, {"Timer=5\n", 100}, {"Timer=0\n", 0}, {"Timer=-3\n", 0}, {"", 0}};
    int file = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.timer);
        CKelvaroView* view =
            Open(std::string(c.timer) + "T\nx;a\n1;2\n", std::to_string(++file) + ".txt");
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->Document().RefreshPeriodMs(), c.periodMs);
    }
}

TEST_F(LiveWindow, AGrowingFileRefreshesTheWindowAndKeepsItsState) {
    CKelvaroView* view = Open("Timer=200\nT\nx;a;b\n1;2;3\n2;3;1\n3;1;2\n");
    ASSERT_NE(view, nullptr);
    CDiagram& diagram = view->Diagram();
    diagram.columns[2].visible = 0;
    diagram.markerX = 2.0;
    diagram.lineWidth = 2;
    diagram.showSpectrum = true;
    diagram.showXYByMouse = false;
    view->DirectRedraw();
    const QImage before = Picture(*view);

    Tick(*view); // the file did not change
    EXPECT_EQ(diagram.values[0].GetSize(), 3);
    Append("4;9;9\n5;0;0\n6;5");
    Tick(*view);
    EXPECT_EQ(diagram.values[0].GetSize(), 5); // the row being written waits
    EXPECT_NE(Picture(*view), before);
    EXPECT_EQ(diagram.columns[2].visible, 0);
    EXPECT_EQ(diagram.markerX, 2.0);
    EXPECT_EQ(diagram.lineWidth, 2);
    EXPECT_TRUE(diagram.showSpectrum);
    EXPECT_FALSE(diagram.showXYByMouse);
    Append(";5\n");
    Tick(*view);
    ASSERT_EQ(diagram.values[0].GetSize(), 6);
    EXPECT_EQ(diagram.values[2][5], "5");
}

TEST_F(LiveWindow, AZoomWindowRefreshesOnlyItsRange) {
    CKelvaroView* view = Open("Timer=200\nX=number\nT\nx;a\n1;1\n2;2\n3;3\n4;4\n");
    ASSERT_NE(view, nullptr);
    {
        ZoomOpenScope zoom(2.0, 5.0, 0.0, 0.0);
        view->OpenZoomWindow(view->Diagram().filePath);
    }
    ASSERT_TRUE(WaitForReads());
    CKelvaroView* zoomed = MainFrame().ActiveView();
    ASSERT_NE(zoomed, view);
    Append("5;5\n6;6\n");
    Tick(*zoomed);
    Tick(*view);
    ASSERT_EQ(zoomed->Diagram().values[0].GetSize(), 4);
    EXPECT_EQ(zoomed->Diagram().values[0][0], "2");
    EXPECT_EQ(zoomed->Diagram().values[0][3], "5");
    EXPECT_EQ(view->Diagram().values[0].GetSize(), 6);
}

// A zoom window made from the source's table while the source refreshes the
// same file: the zoom keeps the table it was given (the rows appended lie
// past its range), the source takes the new rows, each as a whole read of
// the file gives them.
TEST_F(LiveWindow, ARefreshAndAZoomOfTheSameFileAtOnce) {
    CKelvaroView* view = Open("Timer=200\nX=number\nT\nx;a\n" + Rows(200'000));
    ASSERT_NE(view, nullptr);
    {
        const ZoomOpenScope zoom(1000.0, 150'000.0, 0.0, 0.0);
        view->OpenZoomWindow(view->Diagram().filePath, CurrentZoomRequest());
    }
    Append("200000;7\n200001;8\n");
    view->Document().OnRefreshTimer();
    EXPECT_TRUE(view->Document().RefreshRunning());
    ASSERT_TRUE(WaitForReads());
    CKelvaroView* zoomed = MainFrame().ActiveView();
    ASSERT_NE(zoomed, view);
    const auto wholeRead = [&](std::optional<XRange> range) {
        CDiagram read(nullptr);
        std::optional<ZoomOpenScope> scope;
        if (range)
            scope.emplace(range->from, range->to, 0.0, 0.0);
        EXPECT_TRUE(read.LoadFile(path.string()));
        return Cells(read);
    };
    EXPECT_EQ(view->Diagram().values[0].GetSize(), 200'002);
    EXPECT_TRUE(Cells(view->Diagram()) == wholeRead(std::nullopt));
    EXPECT_EQ(zoomed->Diagram().values[0].GetSize(), 149'001);
    EXPECT_TRUE(Cells(zoomed->Diagram()) == wholeRead(XRange{1000.0, 150'000.0}));
}

// The jobs of a window closed while they run end without reaching it.
TEST_F(LiveWindow, AWindowClosedWhileItsRefreshReadsGivesItNothing) {
    const std::string rows = Rows(100'000);
    CKelvaroView* view = Open("Timer=200\nT\nx;a\n" + rows);
    ASSERT_NE(view, nullptr);
    WriteFile(path, "Timer=200\nT2\nx;a\n" + rows); // rewritten: read whole again
    view->Document().OnRefreshTimer();
    ASSERT_TRUE(view->Document().RefreshRunning());
    MainFrame().ChildFrames().front()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(WaitForReads());
    QCoreApplication::processEvents();
    EXPECT_TRUE(MainFrame().ChildFrames().empty());
    EXPECT_EQ(MainFrame().PaneText(), CStatusPanes::kIdleText);
}

TEST_F(LiveWindow, AVanishedFileKeepsThePictureAndSaysSoOnce) {
    CKelvaroView* view = Open("Timer=200\nT\nx;a\n1;2\n2;3\n");
    ASSERT_NE(view, nullptr);
    const QImage before = Picture(*view);
    const std::string content = ReadFile(path);
    std::filesystem::remove(path);
    Tick(*view);
    EXPECT_EQ(Picture(*view), before);
    EXPECT_EQ(MainFrame().PaneText(),
              "live.txt could not be read again: No such file or directory");
    MainFrame().SetPaneText("X = 1");
    Tick(*view);
    EXPECT_EQ(MainFrame().PaneText(), "X = 1");

    // Back, but refused: still the old picture, and a new reason once.
    WriteFile(path, "T\nx\n");
    Tick(*view);
    EXPECT_EQ(Picture(*view), before);
    EXPECT_TRUE(MainFrame().PaneText().startsWith("live.txt could not be read again: "));

    WriteFile(path, content + "3;1\n");
    Tick(*view);
    EXPECT_EQ(MainFrame().PaneText(), CStatusPanes::kIdleText);
    EXPECT_EQ(view->Diagram().values[0].GetSize(), 3);
}

TEST_F(LiveWindow, AnUnknownCommandIsShownOncePerWindow) {
    ModalBoxCloser closer;
    CKelvaroView* view = Open("Timer=200\nColour=red\nT\nx;a\n1;2\n");
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(closer.WaitFor(1));
    WriteFile(path, "Timer=200\nColour=red\nT\nx;a\n1;2\n2;3\n");
    Tick(*view);
    WriteFile(path, "Timer=200\nColour=red\nT\nx;a\n1;2\n2;3\n3;4\n");
    Tick(*view);
    EXPECT_EQ(view->Diagram().values[0].GetSize(), 3);
    EXPECT_EQ(closer.Texts().size(), 1);
}

} // namespace
