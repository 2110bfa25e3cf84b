// A test fixture with the pump-test example open in a view of 800 x 500
// client pixels, laid out for that size; every window closed afterwards.
#pragma once

#include "AppTestSupport.h"
#include "TestSupport.h"

#include "app/CChildFrame.h"
#include "app/CDocManager.h"
#include "app/CKelvaroView.h"
#include "app/CMainFrame.h"

#include <gtest/gtest.h>

class ExampleViewTest : public testing::Test {
protected:
    void SetUp() override {
        ResetMainWindow();
        ASSERT_NE(OpenAndWait(QString::fromStdString(ExamplePath("pump_test.txt").string())),
                  nullptr);
        view = MainFrame().ActiveView();
        ASSERT_NE(view, nullptr);
        QMdiSubWindow* frame = MainFrame().ChildFrames().front();
        frame->resize(frame->size() - view->size() + QSize(800, 500));
        ASSERT_EQ(view->size(), QSize(800, 500));
        view->repaint(); // lays out the plot for this size
    }
    void TearDown() override { ResetMainWindow(); }

    CKelvaroView* view = nullptr;
};
