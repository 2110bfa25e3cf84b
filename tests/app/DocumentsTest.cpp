// Opening documents: the already-open check, refused files, the recent-file
// list across a restart, untitled documents.
#include "AppTestSupport.h"
#include "TestSupport.h"

#include "app/CChildFrame.h"
#include "app/CDocManager.h"
#include "app/CKelvaroDoc.h"
#include "app/CKelvaroView.h"
#include "app/CMainFrame.h"
#include "app/RecentFileList.h"
#include "diagram/CDiagram.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

class Documents : public testing::Test {
protected:
    void SetUp() override { ResetMainWindow(); }
    void TearDown() override { ResetMainWindow(); }

    static CKelvaroDoc* Open(const std::filesystem::path& path) {
        return App().DocManager().OpenDocumentFile(QString::fromStdString(path.string()));
    }
    static QStringList WindowTitles() {
        QStringList titles;
        for (CChildFrame* frame : MainFrame().ChildFrames())
            titles.append(frame->windowTitle());
        return titles;
    }
};

TEST(StartUp, LeavesAnEmptyMainWindowWhateverTheCommandLineNames) {
    EXPECT_EQ(ChildWindowsAfterStartUp(), 0);
    EXPECT_TRUE(MainFrame().isVisible());
}

TEST_F(Documents, OpeningAnExampleMakesOneTitledWindowWithItsColumns) {
    CKelvaroDoc* doc = Open(ExamplePath("pump_test.txt"));
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(WindowTitles(), QStringList{"pump_test.txt"});
    EXPECT_EQ(MainFrame().windowTitle(), "Kelvaro - pump_test.txt");
    ASSERT_NE(MainFrame().ActiveView(), nullptr);
    const CDiagram& diagram = MainFrame().ActiveView()->Diagram();
    EXPECT_EQ(doc->m_pDiagram, &diagram);
    ASSERT_EQ(diagram.columnCount, 5); // Time, three curves, the spectrum column
    EXPECT_EQ(std::string(diagram.columns[1].name), "Pressure");
    EXPECT_EQ(App().RecentFiles().Entries().value(0),
              QFileInfo(QString::fromStdString(ExamplePath("pump_test.txt").string()))
                  .absoluteFilePath());
}

TEST_F(Documents, OpeningAnOpenFileAgainActivatesItsWindow) {
    TempDir dir;
    const auto file = dir.Write("data.txt", "Title\nX;Y\n1;2\n2;3\n");
    std::filesystem::create_symlink(file, dir.Path() / "link.txt");
    CKelvaroDoc* first = Open(file);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(Open(ExamplePath("sinusoid.txt")), nullptr);

    EXPECT_EQ(Open(dir.Path() / "." / "data.txt"), first);
    EXPECT_EQ(Open(dir.Path() / "link.txt"), first);
    EXPECT_EQ(MainFrame().ChildFrames().size(), 2u);
    EXPECT_EQ(&MainFrame().ActiveView()->Document(), first);
}

TEST_F(Documents, RefusedAndMissingFilesLeaveNoWindowAndNoRecentEntry) {
    TempDir dir;
    struct Case {
        const char* name;
        std::filesystem::path path;
        const char* message; // the start of the box's text
    };
    const Case cases[] = {
        {"one column", dir.Write("one.txt", "Title\nOnlyX\n1\n"), "Error: File has an incorrect"},
        {"no header line", dir.Write("title.txt", "Title only\n"), "Invalid argument."},
        {"short row", dir.Write("short.txt", "T\nX;A;B;C\n1;2\n"), "Invalid argument."},
        {"missing", dir.Path() / "missing.txt", "Cannot open the file"},
        {"folder", dir.Path(), "Cannot open the file"},
    };
    ASSERT_NE(Open(ExamplePath("word_labels.txt")), nullptr);
    const QStringList recentBefore = App().RecentFiles().Entries();
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ModalBoxCloser boxes;
        MainFrame().OpenFile(QString::fromStdString(test.path.string()));
        ASSERT_TRUE(boxes.WaitFor());
        EXPECT_TRUE(boxes.Texts().first().startsWith(test.message))
            << boxes.Texts().first().toStdString();
        EXPECT_EQ(WindowTitles(), QStringList{"word_labels.txt"});
        EXPECT_EQ(App().RecentFiles().Entries(), recentBefore);
    }
}

