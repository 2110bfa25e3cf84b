// The main window: the menus of both states, status pane 0, the keys with no
// handler, help, the About box and files dropped onto the window.
#include "AppTestSupport.h"
#include "TestSupport.h"

#include "app/CChildFrame.h"
#include "app/CDocManager.h"
#include "app/CMainFrame.h"
#include "app/HelpWindow.h"
#include "app/RecentFileList.h"

#include <QDropEvent>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <QWhatsThis>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace {

class MainWindow : public testing::Test {
protected:
    void SetUp() override { ResetMainWindow(); }
    void TearDown() override { ResetMainWindow(); }

    static void OpenExample(const char* name) {
        ASSERT_NE(OpenAndWait(QString::fromStdString(ExamplePath(name).string())), nullptr);
    }
};

// Each menu as "Title: item|item|---|item", with the recent files left out.
QStringList MenuLayout() {
    QStringList menus;
    for (QAction* top : MainFrame().menuBar()->actions()) {
        QStringList items;
        emit top->menu()->aboutToShow(); // as when the user opens it
        for (QAction* item : top->menu()->actions()) {
            if (item->isSeparator())
                items.append("---");
            else if (item->text() != "Recent File" && !item->text().contains('/'))
                items.append(item->text());
        }
        menus.append(top->text() + ": " + items.join('|'));
    }
    return menus;
}

TEST_F(MainWindow, MenusOfBothStatesHoldTheirItemsInOrder) {
    MainFrame().UpdateCommandUi();
    EXPECT_EQ(MenuLayout(), (QStringList{
                                "&File: &Open...\tCtrl+O|---|P&rint Setup...|---|---|&Close|E&xit",
                                "&View: &Toolbar|&Status Bar|&Measurements",
                                "&Help: &Help Topics|---|&About Kelvaro...",
                            }));
    EXPECT_EQ(MainFrame().windowTitle(), "Kelvaro");

    OpenExample("pump_test.txt");
    OpenExample("sinusoid.txt");
    EXPECT_EQ(MenuLayout(),
              (QStringList{
                  "&File: &Open...\tCtrl+O|&Close|---|&Print...\tCtrl+P|Print Pre&view|P&rint "
                  "Setup...|---|---|E&xit",
                  "&Edit: Copy",
                  "&View: &Toolbar|&Status Bar|---|Show Parameters|Show Spectrum|Show XY by "
                  "mouse|Make Interpolation|Make Correlation|---|Set Marker &B|&Remove "
                  "Markers|&Measurements",
                  "&Window: &Cascade|&Tile|&Arrange Icons|---|&1 pump_test.txt|&2 sinusoid.txt",
                  "&Help: &Help Topics|---|&About Kelvaro...",
              }));
}

TEST_F(MainWindow, ToolbarHoldsTheButtonsInOrderWithTips) {
    QStringList tips;
    for (QAction* action : MainFrame().findChild<QToolBar*>()->actions())
        tips.append(action->isSeparator() ? "---" : action->toolTip());
    EXPECT_EQ(tips, (QStringList{"Open", "Show XY by mouse", "Show Spectrum",
                                 "Make Interpolation file", "Make Correlation file",
                                 "Show Parameters", "---", "Print Preview", "Print"}));
}

QImage IconPicture(const QIcon& icon, QSize logical, qreal ratio) {
    return icon.pixmap(logical, ratio)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The largest difference of two pixels in any channel, opacity included.
int ChannelDistance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
}

// The share of the pixels that are mostly opaque.
double OpaqueShare(const QImage& picture) {
    int opaque = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            opaque += qAlpha(picture.pixel(x, y)) >= 128;
    }
    return double(opaque) / (picture.width() * picture.height());
}

// How many pixels of `twice` differ clearly from `once` blown up to twice its
// size pixel by pixel: none when `twice` has no finer detail than `once`.
int PixelsFinerThanDoubled(const QImage& once, const QImage& twice) {
    int finer = 0;
    for (int y = 0; y < twice.height(); ++y) {
        for (int x = 0; x < twice.width(); ++x)
            finer += ChannelDistance(twice.pixel(x, y), once.pixel(x / 2, y / 2)) > 48;
    }
    return finer;
}

