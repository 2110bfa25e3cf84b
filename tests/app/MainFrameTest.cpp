// The main window: the menus of both states, status pane 0, the keys with no
// handler, help, the About box and files dropped onto the window.
#include "AppTestSupport.h"
#include "TestSupport.h"

#include "app/CChildFrame.h"
#include "app/CDocManager.h"
#include "app/CMainFrame.h"
#include "app/HelpWindow.h"

#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <QWhatsThis>

#include <gtest/gtest.h>

namespace {

class MainWindow : public testing::Test {
protected:
    void SetUp() override { ResetMainWindow(); }
    void TearDown() override { ResetMainWindow(); }

    static void OpenExample(const char* name) {
        ASSERT_NE(
            App().DocManager().OpenDocumentFile(QString::fromStdString(ExamplePath(name).string())),
            nullptr);
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
                                "&View: &Toolbar|&Status Bar",
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
                  "mouse|Make Interpolation|Make Correlation",
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
    for (QAction* action : MainFrame().findChild<QToolBar*>()->actions()) {
        if (!action->isSeparator()) {
            EXPECT_EQ(action->icon().pixmap(16, 15).size(), QSize(16, 15))
                << action->toolTip().toStdString();
        }
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
    ASSERT_NE(App().DocManager().OpenDocumentFile(QString::fromStdString(file.string())), nullptr);
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
    ASSERT_EQ(MainFrame().ChildFrames().size(), 2u);
    EXPECT_EQ(MainFrame().ChildFrames()[0]->windowTitle(), "sinusoid.txt");
    EXPECT_EQ(MainFrame().ChildFrames()[1]->windowTitle(), "word_labels.txt");
}

} // namespace