// Nothing writes into the FIFO: an open that waited for a writer would hang
// until the guard below writes into it after a few seconds.
TEST_F(Documents, AFifoAndASocketAreRefusedAtOnceWithoutAWriter) {
    TempDir dir;
    const NonRegularFiles files(dir.Path());
    const std::string& fifo = files.fifo;
    const std::string& socketPath = files.socket;
    std::atomic<bool> done{false};
    std::thread guard([&] {
        for (int i = 0; i < 100 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!done)
            std::ofstream(fifo) << "T\nt;a\n1;2\n";
    });

    const QStringList recentBefore = App().RecentFiles().Entries();
    QElapsedTimer clock;
    clock.start();
    ModalBoxCloser boxes;
    MainFrame().OpenFile(QString::fromStdString(fifo));
    MainFrame().OpenFile(QString::fromStdString(socketPath));
    const qint64 elapsed = clock.elapsed();
    done = true;
    guard.join();
    ASSERT_TRUE(boxes.WaitFor(2));
    EXPECT_LT(elapsed, 2000);
    EXPECT_EQ(boxes.Texts(),
              (QStringList{"Cannot open the file \"" + QString::fromStdString(fifo) +
                               "\": it is not a regular file (a FIFO).",
                           "Cannot open the file \"" + QString::fromStdString(socketPath) +
                               "\": it is not a regular file (a socket)."}));
    EXPECT_TRUE(MainFrame().ChildFrames().empty());
    EXPECT_EQ(App().RecentFiles().Entries(), recentBefore);
}

TEST_F(Documents, RecentFilesKeepFifteenNewestFirstAcrossARestart) {
    TempDir dir;
    std::vector<QString> paths;
    for (int i = 1; i <= 16; ++i) {
        const auto file = dir.Write("f" + std::to_string(i) + ".txt", "T\nX;Y\n1;2\n");
        ASSERT_NE(Open(file), nullptr);
        paths.push_back(QString::fromStdString(file.string()));
        ResetMainWindow();
    }
    ASSERT_NE(Open(paths[3].toStdString()), nullptr); // again: moves to the top, no duplicate

    App().ExitInstance();
    ASSERT_TRUE(App().InitInstance());
    const QStringList& entries = App().RecentFiles().Entries();
    ASSERT_EQ(entries.size(), 15);
    EXPECT_EQ(entries.first(), paths[3]);
    EXPECT_EQ(entries[1], paths[15]);
    EXPECT_EQ(entries.last(), paths[1]); // f1 dropped
    EXPECT_FALSE(entries.contains(paths[0]));
    EXPECT_EQ(entries.count(paths[3]), 1);
}

TEST_F(Documents, NewMakesNumberedEmptyDocuments) {
    App().ExitInstance(); // a fresh run counts from 1
    ASSERT_TRUE(App().InitInstance());
    MainFrame().RunCommand(ID_FILE_NEW);
    ASSERT_NE(Open(ExamplePath("pump_test.txt")), nullptr);
    MainFrame().RunCommand(ID_FILE_NEW);
    EXPECT_EQ(WindowTitles(), (QStringList{"Kelvaro1", "pump_test.txt", "Kelvaro2"}));
    EXPECT_EQ(MainFrame().windowTitle(), "Kelvaro - Kelvaro2");
    const CDiagram& diagram = MainFrame().ActiveView()->Diagram();
    EXPECT_EQ(diagram.columnCount, 0);
    EXPECT_FALSE(diagram.showSpectrum);
    EXPECT_TRUE(diagram.showXYByMouse);
}

} // namespace

TEST_F(Documents, NewWindowsCascadeBelowTheOnesOpen) {
    ASSERT_NE(Open(ExamplePath("pump_test.txt")), nullptr);
    ASSERT_NE(Open(ExamplePath("sinusoid.txt")), nullptr);
    const std::vector<CChildFrame*> frames = MainFrame().ChildFrames();
    ASSERT_EQ(frames.size(), 2u);
    const QPoint first = frames[0]->pos();
    const QPoint second = frames[1]->pos();
    EXPECT_GT(second.y(), first.y());
    EXPECT_EQ(second.x() - first.x(), second.y() - first.y());
}
