// The Measurements dock of the main window: the table of CMeasurementsModel
// for the active diagram window, measured again after every paint of that
// window, so it follows marker moves, legend clicks, Parameters changes and
// refreshes. Where X is out of order and the table large, the statistics are
// computed away from the interface thread. Ctrl+C in the table copies it as
// tab-separated text with its header row.
#pragma once

#include "analysis/MarkerMeasurements.h"
#include "app/MeasurementsModel.h"

#include <QDockWidget>
#include <QPointer>

#include <cstdint>
#include <memory>
#include <vector>

class CKelvaroView;
class QLabel;
class QTableView;
template <class Result> class CValueJob;

class CMeasurementsPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit CMeasurementsPanel(QWidget* parent);
    ~CMeasurementsPanel() override;

    // Measures view's diagram from now on; null shows nothing.
    void Follow(CKelvaroView* view);
    // Measures the followed diagram again.
    void Refresh();
    const CMeasurementsModel& Model() const { return m_model; }
    // Whether a pass over rows out of order is running away from the
    // interface thread.
    bool PassRunning() const;
    // The cells of a pass over rows out of order that are read in place;
    // above, the pass runs away from the interface thread.
    void SetCellsOfAPassInPlace(std::size_t cells) { m_cellsOfAPassInPlace = cells; }
    QString RangeText() const;

signals:
    // The panel's own close button was used.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a pass over rows out of order was started for: the cells, by
    // their content and size, and the range.
    struct PassKey {
        std::vector<std::uint64_t> contents;
        std::vector<int> sizes;
        MeasuredRange range;
        bool operator==(const PassKey& other) const;
    };

    void Show(const CDiagram* diagram, MarkerMeasurements measurements, bool waiting);
    void StartPass(const CDiagram& diagram, PassKey key);
    void OnPassFinished();

    QPointer<CKelvaroView> m_pView;
    std::vector<QMetaObject::Connection> m_viewConnections;
    CMeasurementsModel m_model;
    QLabel* m_pRange;
    QTableView* m_pTable;
    std::unique_ptr<CValueJob<std::vector<CurveStatistics>>> m_pPass;
    PassKey m_passKey;
    bool m_bPassDone = false;
    std::size_t m_cellsOfAPassInPlace = kCellsOfAPassInPlace;
    std::vector<CurveStatistics> m_passResult;
};
