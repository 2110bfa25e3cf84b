#include "InteractionTestSupport.h"
#include "dialogs/CDia_Parameters.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <tuple>

namespace {

std::string ThreeColumnFile() {
    std::string file = "X=number\nThree\nX;A;B;C\n";
    for (int x = 0; x < 16; ++x)
        file +=
            std::to_string(x) + ";" + std::to_string(x % 3) + ";" + std::to_string(x * x) + ";1\n";
    return file;
}

// The settings the dialog shows and stores.
auto Settings(const CDiagram& d) {
    return std::make_tuple(d.showMarks, d.showLegend, d.lineWidth, d.xShowNet, d.xMin, d.xDelta,
                           d.yAutoscale, d.yShowNet, d.yMin, d.yDelta, d.spectrumColumn);
}

class ParametersDialog : public testing::Test {
protected:
    LoadedView view{ThreeColumnFile()};
    CDiagram& diagram = view.diagram;
    CDia_Parameters dialog;

    void SetUp() override {
        dialog.m_pDiagram = &diagram;
        diagram.yMin = 2.5;
        diagram.yDelta = 0.127;
        diagram.xMin = 0.127;
        diagram.spectrumColumn = 1;
    }
    void Open() {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }
    // Clicks OK in a running dialog. A box that refuses a value fails the
    // test and is closed, and the dialog cancelled, instead of waiting for a
    // user.
    void ClickOk() {
        QTimer::singleShot(500, &dialog, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << "refused: " << box->text().toStdString();
                box->buttons().front()->click();
            }
            if (dialog.isVisible())
                dialog.reject();
        });
        QTest::mouseClick(dialog.m_btnOk, Qt::LeftButton);
    }
};

TEST_F(ParametersDialog, ShowsTheSettingsWithTwoDecimalsWhateverTheLocale) {
    const bool german = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    Open();
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(dialog.m_edtYMin->text(), "2.50") << "German locale active: " << german;
    EXPECT_EQ(dialog.m_edtYDelta->text(), "0.13");
    EXPECT_EQ(dialog.m_edtXMin->text(), "0.13");
    EXPECT_EQ(dialog.m_edtLineWidth->text(), "1");
    EXPECT_TRUE(dialog.m_chkShowLegend->isChecked());
    EXPECT_FALSE(dialog.m_chkShowMarks->isChecked());
    EXPECT_FALSE(dialog.m_chkXAutoscale->isVisible());
    EXPECT_FALSE(dialog.m_edtXMin->isVisible());
    EXPECT_TRUE(dialog.m_chkXShowNet->isVisible());
    EXPECT_TRUE(dialog.m_btnOk->hasFocus());

    // The data columns only, entry spectrumColumn selected.
    ASSERT_EQ(dialog.m_cboSpectrumColumn->count(), 3);
    EXPECT_EQ(dialog.m_cboSpectrumColumn->itemText(0), "A");
    EXPECT_EQ(dialog.m_cboSpectrumColumn->itemText(2), "C");
    EXPECT_EQ(dialog.m_cboSpectrumColumn->currentText(), "B");
}

