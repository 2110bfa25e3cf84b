#include "dialogs/CDia_Parameters.h"

#include "diagram/CDiagram.h"
#include "diagram/Numbers.h"
#include "dialogs/DialogUnits.h"
#include "qtdraw/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <utility>

namespace {

// Wider pens would only smear the plot and make every paint slow.
constexpr int kMaxLineWidth = 100;
// Y labels have two decimals and a few characters of room: a smaller step
// gives labels that do not differ, a larger value labels that do not fit.
constexpr double kSmallestYDelta = 0.01;
constexpr double kLargestYValue = 1'000'000;

// The whole text (blanks around it allowed) must be one number; nothing else
// and nothing more.
std::optional<double> ParseReal(const QString& text) {
    const QByteArray bytes = text.trimmed().toUtf8();
    const char* begin = bytes.constData();
    const char* end = begin + bytes.size();
    if (begin != end && *begin == '+')
        ++begin;
    double value = 0.0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end || begin == end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> ParseWhole(const QString& text) {
    const QByteArray bytes = text.trimmed().toUtf8();
    const char* begin = bytes.constData();
    const char* end = begin + bytes.size();
    if (begin != end && *begin == '+')
        ++begin;
    int value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end || begin == end)
        return std::nullopt;
    return value;
}

// What an edit of a setting gives: the setting itself while the edit holds
// the text the dialog put there (the value rounded), else the typed number
// when it lies from lowest to highest; nothing for anything else.
std::optional<double> EditedValue(const QLineEdit& edit, const QString& shown, double setting,
                                  double lowest, double highest) {
    if (edit.text() == shown)
        return setting;
    const std::optional<double> typed = ParseReal(edit.text());
    if (!typed || *typed < lowest || *typed > highest)
        return std::nullopt;
    return typed;
}

QCheckBox* CheckBox(QWidget* parent, const char* text, QRect where) {
    auto* box = new QCheckBox(QString::fromLatin1(text), parent);
    box->setGeometry(where);
    return box;
}

QLineEdit* Edit(QWidget* parent, QRect where) {
    auto* edit = new QLineEdit(parent);
    edit->setAlignment(Qt::AlignCenter);
    edit->setGeometry(where);
    return edit;
}

QLabel* Label(QWidget* parent, const char* text, QRect where, Qt::Alignment alignment) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setGeometry(where);
    return label;
}

// Group boxes only frame the controls: kept below them so that they never
// take a click meant for a control.
void Group(QWidget* parent, const char* text, QRect where) {
    auto* group = new QGroupBox(QString::fromLatin1(text), parent);
    group->setGeometry(where);
    group->lower();
}

} // namespace