// The mean difference per channel between `once` and `twice` shrunk back to
// its size by averaging each 2x2 block: small when both show the same picture.
double MeanDifferenceOfHalved(const QImage& once, const QImage& twice) {
    double total = 0;
    for (int y = 0; y < once.height(); ++y) {
        for (int x = 0; x < once.width(); ++x) {
            const QRgb block[] = {twice.pixel(2 * x, 2 * y), twice.pixel(2 * x + 1, 2 * y),
                                  twice.pixel(2 * x, 2 * y + 1), twice.pixel(2 * x + 1, 2 * y + 1)};
            int sum[4] = {};
            for (QRgb pixel : block) {
                sum[0] += qRed(pixel);
                sum[1] += qGreen(pixel);
                sum[2] += qBlue(pixel);
                sum[3] += qAlpha(pixel);
            }
            const QRgb pixel = once.pixel(x, y);
            total +=
                (std::abs(sum[0] / 4.0 - qRed(pixel)) + std::abs(sum[1] / 4.0 - qGreen(pixel)) +
                 std::abs(sum[2] / 4.0 - qBlue(pixel)) + std::abs(sum[3] / 4.0 - qAlpha(pixel))) /
                4;
        }
    }
    return total / (once.width() * once.height());
}

// An icon on a screen of 1, 1.5 and 2 device pixels per logical pixel fills
// the logical size at that resolution with a visible picture, and at 2 it is
// drawn with detail of its own rather than blown up from the plain size.
void ExpectDrawnAtEachResolution(const QIcon& icon, QSize logical) {
    ASSERT_FALSE(icon.isNull());
    for (const qreal ratio : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        const QPixmap pixmap = icon.pixmap(logical, ratio);
        ASSERT_FALSE(pixmap.isNull());
        const QSize device = logical * ratio;
        EXPECT_EQ(pixmap.width(), device.width());
        EXPECT_EQ(pixmap.height(), device.height());
        EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), ratio);
        EXPECT_GE(OpaqueShare(IconPicture(icon, logical, ratio)), 0.1);
    }
    const QImage once = IconPicture(icon, logical, 1.0);
    const QImage twice = IconPicture(icon, logical, 2.0);
    ASSERT_EQ(twice.width(), once.width() * 2);
    ASSERT_EQ(twice.height(), once.height() * 2);
    EXPECT_GE(PixelsFinerThanDoubled(once, twice), 4);
    EXPECT_LT(MeanDifferenceOfHalved(once, twice), 12.0);
}

TEST_F(MainWindow, ToolbarAndWindowIconsAreDrawnAtTheScreensResolution) {
    const QToolBar* toolbar = MainFrame().findChild<QToolBar*>();
    EXPECT_EQ(toolbar->iconSize(), QSize(16, 15));
    int icons = 0;
    for (QAction* action : toolbar->actions()) {
        if (action->isSeparator())
            continue;
        SCOPED_TRACE(action->toolTip().toStdString());
        ExpectDrawnAtEachResolution(action->icon(), toolbar->iconSize());
        ++icons;
    }
    EXPECT_EQ(icons, 8);
    for (const int side : {16, 32}) {
        SCOPED_TRACE(side);
        ExpectDrawnAtEachResolution(MainFrame().windowIcon(), QSize(side, side));
    }
}

TEST_F(MainWindow, PaneZeroIdlesOnABlankAndShowsPromptsOfHighlightedItems) {
    EXPECT_EQ(MainFrame().PaneText(), " ");
    QMenu* file = MainFrame().menuBar()->actions().first()->menu();
    file->popup(QPoint(0, 0));
    file->setActiveAction(MainFrame().Action(ID_FILE_OPEN));
    EXPECT_EQ(MainFrame().PaneText(), "Open an existing document");
    file->hide();
    EXPECT_EQ(MainFrame().PaneText(), " ");
}

