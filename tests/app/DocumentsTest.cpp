// Opening documents: the already-open check, refused files, the recent-file
// list across a restart, untitled documents, reads that run while the window
// answers and can be cancelled.
#include "AppTestSupport.h"
#include "TestSupport.h"

#include "app/CChildFrame.h"
#include "app/CDocManager.h"
#include "app/CDocTemplate.h"
#include "app/CKelvaroDoc.h"
#include "app/CKelvaroView.h"
#include "app/CMainFrame.h"
#include "app/RecentFileList.h"
#include "diagram/CDiagram.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace {

class Documents : public testing::Test {
protected:
    void SetUp() override { ResetMainWindow(); }
    void TearDown() override { ResetMainWindow(); }

    static CKelvaroDoc* Open(const std::filesystem::path& path) {
        return OpenAndWait(QString::fromStdString(path.string()));
    }
    static QStringList WindowTitles() {
        QStringList titles;
        for (CChildFrame* frame : MainFrame().ChildFrames())
            titles.append(frame->windowTitle());
        return titles;
    }
};

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
    // Two reads at once still speak in the order they were started.
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

namespace {

std::string ManyRows(int rows) {
    std::string text = "Rig\nt;a;b\n";
    for (int r = 0; r < rows; ++r)
        text += std::to_string(r) + ";" + std::to_string(r % 97) + ".25;" + std::to_string(r % 13) +
                "\n";
    return text;
}

int ThreadsOfThisProcess() {
    return static_cast<int>(QDir(QStringLiteral("/proc/self/task"))
                                .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                                .size());
}

} // namespace

// Escape stops the read however far it got: no window, no recent entry,
// no thread left behind.
TEST_F(Documents, AnOpenCancelledByEscapeOrItsButtonLeavesNothing) {
    TempDir dir;
    const auto path = dir.Write("big.txt", ManyRows(300'000));
    const QStringList recentBefore = App().RecentFiles().Entries();
    const int threadsBefore = ThreadsOfThisProcess();
    MainFrame().OpenFile(QString::fromStdString(path.string()));
    ASSERT_EQ(App().DocManager().Template().OpensRunning(), 1);
    QTest::keyClick(&MainFrame(), Qt::Key_Escape);
    ASSERT_TRUE(WaitForReads());
    EXPECT_TRUE(MainFrame().ChildFrames().empty());
    EXPECT_EQ(App().RecentFiles().Entries(), recentBefore);
    EXPECT_EQ(ThreadsOfThisProcess(), threadsBefore);

    MainFrame().OpenFile(QString::fromStdString(path.string()));
    auto* cancel = MainFrame().statusBar()->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), "Cancel");
    cancel->click();
    ASSERT_TRUE(WaitForReads());
    EXPECT_TRUE(MainFrame().ChildFrames().empty());
    EXPECT_FALSE(cancel->isVisible());
    EXPECT_EQ(App().RecentFiles().Entries(), recentBefore);
}