CDia_Parameters::CDia_Parameters(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Parameters");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(DialogFont());
    const DialogUnits du(font());
    setFixedSize(du.X(369), du.Y(131));

    // In the order of the dialog's layout, which is also its tab order.
    m_btnOk = new QPushButton("OK", this);
    m_btnOk->setGeometry(du.Rect(253, 110, 50, 14));
    m_btnOk->setDefault(true);
    m_btnCancel = new QPushButton("Cancel", this);
    m_btnCancel->setGeometry(du.Rect(312, 110, 50, 14));
    m_chkYAutoscale = CheckBox(this, "Autoscale", du.Rect(30, 23, 67, 10));
    m_chkYShowNet = CheckBox(this, "Show net", du.Rect(30, 41, 67, 10));
    m_edtYMin = Edit(this, du.Rect(63, 60, 40, 14));
    m_edtYDelta = Edit(this, du.Rect(63, 80, 40, 14));
    m_chkXAutoscale = CheckBox(this, "Autoscale", du.Rect(152, 23, 67, 10));
    m_chkXShowNet = CheckBox(this, "Show net", du.Rect(152, 41, 67, 10));
    m_edtXMin = Edit(this, du.Rect(183, 60, 40, 14));
    m_edtXDelta = Edit(this, du.Rect(183, 80, 40, 14));
    m_chkShowMarks = CheckBox(this, "Show marks", du.Rect(274, 23, 67, 10));
    m_chkShowLegend = CheckBox(this, "Show legend", du.Rect(274, 41, 67, 10));
    Group(this, "Y Axe", du.Rect(7, 7, 113, 95));
    Label(this, "Y min:", du.Rect(21, 66, 33, 8), Qt::AlignRight);
    Label(this, "Y delta:", du.Rect(21, 86, 33, 8), Qt::AlignRight);
    Group(this, "X Axe", du.Rect(127, 7, 113, 95));
    QLabel* xMinLabel = Label(this, "X min:", du.Rect(142, 66, 33, 8), Qt::AlignRight);
    QLabel* xDeltaLabel = Label(this, "X delta:", du.Rect(142, 86, 33, 8), Qt::AlignRight);
    Group(this, "Graph", du.Rect(249, 7, 113, 94));
    m_edtLineWidth = Edit(this, du.Rect(325, 60, 18, 14));
    Label(this, "Line width:", du.Rect(261, 66, 58, 8), Qt::AlignRight);
    Label(this, "Show Spectrum for:", du.Rect(7, 116, 72, 8), Qt::AlignLeft);
    m_cboSpectrumColumn = new QComboBox(this);
    const QRect comboArea = du.Rect(84, 112, 156, 95); // the height is the dropped-down list's
    m_cboSpectrumColumn->setGeometry(comboArea.x(), comboArea.y(), comboArea.width(),
                                     m_cboSpectrumColumn->sizeHint().height());
    m_cboSpectrumColumn->setMaxVisibleItems(
        std::max(1, comboArea.height() / QFontMetrics(font()).height() - 1));

    // The X axis shows only its grid box; its other controls stay hidden.
    for (QWidget* hidden : std::initializer_list<QWidget*>{m_chkXAutoscale, m_edtXMin, m_edtXDelta,
                                                           xMinLabel, xDeltaLabel})
        hidden->hide();
    // The Y range edits start disabled; the hidden X edits take no tab stop.
    m_edtYMin->setEnabled(false);
    m_edtYDelta->setEnabled(false);
    m_edtXMin->setFocusPolicy(Qt::ClickFocus);
    m_edtXDelta->setFocusPolicy(Qt::ClickFocus);
    QWidget* const tabOrder[] = {m_btnOk,         m_btnCancel,    m_chkYAutoscale,
                                 m_chkYShowNet,   m_edtYMin,      m_edtYDelta,
                                 m_chkXAutoscale, m_chkXShowNet,  m_chkShowMarks,
                                 m_chkShowLegend, m_edtLineWidth, m_cboSpectrumColumn};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(m_btnOk, &QPushButton::clicked, this, &CDia_Parameters::accept);
    connect(m_btnCancel, &QPushButton::clicked, this, &CDia_Parameters::reject);
    connect(m_chkYAutoscale, &QCheckBox::clicked, this, [this] { UpdateYRangeControls(); });
}

void CDia_Parameters::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        OnInitDialog();
    QDialog::showEvent(event);
}

