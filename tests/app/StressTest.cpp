// Many windows at once, on a fixed random seed: files opened, zoom windows
// made from memory while their source repaints and its legend is clicked, a
// file refreshed while a writer thread appends to it, Parameters changing the
// spectrum, reads cancelled and windows closed at random moments. Run under
// both sanitizers, any report fails it; so does any window whose table is not
// that of a whole read of its file, and anything left behind.
#include "AppTestSupport.h"
#include "TestSupport.h"

#include "app/CChildFrame.h"
#include "app/CDocManager.h"
#include "app/CDocTemplate.h"
#include "app/CKelvaroDoc.h"
#include "app/CKelvaroView.h"
#include "app/CMainFrame.h"
#include "diagram/CDiagram.h"
#include "diagram/ZoomRequest.h"
#include "dialogs/CDia_Parameters.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <mutex>
#include <random>
#include <thread>

namespace {

std::string Rows(int from, int count) {
    std::string text;
    for (int r = from; r < from + count; ++r)
        text += std::to_string(r) + ";" + std::to_string((r * 37) % 1000) + ".5;" +
                std::to_string(r % 17) + ";" + std::to_string((r * 7) % 23) + "\n";
    return text;
}

// Appends rows to a file a few at a time, from a thread of its own, until
// stopped; each write is whole rows.
class Writer {
public:
    Writer(std::filesystem::path path, int firstRow) : path(std::move(path)), next(firstRow) {
        thread = std::thread([this] {
            while (!stop) {
                {
                    std::ofstream(this->path, std::ios::binary | std::ios::app) << Rows(next, 50);
                    next += 50;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
            }
        });
    }
    ~Writer() { Stop(); }
    void Stop() {
        stop = true;
        if (thread.joinable())
            thread.join();
    }

private:
    std::filesystem::path path;
    int next;
    std::atomic<bool> stop{false};
    std::thread thread;
};

std::vector<CKelvaroView*> Views() {
    std::vector<CKelvaroView*> views;
    for (CChildFrame* frame : MainFrame().ChildFrames())
        views.push_back(frame->View());
    return views;
}

// The cells of the data columns and of X, in order.
std::vector<std::vector<std::string>> Cells(const CDiagram& diagram) {
    std::vector<std::vector<std::string>> columns;
    for (int c = 0; c + 1 < diagram.columnCount; ++c) {
        std::vector<std::string>& cells = columns.emplace_back();
        for (int r = 0; r < diagram.values[c].GetSize(); ++r)
            cells.emplace_back(diagram.values[c][r]);
    }
    return columns;
}

// The table a window should show now: a whole read of its file, with its X
// range for a zoom window.
std::vector<std::vector<std::string>> WholeRead(const CDiagram& shown) {
    CDiagram read(nullptr);
    std::optional<ZoomOpenScope> zoom;
    if (shown.xRange)
        zoom.emplace(shown.xRange->from, shown.xRange->to, 0.0, 0.0);
    EXPECT_TRUE(read.LoadFile(shown.filePath));
    return Cells(read);
}

void Serve(int milliseconds) {
    const QDeadlineTimer until(milliseconds);
    while (!until.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

TEST(Stress, WindowsOpenZoomRefreshAndCloseAtRandomAndEachShowsItsFile) {
    ResetMainWindow();
    TempDir dir;
    const auto still = dir.Write("still.txt", "X=number\nStill\nt;a;b;c\n" + Rows(0, 60'000));
    const auto live = dir.Write("live.txt", "X=number\nTimer=100\nLive\nt;a;b;c\n" + Rows(0, 2000));
    Writer writer(live, 2000);
    std::mt19937 random(20261209);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };

    ModalBoxCloser boxes;
    // Parameters: another spectrum column, then OK.
    boxes.onBox = [&] {
        if (auto* dialog = dynamic_cast<CDia_Parameters*>(QApplication::activeModalWidget())) {
            const int columns = dialog->m_cboSpectrumColumn->count();
            if (columns > 0)
                dialog->m_cboSpectrumColumn->setCurrentIndex(pick(columns));
            dialog->m_btnOk->click();
        }
    };
    for (int step = 0; step < 160; ++step) {
        SCOPED_TRACE(step);
        const std::vector<CKelvaroView*> views = Views();
        CKelvaroView* view =
            views.empty() ? nullptr : views[static_cast<std::size_t>(pick(int(views.size())))];
        switch (pick(view ? 9 : 2)) {
        case 0:
            MainFrame().OpenFile(QString::fromStdString(still.string()));
            break;
        case 1:
            MainFrame().OpenFile(QString::fromStdString(live.string()));
            break;
        case 2: { // a zoom window, while the source repaints and its legend is clicked
            const CDiagram& d = view->Diagram();
            if (d.columnCount < 3 || d.values[0].GetSize() < 2)
                break;
            const double last = d.values[0].NumberAt(d.values[0].GetSize() - 1);
            const double from = last * pick(50) / 100.0;
            {
                const ZoomOpenScope request(from, from + last / 4, 0.0, 0.0);
                view->OpenZoomWindow(d.filePath, CurrentZoomRequest());
            }
            for (int i = 0; i < 3; ++i) {
                const ColumnRecord& entry = d.columns[1 + pick(d.columnCount - 2)];
                QTest::mouseClick(view, Qt::LeftButton, {},
                                  QPoint(entry.legendX + 5, entry.legendY));
                view->repaint();
            }
            break;
        }
        case 3:
            view->repaint();
            break;
        case 4:
            view->OnShowParameters();
            break;
        case 5:
            App().DocManager().Template().CancelNewestOpen();
            break;
        case 6:
            for (CChildFrame* frame : MainFrame().ChildFrames())
                if (frame->View() == view)
                    frame->close();
            break;
        case 7:
            view->OnShowSpectrum();
            break;
        default:
            view->Document().OnRefreshTimer();
            break;
        }
        Serve(pick(40));
    }

    // Once the writer has stopped and every read is over, each window shows
    // what a whole read of its file gives.
    writer.Stop();
    ASSERT_TRUE(WaitForReads());
    for (CKelvaroView* view : Views()) {
        view->Document().OnRefreshTimer();
        ASSERT_TRUE(WaitForReads());
    }
    for (CKelvaroView* view : Views()) {
        SCOPED_TRACE(view->Document().Title().toStdString());
        EXPECT_TRUE(Cells(view->Diagram()) == WholeRead(view->Diagram()));
    }
    ResetMainWindow();
    EXPECT_TRUE(MainFrame().ChildFrames().empty());
    EXPECT_EQ(App().DocManager().Template().OpensRunning(), 0);
}

} // namespace
