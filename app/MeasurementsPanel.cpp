#include "app/MeasurementsPanel.h"

#include "app/CKelvaroView.h"
#include "app/Job.h"
#include "diagram/CDiagram.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

bool CMeasurementsPanel::PassKey::operator==(const PassKey& other) const {
    return contents == other.contents && sizes == other.sizes &&
           range.byValue == other.range.byValue && range.from == other.range.from &&
           range.to == other.range.to;
}

CMeasurementsPanel::CMeasurementsPanel(QWidget* parent)
    : QDockWidget(QStringLiteral("Measurements"), parent), m_pRange(new QLabel),
      m_pTable(new QTableView) {
    setObjectName(QStringLiteral("measurements"));
    m_pTable->setModel(&m_model);
    m_pTable->verticalHeader()->hide();
    m_pTable->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_pTable->setWordWrap(false);
    m_pTable->installEventFilter(this);
    m_pRange->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* contents = new QWidget;
    auto* layout = new QVBoxLayout(contents);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(m_pRange);
    layout->addWidget(m_pTable);
    setWidget(contents);
}

CMeasurementsPanel::~CMeasurementsPanel() = default;

void CMeasurementsPanel::Follow(CKelvaroView* view) {
    if (view && view == m_pView && !m_viewConnections.empty())
        return;
    for (const QMetaObject::Connection& connection : m_viewConnections)
        disconnect(connection);
    m_viewConnections.clear();
    m_pView = view;
    if (view) {
        m_viewConnections.push_back(
            connect(view, &CKelvaroView::Painted, this, &CMeasurementsPanel::Refresh));
        // A closing window's diagram goes before the window says so.
        m_viewConnections.push_back(
            connect(view, &QObject::destroyed, this, [this] { Follow(nullptr); }));
    }
    Refresh();
}

QString CMeasurementsPanel::RangeText() const {
    return m_pRange->text();
}

bool CMeasurementsPanel::PassRunning() const {
    return m_pPass && m_pPass->Running();
}

void CMeasurementsPanel::closeEvent(QCloseEvent* event) {
    QDockWidget::closeEvent(event);
    emit Closed();
}

void CMeasurementsPanel::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    Refresh();
}

void CMeasurementsPanel::Refresh() {
    if (!m_pView || !isVisible()) {
        m_pPass.reset();
        Show(nullptr, {}, false);
        return;
    }
    CDiagram& diagram = m_pView->Diagram();
    MarkerMeasurements measurements;
    try {
        measurements = MeasureAtMarkers(diagram, kMeasuredCurves, m_cellsOfAPassInPlace);
    } catch (const std::exception&) {
        // A table the window cannot map either (its own paint says why):
        // nothing to measure.
        Show(nullptr, {}, false);
        return;
    }
    if (!measurements.statisticsPending) {
        Show(&diagram, std::move(measurements), false);
        return;
    }
    PassKey key{{}, {}, measurements.range};
    std::vector<int> columns = MeasuredColumns(diagram);
    columns.push_back(0);
    for (const int c : columns) {
        key.contents.push_back(diagram.values[c].Content());
        key.sizes.push_back(diagram.values[c].GetSize());
    }
    if (!m_pPass || !(key == m_passKey))
        StartPass(diagram, std::move(key));
    if (m_bPassDone)
        for (std::size_t i = 0; i < measurements.curves.size() && i < m_passResult.size(); ++i)
            measurements.curves[i].statistics = m_passResult[i];
    Show(&diagram, std::move(measurements), !m_bPassDone);
}

namespace {

// What decides which cells hold text: the columns are fitted to their texts
// again when it changes.
std::array<std::size_t, 5> Shape(const CMeasurementsModel& model) {
    const MarkerMeasurements& shown = model.Shown();
    return {static_cast<std::size_t>(model.rowCount()), shown.a.has_value(), shown.b.has_value(),
            !shown.curves.empty() && shown.curves[0].statistics.rows > 0, shown.statisticsPending};
}

// The rows from the top of the table whose texts widen their columns while
// a marker moves: more than a panel shows.
constexpr int kRowsFittedWhileMoving = 40;

} // namespace

void CMeasurementsPanel::Show(const CDiagram* diagram, MarkerMeasurements measurements,
                              bool waiting) {
    const auto before = Shape(m_model);
    m_model.Show(diagram, std::move(measurements), waiting);
    m_pRange->setText(m_model.RangeText());
    if (Shape(m_model) != before) {
        m_pTable->resizeColumnsToContents();
        return;
    }
    // While a marker moves the columns only widen, so that the figures on
    // screen are never cut short and the table does not jitter.
    const int first = std::max(m_pTable->rowAt(0), 0);
    const int last = std::min(first + kRowsFittedWhileMoving, m_model.rowCount());
    for (int column = 0; column < m_model.columnCount(); ++column) {
        int wanted = 0;
        for (int row = first; row < last; ++row)
            wanted =
                std::max(wanted, m_pTable->sizeHintForIndex(m_model.index(row, column)).width());
        if (wanted > m_pTable->columnWidth(column))
            m_pTable->setColumnWidth(column, wanted);
    }
}

// The pass reads copies of the columns, which share the window's cells:
// their numbers and summaries are made here first, so the pass only reads.
void CMeasurementsPanel::StartPass(const CDiagram& diagram, PassKey key) {
    m_passKey = std::move(key);
    m_bPassDone = false;
    m_passResult.clear();
    StringArray x = diagram.values[0];
    x.Summary();
    std::vector<StringArray> columns;
    for (const int c : MeasuredColumns(diagram)) {
        columns.push_back(diagram.values[c]);
        columns.back().Summary();
    }
    m_pPass = std::make_unique<CValueJob<std::vector<CurveStatistics>>>(
        [x = std::move(x), columns = std::move(columns),
         range = m_passKey.range](IDiagramHost&, LoadProgress& progress) {
            std::vector<const StringArray*> shown;
            for (const StringArray& column : columns)
                shown.push_back(&column);
            return StatisticsBetween(x, range.byValue, shown, range.from, range.to, &progress);
        },
        this);
    connect(m_pPass.get(), &CJob::Finished, this, &CMeasurementsPanel::OnPassFinished);
}

void CMeasurementsPanel::OnPassFinished() {
    try {
        m_passResult = m_pPass->TakeResult();
    } catch (const std::exception&) {
        // Cancelled for a newer pass, or out of memory: nothing to show.
        return;
    }
    m_bPassDone = true;
    Refresh();
}

// Ctrl+C in the table copies the panel rather than the diagram: the table
// takes the key before the main window's accelerator does.
bool CMeasurementsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pTable &&
        (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        event->accept();
        if (event->type() == QEvent::KeyPress)
            QApplication::clipboard()->setText(m_model.TabSeparated());
        return true;
    }
    return QDockWidget::eventFilter(watched, event);
}
