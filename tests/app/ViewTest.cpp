// The view: copy, print, zoom windows, the View commands and their errors.
#include "ExampleViewTest.h"
#include "TestSupport.h"

#include "app/CChildFrame.h"
#include "app/CDocManager.h"
#include "app/CKelvaroDoc.h"
#include "app/CKelvaroView.h"
#include "app/CMainFrame.h"
#include "diagram/CDiagram.h"
#include "diagram/ZoomRequest.h"

#include <QClipboard>
#include <QImage>
#include <QPrinter>

#include <gtest/gtest.h>

namespace {

using View = ExampleViewTest;

// The bounding box of the pixels that are not white.
QRect InkBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) != 0xFFFFFF)
                bounds |= QRect(x, y, 1, 1);
    }
    return bounds;
}

TEST_F(View, CopyPutsTheClientAreaOnTheClipboard) {
    view->Diagram().markerX = 10.0;
    view->DirectRedraw();
    MainFrame().RunCommand(ID_EDIT_COPY);
    const QImage copied = QApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(800, 500));
    // The marker line is in the picture: a column of marker pixels in the plot.
    const int x = view->Diagram().PixelAtValue(10.0, 0.0).x;
    const int y = (view->Diagram().plotRect.top + view->Diagram().plotRect.bottom) / 2;
    const QImage plain = view->grab().toImage();
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
              plain.convertToFormat(QImage::Format_RGB32));
    view->Diagram().markerX = -1.0;
    const QImage withoutMarker = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_NE(copied.convertToFormat(QImage::Format_RGB32).pixel(x, y), withoutMarker.pixel(x, y));
}

TEST_F(View, PrintedPageShowsTheWindowAtItsScreenSize) {
    TempDir dir;
    const QString pdf = QString::fromStdString((dir.Path() / "page.pdf").string());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::Letter));
    view->PrintTo(printer);
    const std::string bytes = ReadFile(pdf.toStdString());
    std::size_t pages = 0;
    for (std::size_t at = bytes.find("/Type /Page\n"); at != std::string::npos;
         at = bytes.find("/Type /Page\n", at + 1))
        ++pages;
    EXPECT_EQ(pages, 1u);

    // The same page on a 300-dpi device: the frame of an 800 x 500 window
    // measures its pixels / 96 inches, from the top left.
    QImage page(2550, 3300, QImage::Format_RGB32);
    page.fill(Qt::white);
    page.setDotsPerMeterX(11811); // 300 dpi
    page.setDotsPerMeterY(11811);
    view->PrintTo(page);
    const QRect ink = InkBounds(page);
    const Rect& frame = view->Diagram().frameRect;
    const double dpi = 300.0, screen = view->logicalDpiX();
    EXPECT_NEAR(ink.left() / dpi, frame.left / screen, 0.02);
    EXPECT_NEAR(ink.top() / dpi, frame.top / screen, 0.02);
    EXPECT_NEAR((ink.right() + 1) / dpi, frame.right / screen, 0.02);
    EXPECT_NEAR((ink.bottom() + 1) / dpi, frame.bottom / screen, 0.02);
    EXPECT_GT(frame.right / screen, 7.5); // nearly the 8.3 inches of the whole window
}

TEST_F(View, ZoomWindowIsANewDocumentOfTheSameFileTitledByItsFirstPaint) {
    {
        ZoomOpenScope zoom(2.0, 6.0, 0.0, 0.0);
        view->OpenZoomWindow(view->Diagram().filePath);
    }
    ASSERT_TRUE(WaitForReads());
    ASSERT_EQ(MainFrame().ChildFrames().size(), 2u);
    CKelvaroView* zoomed = MainFrame().ActiveView();
    ASSERT_NE(zoomed, view);
    // The first paint composes the title from the rows the window holds.
    EXPECT_TRUE(zoomed->Document().Title().startsWith(
        QString::fromStdString(view->Diagram().fileName) + "  X = [2.0"))
        << zoomed->Document().Title().toStdString();
    EXPECT_EQ(MainFrame().windowTitle(), "Kelvaro - " + zoomed->Document().Title());
    EXPECT_LT(zoomed->Diagram().values[0].GetSize(), view->Diagram().values[0].GetSize());
    EXPECT_FALSE(g_bZoomOpen);
}

TEST_F(View, ZoomOfAFileThatHasGoneLeavesNoWindow) {
    TempDir dir;
    ModalBoxCloser boxes;
    {
        ZoomOpenScope zoom(2.0, 6.0, 0.0, 0.0);
        view->OpenZoomWindow((dir.Path() / "gone.txt").string());
    }
    ASSERT_TRUE(WaitForReads());
    EXPECT_TRUE(boxes.WaitFor());
    EXPECT_EQ(MainFrame().ChildFrames().size(), 1u);
}

TEST_F(View, DerivedFileCommandsReportTheirOutcomeAndErrorsOfAnEmptyDiagram) {
    TempDir dir;
    CurrentDirScope cwd(dir.Path());
    {
        ModalBoxCloser boxes;
        MainFrame().RunCommand(ID_MAKE_CORRELATION);
        ASSERT_TRUE(boxes.WaitFor());
        EXPECT_TRUE(boxes.Texts().first().startsWith("Correlation file was written to"));
        EXPECT_TRUE(std::filesystem::exists(dir.Path() / "pump_test_Correlation.txt"));
    }
    MainFrame().RunCommand(ID_FILE_NEW);
    ModalBoxCloser boxes;
    MainFrame().RunCommand(ID_MAKE_INTERPOLATION);
    ASSERT_TRUE(boxes.WaitFor());
    EXPECT_TRUE(boxes.Texts().first().startsWith("Invalid argument."));
    EXPECT_EQ(MainFrame().ChildFrames().size(), 2u); // the window stays
    MainFrame().RunCommand(ID_SHOW_SPECTRUM);        // and usable
    EXPECT_TRUE(MainFrame().ActiveView()->Diagram().showSpectrum);
}

TEST_F(View, ShowXYByMouseChangesNoPicture) {
    const QImage before = view->grab().toImage();
    MainFrame().RunCommand(ID_SHOW_XY_BY_MOUSE);
    EXPECT_FALSE(view->Diagram().showXYByMouse);
    EXPECT_EQ(view->grab().toImage(), before);
    MainFrame().RunCommand(ID_SHOW_SPECTRUM);
    EXPECT_NE(view->grab().toImage(), before);
    MainFrame().RunCommand(ID_SHOW_SPECTRUM);
    EXPECT_EQ(view->grab().toImage(), before);
}

TEST_F(View, StatusTextGoesToPaneZero) {
    view->ShowStatus(" X = 2.50000, Y = 1");
    EXPECT_EQ(MainFrame().PaneText(), " X = 2.50000, Y = 1");
}

} // namespace