TEST_F(MainWindow, ShowSpectrumAndShowXYCheckMarksFollowTheActiveWindow) {
    OpenExample("sinusoid.txt");
    CChildFrame* sinusoid = MainFrame().ChildFrames().back();
    MainFrame().RunCommand(ID_SHOW_SPECTRUM);
    MainFrame().RunCommand(ID_SHOW_XY_BY_MOUSE);
    EXPECT_TRUE(MainFrame().Action(ID_SHOW_SPECTRUM)->isChecked());
    EXPECT_FALSE(MainFrame().Action(ID_SHOW_XY_BY_MOUSE)->isChecked());

    OpenExample("pump_test.txt"); // a new window starts with the defaults
    EXPECT_FALSE(MainFrame().Action(ID_SHOW_SPECTRUM)->isChecked());
    EXPECT_TRUE(MainFrame().Action(ID_SHOW_XY_BY_MOUSE)->isChecked());
    MainFrame().ActivateChildFrame(sinusoid);
    EXPECT_TRUE(MainFrame().Action(ID_SHOW_SPECTRUM)->isChecked());
    MainFrame().RunCommand(ID_SHOW_SPECTRUM);
    EXPECT_FALSE(MainFrame().Action(ID_SHOW_SPECTRUM)->isChecked());
}

