// The Measurements panel's table: one row for X (the markers' X and their
// distance), then one per measured curve with its values at A and B, B - A,
// and its statistics. Texts are made when a cell is shown, so a drag that
// measures at every mouse move formats only what is on screen.
#pragma once

#include "analysis/MarkerMeasurements.h"

#include <QAbstractTableModel>
#include <QString>

class CDiagram;

class CMeasurementsModel : public QAbstractTableModel {
public:
    // Shows measurements of diagram, which must stay until the next Show;
    // waiting: the statistics are being computed. Null diagram: nothing.
    void Show(const CDiagram* diagram, MarkerMeasurements measurements, bool waiting);
    const MarkerMeasurements& Shown() const { return shown; }

    // The line above the table: which rows are measured, and the distance.
    QString RangeText() const;
    // The whole table as tab-separated lines, the header first.
    QString TabSeparated() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString Text(int row, int column) const;
    QString XRowText(int column) const;
    QString CurveText(const CurveMeasurement& curve, int column) const;

    const CDiagram* diagram = nullptr;
    MarkerMeasurements shown;
    bool waiting = false;
};