TEST_F(ParametersDialog, ControlsFollowTheLayoutInDialogUnitsAndTabOrder) {
    Open();
    // The OK button sits left of Cancel on one row, below the Y edits.
    EXPECT_EQ(dialog.m_btnOk->y(), dialog.m_btnCancel->y());
    EXPECT_LT(dialog.m_btnOk->x(), dialog.m_btnCancel->x());
    EXPECT_LT(dialog.m_edtYDelta->geometry().bottom(), dialog.m_btnOk->y());
    // Every control keeps its place in the 369 x 131 units of the dialog.
    EXPECT_NEAR(dialog.m_btnCancel->x() * 369.0 / dialog.width(), 312, 1);
    EXPECT_NEAR(dialog.m_btnCancel->width() * 369.0 / dialog.width(), 50, 1);
    EXPECT_NEAR(dialog.m_btnCancel->y() * 131.0 / dialog.height(), 110, 1);
    EXPECT_NEAR(dialog.m_btnCancel->height() * 131.0 / dialog.height(), 14, 1);
    EXPECT_NEAR(dialog.m_edtLineWidth->x() * 369.0 / dialog.width(), 325, 1);
    EXPECT_NEAR(dialog.m_chkYShowNet->y() * 131.0 / dialog.height(), 41, 1);

    const QWidget* expected[] = {
        dialog.m_btnOk,         dialog.m_btnCancel,    dialog.m_chkYAutoscale,
        dialog.m_chkYShowNet,   dialog.m_chkXShowNet,  dialog.m_chkShowMarks,
        dialog.m_chkShowLegend, dialog.m_edtLineWidth, dialog.m_cboSpectrumColumn};
    // Autoscale is ticked: the Y edits are disabled and skipped.
    const QWidget* current = dialog.m_btnOk;
    for (std::size_t i = 1; i < std::size(expected); ++i) {
        current = current->nextInFocusChain();
        while (!(current->focusPolicy() & Qt::TabFocus) || !current->isVisible() ||
               !current->isEnabled())
            current = current->nextInFocusChain();
        EXPECT_EQ(current, expected[i]) << "tab stop " << i;
    }
}

TEST_F(ParametersDialog, YRangeEditsAreEnabledExactlyWhileAutoscaleIsClear) {
    diagram.yAutoscale = true;
    Open();
    EXPECT_FALSE(dialog.m_edtYMin->isEnabled());
    EXPECT_FALSE(dialog.m_edtYDelta->isEnabled());
    QTest::mouseClick(dialog.m_chkYAutoscale, Qt::LeftButton);
    EXPECT_TRUE(dialog.m_edtYMin->isEnabled());
    EXPECT_TRUE(dialog.m_edtYDelta->isEnabled());
    QTest::keyClick(dialog.m_chkYAutoscale, Qt::Key_Space);
    EXPECT_FALSE(dialog.m_edtYMin->isEnabled());
    EXPECT_FALSE(dialog.m_edtYDelta->isEnabled());
}