TEST_F(MainWindow, KeysWithoutAHandlerChangeNoFileAndNoWindow) {
    TempDir dir;
    const std::string content = "Title\nX;Y\n1;2\n2;3\n";
    const auto file = dir.Write("keep.txt", content);
    ASSERT_NE(OpenAndWait(QString::fromStdString(file.string())), nullptr);
    QWidget* view = MainFrame().ChildFrames().front()->widget();
    const auto before = std::filesystem::last_write_time(file);
    ModalBoxCloser boxes;
    for (const char* keys : {"Ctrl+S", "Ctrl+Z", "Ctrl+X", "Ctrl+V", "F6", "Shift+F6", "Shift+Del",
                             "Shift+Ins", "Alt+Backspace"}) {
        SCOPED_TRACE(keys);
        QTest::keySequence(view, QKeySequence(keys));
        QCoreApplication::processEvents();
        EXPECT_EQ(MainFrame().ChildFrames().size(), 1u);
        EXPECT_EQ(MainFrame().ChildFrames().front()->windowTitle(), "keep.txt");
    }
    EXPECT_TRUE(boxes.Texts().isEmpty());
    EXPECT_EQ(ReadFile(file), content);
    EXPECT_EQ(std::filesystem::last_write_time(file), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(MainWindow, AcceleratorsRunTheirCommands) {
    OpenExample("pump_test.txt");
    QWidget* view = MainFrame().ChildFrames().front()->widget();
    QTest::keySequence(view, QKeySequence("Ctrl+N"));
    EXPECT_EQ(MainFrame().ChildFrames().size(), 2u);

    QTest::keySequence(&MainFrame(), QKeySequence("F1"));
    ASSERT_NE(MainFrame().HelpWindow(), nullptr);
    EXPECT_TRUE(MainFrame().HelpWindow()->isVisible());
    EXPECT_EQ(MainFrame().HelpWindow()->CurrentPage(), "index.html");
    MainFrame().HelpWindow()->close();

    QTest::keySequence(&MainFrame(), QKeySequence("Shift+F1"));
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    EXPECT_EQ(MainFrame().PaneText(), "Select an object on which to get Help");
    QWhatsThis::leaveWhatsThisMode();
}

TEST_F(MainWindow, AboutBoxShowsNameAndVersion) {
    ModalBoxCloser boxes;
    MainFrame().RunCommand(ID_APP_ABOUT);
    ASSERT_TRUE(boxes.WaitFor());
    EXPECT_EQ(boxes.Titles().first(), "About Kelvaro");
    EXPECT_TRUE(boxes.Texts().first().contains("Kelvaro 1.5"));
}

TEST_F(MainWindow, DroppedFilesOpenAsOpenDoes) {
    QMimeData data;
    data.setUrls(
        {QUrl::fromLocalFile(QString::fromStdString(ExamplePath("sinusoid.txt").string())),
         QUrl::fromLocalFile(QString::fromStdString(ExamplePath("word_labels.txt").string())),
         QUrl("https://example.org/remote.txt")});
    // A file manager's drop: the drag enters the window, then drops.
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&MainFrame(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&MainFrame(), &drop);
    ASSERT_TRUE(WaitForReads());
    ASSERT_EQ(MainFrame().ChildFrames().size(), 2u);
    EXPECT_EQ(MainFrame().ChildFrames()[0]->windowTitle(), "sinusoid.txt");
    EXPECT_EQ(MainFrame().ChildFrames()[1]->windowTitle(), "word_labels.txt");
}

} // namespace

namespace {

// A path of 4,000 characters would make the File menu as wide as the screen:
// its entry is shortened in the middle and still opens the whole path.
TEST_F(MainWindow, ALongRecentFilePathIsShortenedInItsMenuEntryOnly) {
    TempDir dir;
    std::filesystem::path folder = dir.Path();
    while (folder.string().size() < 3'800)
        folder /= std::string(240, 'd');
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "pressure_log.txt";
    WriteFile(file, "T\nX;Y\n1;2\n");
    const QString path = QString::fromStdString(file.string());
    ASSERT_NE(OpenAndWait(path), nullptr);
    ResetMainWindow();
    ASSERT_EQ(App().RecentFiles().Entries().first(), path);

    QMenu* fileMenu = MainFrame().menuBar()->actions().first()->menu();
    emit fileMenu->aboutToShow();
    QAction* entry = nullptr;
    for (QAction* item : fileMenu->actions())
        if (item->text().startsWith("&1 "))
            entry = item;
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->text(), "&1 " + path.left(20) + "..." + path.right(41));
    EXPECT_TRUE(entry->text().endsWith("/pressure_log.txt"));
    EXPECT_LT(fileMenu->sizeHint().width(), 700);

    entry->trigger();
    ASSERT_TRUE(WaitForReads());
    ASSERT_EQ(MainFrame().ChildFrames().size(), 1u);
    EXPECT_EQ(MainFrame().ChildFrames().front()->windowTitle(), "pressure_log.txt");
}

// A binary file's line in a message box: control characters escaped, the
// line cut after a few hundred characters; the box stays screen-sized.
TEST_F(MainWindow, ABinaryLineInAWarningIsEscapedAndCut) {
    TempDir dir;
    std::string binary = "\x7f"
                         "ELF\x02\x01\x1b[31m";
    for (int i = 0; i < 20'000; ++i)
        binary += static_cast<char>(i * 37 % 251 == 10 ? 11 : i * 37 % 251);
    const auto path = dir.Write("program", binary + "=x\n");
    ModalBoxCloser boxes;
    MainFrame().OpenFile(QString::fromStdString(path.string()));
    ASSERT_TRUE(boxes.WaitFor(2)); // the unknown command, then no header line
    const QStringList lines = boxes.Texts().first().split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "Not known command:");
    EXPECT_TRUE(lines[2].startsWith("\\x7fELF\\x02\\x01\\x1b[31m")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].endsWith("...")) << lines[2].toStdString();
    EXPECT_LE(lines[2].size(), 300 * 4 + 3);
    for (const QChar c : lines[2]) // a tab separates cells, and stays
        EXPECT_FALSE((c.unicode() < 0x20 && c != '\t') ||
                     (c.unicode() >= 0x7f && c.unicode() < 0xa0));
    EXPECT_EQ(lines[4], QString::fromStdString(path.string()));
    EXPECT_TRUE(MainFrame().ChildFrames().empty());
}

} // namespace

namespace {

// A readout of thousands of curves would take seconds to lay out in the
// pane: it shows the first 1000 characters and "...".
TEST_F(MainWindow, PaneZeroShowsAtMostAThousandCharacters) {
    const QString whole(1000, 'r');
    MainFrame().SetPaneText(whole);
    EXPECT_EQ(MainFrame().PaneText(), whole);
    MainFrame().SetPaneText(whole + "s");
    EXPECT_EQ(MainFrame().PaneText(), whole + "...");
}

} // namespace