void CDia_Parameters::OnInitDialog() {
    if (!m_pDiagram)
        return;
    const CDiagram& diagram = *m_pDiagram;
    m_chkShowMarks->setChecked(diagram.showMarks);
    m_chkShowLegend->setChecked(diagram.showLegend);
    SetEditText(m_edtLineWidth, FormatC("%d", diagram.lineWidth));
    m_chkXShowNet->setChecked(diagram.xShowNet);
    SetEditText(m_edtXMin, FormatC("%.2f", diagram.xMin));
    SetEditText(m_edtXDelta, FormatC("%.2f", diagram.xDelta));
    m_chkYAutoscale->setChecked(diagram.yAutoscale);
    m_chkYShowNet->setChecked(diagram.yShowNet);
    SetEditText(m_edtYMin, FormatC("%.2f", diagram.yMin));
    SetEditText(m_edtYDelta, FormatC("%.2f", diagram.yDelta));
    initialYMin = m_edtYMin->text();
    initialYDelta = m_edtYDelta->text();

    // List entry k is data column k + 1: neither the X column nor the
    // spectrum column is offered.
    m_cboSpectrumColumn->clear();
    for (int i = 1; i <= diagram.columnCount - 2; ++i)
        m_cboSpectrumColumn->addItem(TextFromBytes(m_pDiagram->columns[i].name));
    const bool listed =
        diagram.spectrumColumn >= 0 && diagram.spectrumColumn < m_cboSpectrumColumn->count();
    m_cboSpectrumColumn->setCurrentIndex(listed ? diagram.spectrumColumn : -1);

    UpdateYRangeControls();
    m_btnOk->setFocus();
}

void CDia_Parameters::UpdateYRangeControls() {
    const bool fixedRange = !m_chkYAutoscale->isChecked();
    m_edtYMin->setEnabled(fixedRange);
    m_edtYDelta->setEnabled(fixedRange);
}

void CDia_Parameters::SetEditText(QLineEdit* edit, std::string text) {
    m_strText = std::move(text);
    edit->setText(QString::fromStdString(m_strText));
}

void CDia_Parameters::Refuse(QLineEdit* edit, const char* message) {
    QMessageBox::warning(this, windowTitle(), QString::fromLatin1(message));
    edit->setFocus();
    edit->selectAll();
}

void CDia_Parameters::accept() {
    if (!m_pDiagram) {
        QDialog::accept();
        return;
    }
    CDiagram& diagram = *m_pDiagram;
    // Every number is checked before anything is stored, so a refusal leaves
    // the diagram as it was. The hidden X edits hold xMin and xDelta rounded
    // to two decimals and are not read back; the Y edits only when the user
    // changed their text, for the same reason. A typed Y value must give
    // labels that fit left of the plot and differ in their two decimals.
    const std::optional<int> lineWidth = ParseWhole(m_edtLineWidth->text());
    if (!lineWidth || *lineWidth < 1 || *lineWidth > kMaxLineWidth) {
        Refuse(m_edtLineWidth, "The line width must be a whole number from 1 to 100.");
        return;
    }
    // The Y edits are read while they are enabled: with Autoscale on, every
    // paint computes the range.
    std::optional<double> yMin = diagram.yMin;
    std::optional<double> yDelta = diagram.yDelta;
    if (!m_chkYAutoscale->isChecked()) {
        yMin = EditedValue(*m_edtYMin, initialYMin, diagram.yMin, -kLargestYValue, kLargestYValue);
        if (!yMin) {
            Refuse(m_edtYMin, "Y min must be a number from -1000000 to 1000000.");
            return;
        }
        yDelta = EditedValue(*m_edtYDelta, initialYDelta, diagram.yDelta, kSmallestYDelta,
                             kLargestYValue);
        if (!yDelta) {
            Refuse(m_edtYDelta, "Y delta must be a number from 0.01 to 1000000.");
            return;
        }
    }

    diagram.showMarks = m_chkShowMarks->isChecked();
    diagram.showLegend = m_chkShowLegend->isChecked();
    diagram.lineWidth = *lineWidth;
    diagram.xShowNet = m_chkXShowNet->isChecked();
    diagram.yAutoscale = m_chkYAutoscale->isChecked();
    diagram.yShowNet = m_chkYShowNet->isChecked();
    diagram.yMin = *yMin;
    diagram.yDelta = *yDelta;
    // The spectrum curve must be the newly chosen column's at the repaint
    // that follows.
    const int column = m_cboSpectrumColumn->currentIndex();
    if (column >= 0 && column != diagram.spectrumColumn) {
        diagram.spectrumColumn = column;
        diagram.ComputeSpectrum();
    }
    QDialog::accept();
}