TEST_F(ParametersDialog, OkStoresTheSettingsAndComputesTheNewSpectrum) {
    diagram.yAutoscale = true;
    const std::string spectrumBefore = diagram.columns[4].name;
    QTimer::singleShot(0, &dialog, [this] {
        dialog.m_chkShowMarks->setChecked(true);
        dialog.m_chkShowLegend->setChecked(false);
        dialog.m_chkXShowNet->setChecked(false);
        QTest::mouseClick(dialog.m_chkYAutoscale, Qt::LeftButton);
        dialog.m_chkYShowNet->setChecked(false);
        dialog.m_edtLineWidth->setText("3");
        dialog.m_edtYMin->setText("-1.25");
        dialog.m_edtYDelta->setText(" 4 ");
        dialog.m_cboSpectrumColumn->setCurrentIndex(2);
        ClickOk();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(diagram.showMarks);
    EXPECT_FALSE(diagram.showLegend);
    EXPECT_FALSE(diagram.xShowNet);
    EXPECT_FALSE(diagram.yAutoscale);
    EXPECT_FALSE(diagram.yShowNet);
    EXPECT_EQ(diagram.lineWidth, 3);
    EXPECT_EQ(diagram.yMin, -1.25);
    EXPECT_EQ(diagram.yDelta, 4.0);
    EXPECT_EQ(diagram.spectrumColumn, 2);
    // The hidden X edits are not read back: no rounding to two decimals.
    EXPECT_EQ(diagram.xMin, 0.127);
    // The spectrum column now holds the constant column C's spectrum.
    EXPECT_NE(std::string(diagram.columns[4].name), spectrumBefore);
    EXPECT_NE(std::string(diagram.columns[4].name).find('C'), std::string::npos);
}

TEST_F(ParametersDialog, UntouchedYEditsKeepTheExactValues) {
    diagram.yAutoscale = false;
    QTimer::singleShot(0, &dialog, [this] { ClickOk(); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(diagram.yDelta, 0.127);
    EXPECT_EQ(diagram.yMin, 2.5);
}

TEST_F(ParametersDialog, CancelChangesNothing) {
    const auto before = Settings(diagram);
    QTimer::singleShot(0, &dialog, [this] {
        dialog.m_chkShowMarks->setChecked(true);
        dialog.m_edtLineWidth->setText("7");
        dialog.m_cboSpectrumColumn->setCurrentIndex(0);
        QTest::mouseClick(dialog.m_btnCancel, Qt::LeftButton);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(Settings(diagram), before);
}

TEST_F(ParametersDialog, BadNumbersKeepTheDialogOpenWithTheFocusOnTheEdit) {
    diagram.yAutoscale = false;
    const auto before = Settings(diagram);
    Open();
    struct Case {
        QLineEdit* edit;
        const char* text;
    };
    const Case cases[] = {{dialog.m_edtLineWidth, "0"},
                          {dialog.m_edtLineWidth, "abc"},
                          {dialog.m_edtLineWidth, "1.5"},
                          {dialog.m_edtLineWidth, "101"},
                          {dialog.m_edtYMin, "1,5"},
                          {dialog.m_edtYMin, ""},
                          {dialog.m_edtYDelta, "0"},
                          {dialog.m_edtYDelta, "-2"},
                          {dialog.m_edtYDelta, "inf"},
                          {dialog.m_edtYDelta, "x4"},
                          // Labels that would not fit, or not differ.
                          {dialog.m_edtYMin, "1e308"},
                          {dialog.m_edtYMin, "-1000000.01"},
                          {dialog.m_edtYDelta, "1e308"},
                          {dialog.m_edtYDelta, "1000001"},
                          {dialog.m_edtYDelta, "1e-300"},
                          {dialog.m_edtYDelta, "0.0099"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        QString message;
        c.edit->setText(c.text);
        CloseNextMessageBox(&dialog, &message);
        QTest::mouseClick(dialog.m_btnOk, Qt::LeftButton);
        EXPECT_FALSE(message.isEmpty());
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), c.edit);
        EXPECT_TRUE(c.edit->isEnabled());
        EXPECT_EQ(Settings(diagram), before);
        c.edit->setText(c.edit == dialog.m_edtLineWidth ? "1" : "2.50");
    }
}

TEST_F(ParametersDialog, ValuesAtTheEndsOfTheirRangesAreStored) {
    diagram.yAutoscale = false;
    struct Case {
        const char* min;
        const char* delta;
        int width;
    };
    for (const Case& c : {Case{"-1000000", "0.01", 1}, Case{"1000000", "1000000", 100}}) {
        SCOPED_TRACE(c.min);
        QTimer::singleShot(0, &dialog, [&] {
            dialog.m_edtYMin->setText(c.min);
            dialog.m_edtYDelta->setText(c.delta);
            dialog.m_edtLineWidth->setText(QString::number(c.width));
            ClickOk();
        });
        EXPECT_EQ(dialog.exec(), QDialog::Accepted);
        EXPECT_EQ(diagram.yMin, std::stod(c.min));
        EXPECT_EQ(diagram.yDelta, std::stod(c.delta));
        EXPECT_EQ(diagram.lineWidth, c.width);
    }
}

// What Autoscale disables is not read: a bad number left in a Y edit before
// Autoscale was ticked again does not hold the dialog open.
TEST_F(ParametersDialog, DisabledYEditsAreNotRead) {
    diagram.yAutoscale = false;
    QTimer::singleShot(0, &dialog, [this] {
        dialog.m_edtYMin->setText("abc");
        dialog.m_edtYDelta->setText("0");
        QTest::mouseClick(dialog.m_chkYAutoscale, Qt::LeftButton);
        ClickOk();
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_TRUE(diagram.yAutoscale);
    EXPECT_EQ(diagram.yMin, 2.5);
    EXPECT_EQ(diagram.yDelta, 0.127);
}

TEST(ParametersDialogWithoutTable, ShowsAnEmptyListWithNothingSelected) {
    LoadedView view;
    CDia_Parameters dialog;
    dialog.m_pDiagram = &view.diagram;
    dialog.show();
    EXPECT_EQ(dialog.m_cboSpectrumColumn->count(), 0);
    EXPECT_EQ(dialog.m_cboSpectrumColumn->currentIndex(), -1);
    QTest::mouseClick(dialog.m_btnOk, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
