// The Measurements panel in the main window: shown and remembered through
// View > Measurements, following the active window, its markers, legend
// clicks and refreshes, and copied with Ctrl+C.
#include "AppTestSupport.h"
#include "TestSupport.h"

#include "app/CKelvaroDoc.h"
#include "app/CKelvaroView.h"
#include "app/CMainFrame.h"
#include "app/MeasurementsPanel.h"
#include "diagram/CDiagram.h"

#include <QApplication>
#include <QClipboard>
#include <QSettings>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// X 0 .. 10, Rise = 2X, Flat = 20; refreshed every 200 ms.
std::string TwoCurves() {
    std::string file = "Timer=200\nX=number\nTwo curves\nX;Rise;Flat\n";
    for (int x = 0; x <= 10; ++x)
        file += std::to_string(x) + ";" + std::to_string(2 * x) + ";20\n";
    return file;
}

class MeasurementsPanel : public testing::Test {
protected:
    void SetUp() override {
        ResetMainWindow();
        if (!Panel().isVisible())
            MainFrame().RunCommand(ID_VIEW_MEASUREMENTS);
    }
    void TearDown() override {
        if (Panel().isVisible())
            MainFrame().RunCommand(ID_VIEW_MEASUREMENTS);
        ResetMainWindow();
    }

    static CMeasurementsPanel& Panel() { return MainFrame().Measurements(); }
    static QString Cell(int row, int column) {
        const CMeasurementsModel& model = Panel().Model();
        return model.data(model.index(row, column), Qt::DisplayRole).toString();
    }
    CKelvaroView* Open(const std::string& content, const char* name) {
        path = dir.Write(name, content);
        if (!OpenAndWait(QString::fromStdString(path.string())))
            return nullptr;
        return MainFrame().ActiveView();
    }
    static QPoint At(CKelvaroView& view, double x) {
        const Rect& plot = view.Diagram().plotRect;
        for (int px = plot.left; px <= plot.right; ++px) {
            double value = 0;
            if (view.Diagram().ValueAtPixel(px, 0, &value, nullptr) && value >= x)
                return QPoint(px, (plot.top + plot.bottom) / 2);
        }
        ADD_FAILURE() << "no pixel column reaches X = " << x;
        return {};
    }
    static void DoubleClick(CKelvaroView& view, Qt::MouseButton button, QPoint at,
                            Qt::KeyboardModifiers modifiers) {
        QTest::mousePress(&view, button, modifiers, at);
        QTest::mouseRelease(&view, button, modifiers, at);
        QTest::mouseDClick(&view, button, modifiers, at);
        QTest::mouseRelease(&view, button, modifiers, at);
    }

    TempDir dir;
    std::filesystem::path path;
};

TEST_F(MeasurementsPanel, ViewMeasurementsShowsItWithACheckMarkAndIsRemembered) {
    EXPECT_TRUE(Panel().isVisible());
    MainFrame().UpdateCommandUi();
    EXPECT_TRUE(MainFrame().Action(ID_VIEW_MEASUREMENTS)->isChecked());
    EXPECT_TRUE(QSettings().value("Measurements/shown").toBool());
    MainFrame().RunCommand(ID_VIEW_MEASUREMENTS);
    EXPECT_FALSE(Panel().isVisible());
    EXPECT_FALSE(MainFrame().Action(ID_VIEW_MEASUREMENTS)->isChecked());
    EXPECT_FALSE(QSettings().value("Measurements/shown").toBool());
    // Its own close button too.
    MainFrame().RunCommand(ID_VIEW_MEASUREMENTS);
    Panel().close();
    EXPECT_FALSE(QSettings().value("Measurements/shown").toBool());
    EXPECT_FALSE(MainFrame().Action(ID_VIEW_MEASUREMENTS)->isChecked());
    MainFrame().RunCommand(ID_VIEW_MEASUREMENTS);
}