// Escape is obeyed wherever the read is: early, with part of the file read,
// once every byte is read but before the window is made, while the read
// waits behind an earlier one, and while its box is up. Each leaves no
// window and no recent entry; the earlier read still opens.
TEST_F(Documents, EscapeAtEveryStageOfAReadLeavesNothing) {
    TempDir dir;
    const auto big = dir.Write("big.txt", ManyRows(400'000));
    const auto small = dir.Write("small.txt", ManyRows(10));
    const auto odd = dir.Write("odd.txt", "Colour=red\nT\nx;a\n1;2\n");
    const QStringList recentBefore = App().RecentFiles().Entries();
    CDocTemplate& opens = App().DocManager().Template();
    const auto escape = [] { QTest::keyClick(&MainFrame(), Qt::Key_Escape); };
    // Waits, handling no event, until the newest read has counted bytes.
    const auto untilRead = [&](long long bytes) {
        const QDeadlineTimer deadline(10'000 * SlowdownOfThisBuild());
        while (opens.NewestOpenProgress() && opens.NewestOpenProgress()->BytesRead() < bytes &&
               !deadline.hasExpired())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    const auto size = static_cast<long long>(std::filesystem::file_size(big));
    const std::function<void()> stages[] = {
        [&] { MainFrame().OpenFile(QString::fromStdString(big.string())); },
        [&] {
            MainFrame().OpenFile(QString::fromStdString(big.string()));
            untilRead(1);
        },
        [&] {
            MainFrame().OpenFile(QString::fromStdString(big.string()));
            untilRead(size);
        },
    };
    for (std::size_t stage = 0; stage < std::size(stages); ++stage) {
        SCOPED_TRACE(stage);
        stages[stage]();
        ASSERT_EQ(opens.OpensRunning(), 1);
        escape();
        ASSERT_TRUE(WaitForReads());
        EXPECT_TRUE(MainFrame().ChildFrames().empty());
    }

    // Behind an earlier read, done and waiting: the earlier one still opens.
    MainFrame().OpenFile(QString::fromStdString(big.string()));
    MainFrame().OpenFile(QString::fromStdString(small.string()));
    const QDeadlineTimer deadline(10'000 * SlowdownOfThisBuild());
    while (opens.NewestOpenProgress()->BytesRead() <
               static_cast<long long>(std::filesystem::file_size(small)) &&
           !deadline.hasExpired())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    escape();
    ASSERT_TRUE(WaitForReads());
    ASSERT_EQ(MainFrame().ChildFrames().size(), 1u);
    EXPECT_EQ(MainFrame().ChildFrames().front()->windowTitle(), "big.txt");
    ResetMainWindow();

    // While its box is up: the read goes on once the box is closed, and stops.
    ModalBoxCloser boxes;
    boxes.onBox = [&] { opens.CancelNewestOpen(); };
    MainFrame().OpenFile(QString::fromStdString(odd.string()));
    ASSERT_TRUE(boxes.WaitFor(1));
    ASSERT_TRUE(WaitForReads());
    EXPECT_TRUE(MainFrame().ChildFrames().empty());
    // Only the read that was not cancelled went into the recent files.
    const QStringList recentAfter = App().RecentFiles().Entries();
    EXPECT_EQ(recentAfter.first(), QString::fromStdString(big.string()));
    EXPECT_EQ(recentAfter.mid(1, recentBefore.size()), recentBefore.mid(0, recentAfter.size() - 1));
    EXPECT_FALSE(recentAfter.contains(QString::fromStdString(small.string())));
    EXPECT_FALSE(recentAfter.contains(QString::fromStdString(odd.string())));
}

// The box of an unknown command comes while the file is read, before any
// window, and the read goes on only once the user has closed it.
TEST_F(Documents, AWarningOfTheReadIsShownWhileTheReadWaitsForIt) {
    TempDir dir;
    const auto path = dir.Write("odd.txt", "Colour=red\nT\nx;a\n1;2\n");
    ModalBoxCloser boxes;
    std::vector<std::pair<std::size_t, int>> atBox; // windows, reads running
    boxes.onBox = [&] {
        atBox.emplace_back(MainFrame().ChildFrames().size(),
                           App().DocManager().Template().OpensRunning());
    };
    MainFrame().OpenFile(QString::fromStdString(path.string()));
    ASSERT_TRUE(boxes.WaitFor(1));
    ASSERT_TRUE(WaitForReads());
    EXPECT_TRUE(boxes.Texts().first().startsWith("Not known command:"));
    EXPECT_EQ(atBox, (std::vector<std::pair<std::size_t, int>>{{0, 1}}));
    ASSERT_EQ(MainFrame().ChildFrames().size(), 1u);
    EXPECT_EQ(MainFrame().ActiveView()->Diagram().values[0].GetSize(), 1);
}

// Reads side by side end in the order they were started: the small file's
// window and box wait for the big file's read.
TEST_F(Documents, ReadsAtOnceEndInTheOrderTheyWereStarted) {
    TempDir dir;
    const auto big = dir.Write("big.txt", ManyRows(200'000));
    const auto odd = dir.Write("odd.txt", "Colour=red\nT\nx;a\n1;2\n");
    const auto gone = dir.Path() / "gone.txt";
    ModalBoxCloser boxes;
    std::vector<std::size_t> windowsAtBox;
    boxes.onBox = [&] { windowsAtBox.push_back(MainFrame().ChildFrames().size()); };
    for (const auto& path : {big, odd, gone})
        MainFrame().OpenFile(QString::fromStdString(path.string()));
    ASSERT_TRUE(boxes.WaitFor(2));
    ASSERT_TRUE(WaitForReads());
    QStringList titles;
    for (CChildFrame* frame : MainFrame().ChildFrames())
        titles.append(frame->windowTitle());
    EXPECT_EQ(titles, (QStringList{"big.txt", "odd.txt"}));
    ASSERT_EQ(boxes.Texts().size(), 2);
    EXPECT_TRUE(boxes.Texts()[0].startsWith("Not known command:"));
    EXPECT_TRUE(boxes.Texts()[1].startsWith("Cannot open the file"));
    EXPECT_EQ(windowsAtBox, (std::vector<std::size_t>{1, 2}));
}

TEST_F(Documents, OpeningAFileAgainWhileItIsReadMakesOneWindow) {
    TempDir dir;
    const auto path = dir.Write("twice.txt", ManyRows(50'000));
    MainFrame().OpenFile(QString::fromStdString(path.string()));
    MainFrame().OpenFile(QString::fromStdString(path.string()));
    EXPECT_EQ(App().DocManager().Template().OpensRunning(), 1);
    ASSERT_TRUE(WaitForReads());
    ASSERT_EQ(MainFrame().ChildFrames().size(), 1u);
    EXPECT_EQ(App().RecentFiles().Entries().first(), QString::fromStdString(path.string()));
}