TEST_F(MeasurementsPanel, FollowsTheMarkersALegendClickARefreshAndTheActiveWindow) {
    CKelvaroView* view = Open(TwoCurves(), "two.txt");
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(Panel().RangeText().startsWith("All 11 rows")) << Panel().RangeText().toStdString();
    ASSERT_EQ(Panel().Model().rowCount(), 3);
    EXPECT_EQ(Cell(1, 0), "Rise");
    EXPECT_EQ(Cell(1, 4), "11");
    EXPECT_EQ(Cell(1, 9), "10"); // the mean of 0, 2, .. 20

    DoubleClick(*view, Qt::LeftButton, At(*view, 3.0), Qt::NoModifier);
    DoubleClick(*view, Qt::LeftButton, At(*view, 7.0), Qt::ShiftModifier);
    const CDiagram& diagram = view->Diagram();
    ASSERT_TRUE(diagram.markerB.has_value());
    EXPECT_TRUE(Panel().RangeText().startsWith("Between A and B: "))
        << Panel().RangeText().toStdString();
    const std::size_t rows = Panel().Model().Shown().curves[0].statistics.rows;
    EXPECT_EQ(Cell(1, 4), QString::number(rows));
    EXPECT_EQ(Cell(0, 1), QString::number(diagram.markerX, 'g', 10));
    EXPECT_EQ(Cell(0, 3), QString::number(*diagram.markerB - diagram.markerX, 'g', 10));
    EXPECT_EQ(Cell(2, 11), "0"); // Flat has no deviation

    // Dragging B with the middle button widens the range as it goes.
    QTest::mousePress(view, Qt::MiddleButton, Qt::NoModifier, At(*view, 7.0));
    QTest::mouseMove(view, At(*view, 10.0));
    QTest::mouseRelease(view, Qt::MiddleButton, Qt::NoModifier, At(*view, 10.0));
    EXPECT_GT(Panel().Model().Shown().curves[0].statistics.rows, rows);
    EXPECT_EQ(Cell(1, 7), "20"); // the max of Rise, at X = 10
    EXPECT_EQ(Cell(1, 8), "10");

    // A hidden curve leaves the table.
    const ColumnRecord& rise = diagram.columns[1];
    QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(rise.legendX + 5, rise.legendY));
    ASSERT_EQ(Panel().Model().rowCount(), 2);
    EXPECT_EQ(Cell(1, 0), "Flat");

    // Without B every row again, rows a refresh adds included.
    DoubleClick(*view, Qt::RightButton, QPoint(At(*view, 10.0)), Qt::ShiftModifier);
    EXPECT_FALSE(diagram.markerB.has_value());
    std::ofstream(path, std::ios::app) << "11;22;20\n12;24;20\n";
    view->Document().OnRefreshTimer();
    ASSERT_TRUE(WaitForReads());
    EXPECT_TRUE(Panel().RangeText().startsWith("All 13 rows")) << Panel().RangeText().toStdString();
    EXPECT_EQ(Cell(1, 4), "13");

    // Another window: the panel shows its curves; closed, nothing.
    CKelvaroView* other = Open("X=number\nOther\nX;Solo\n1;5\n2;7\n", "other.txt");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(Cell(1, 0), "Solo");
    EXPECT_EQ(Cell(1, 9), "6");
    ResetMainWindow();
    EXPECT_EQ(Panel().Model().rowCount(), 0);
    EXPECT_TRUE(Panel().RangeText().isEmpty());
}

TEST_F(MeasurementsPanel, CtrlCInTheTableCopiesItAsTabSeparatedText) {
    ASSERT_NE(Open(TwoCurves(), "copy.txt"), nullptr);
    auto* table = Panel().findChild<QTableView*>();
    ASSERT_NE(table, nullptr);
    QApplication::clipboard()->clear();
    table->setFocus();
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    const QString text = QApplication::clipboard()->text();
    const QStringList lines = text.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << text.toStdString();
    EXPECT_EQ(lines[0],
              "Curve\tA\tB\tB \u2212 A\tRows\tMin\tX of min\tMax\tX of max\tMean\tRMS\tStd "
              "dev\tPeak-to-peak");
    EXPECT_EQ(lines[2].split('\t').mid(4, 6), (QStringList{"11", "0", "0", "20", "10", "10"}));
    EXPECT_TRUE(QApplication::clipboard()->image().isNull());
}

// X out of order: the rows between the markers are found by a pass over
// every row, which a large table runs away from the interface thread; the
// panel shows what the pass in place gives once it is in.
TEST_F(MeasurementsPanel, APassOverXOutOfOrderAwayFromTheWindowGivesWhatOneInPlaceGives) {
    std::string file = "X=number\nOut of order\nX;V;W\n";
    for (int row = 0; row < 5000; ++row)
        file += std::to_string((row * 7919) % 5000) + ";" + std::to_string(row % 13) + ";" +
                std::to_string(row) + "\n";
    CKelvaroView* view = Open(file, "scattered.txt");
    ASSERT_NE(view, nullptr);
    view->Diagram().markerX = 1000.0;
    view->Diagram().markerB = 3000.0;
    view->DirectRedraw();
    const QStringList inPlace = Panel().Model().TabSeparated().split('\n');
    EXPECT_TRUE(Panel().RangeText().startsWith("Between A and B: 2001 rows"))
        << Panel().RangeText().toStdString();

    Panel().SetCellsOfAPassInPlace(0);
    view->DirectRedraw(); // the same range again: still the rows measured before
    view->Diagram().markerB = 2999.0;
    view->DirectRedraw();
    EXPECT_TRUE(Panel().PassRunning() || Panel().RangeText().contains("2000 rows"));
    ASSERT_TRUE(
        QTest::qWaitFor([] { return !Panel().PassRunning(); }, 10000 * SlowdownOfThisBuild()));
    QCoreApplication::processEvents();
    EXPECT_TRUE(Panel().RangeText().startsWith("Between A and B: 2000 rows"))
        << Panel().RangeText().toStdString();
    view->Diagram().markerB = 3000.0;
    view->DirectRedraw();
    ASSERT_TRUE(
        QTest::qWaitFor([] { return !Panel().PassRunning(); }, 10000 * SlowdownOfThisBuild()));
    QCoreApplication::processEvents();
    EXPECT_EQ(Panel().Model().TabSeparated().split('\n'), inPlace);
    Panel().SetCellsOfAPassInPlace(kCellsOfAPassInPlace);
}

} // namespace
