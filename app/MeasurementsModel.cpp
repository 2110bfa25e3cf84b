#include "app/MeasurementsModel.h"

#include "diagram/CDiagram.h"
#include "qtdraw/QtText.h"

#include <array>
#include <cmath>

namespace {

enum Column {
    kCurve,
    kAtA,
    kAtB,
    kDifference,
    kRows,
    kMin,
    kMinX,
    kMax,
    kMaxX,
    kMean,
    kRms,
    kDeviation,
    kPeakToPeak,
    kColumns
};

const std::array<QString, kColumns> kHeader{
    QStringLiteral("Curve"),       QStringLiteral("A"),    QStringLiteral("B"),
    QStringLiteral("B \u2212 A"),  QStringLiteral("Rows"), QStringLiteral("Min"),
    QStringLiteral("X of min"),    QStringLiteral("Max"),  QStringLiteral("X of max"),
    QStringLiteral("Mean"),        QStringLiteral("RMS"),  QStringLiteral("Std dev"),
    QStringLiteral("Peak-to-peak")};

// Ten significant digits in the "C" locale; nothing for a value that is not
// there.
QString Number(double value) {
    return std::isnan(value) ? QString() : QString::number(value, 'g', 10);
}

// A span of days as days, hours, minutes, seconds and milliseconds.
QString Duration(double days) {
    const double seconds = std::abs(days) * 86400.0;
    if (!(seconds < 1e12))
        return Number(days) + QStringLiteral(" d");
    long long ms = std::llround(seconds * 1000.0);
    const long long wholeDays = ms / 86'400'000;
    ms %= 86'400'000;
    QString text = QString::asprintf("%02lld:%02lld:%02lld.%03lld", ms / 3'600'000,
                                     ms / 60'000 % 60, ms / 1000 % 60, ms % 1000);
    if (wholeDays > 0)
        text.prepend(QString::number(wholeDays) + QStringLiteral(" d "));
    return days < 0 ? QStringLiteral("-") + text : text;
}

// An X value as the readout names it: the date or time of a date-time X.
QString XText(const CDiagram& diagram, double x) {
    return diagram.xIsDateTime ? QString::fromStdString(diagram.DateText(x)) : Number(x);
}

// The X of a row: its label where X is labels.
QString RowX(const CDiagram& diagram, std::size_t row) {
    const StringArray& x = diagram.values[0];
    const auto index = static_cast<long long>(row);
    if (!diagram.xIsNumber && !diagram.xIsDateTime) {
        const CellText label = x.GetAt(index);
        return TextFromBytes(label.View());
    }
    return XText(diagram, x.NumberAt(index));
}

QString DistanceText(const CDiagram& diagram, double dx) {
    return diagram.xIsDateTime ? Duration(dx) : Number(dx);
}

} // namespace

void CMeasurementsModel::Show(const CDiagram* shownDiagram, MarkerMeasurements measurements,
                              bool statisticsWaiting) {
    const bool sameRows =
        shownDiagram == diagram && measurements.curves.size() == shown.curves.size();
    if (!sameRows)
        beginResetModel();
    diagram = shownDiagram;
    shown = std::move(measurements);
    waiting = statisticsWaiting;
    if (!sameRows)
        endResetModel();
    else if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, kColumns - 1));
}

QString CMeasurementsModel::RangeText() const {
    if (!diagram)
        return {};
    QString text;
    if (shown.betweenMarkers) {
        const std::size_t rows = shown.curves.empty() ? 0 : shown.curves[0].statistics.rows;
        const double dx = *shown.b - *shown.a;
        text = waiting ? QStringLiteral("Between A and B: measuring\u2026")
                       : QStringLiteral("Between A and B: %1 rows").arg(rows);
        text += QStringLiteral(", \u0394X = ") + DistanceText(*diagram, dx);
        if (diagram->xIsNumber && dx != 0)
            text += QStringLiteral(", 1/\u0394X = ") + Number(1.0 / dx);
    } else {
        text = QStringLiteral("All %1 rows; set markers A and B to measure between them")
                   .arg(diagram->columnCount > 0 ? diagram->values[0].GetSize() : 0);
    }
    if (shown.curvesLeftOut > 0)
        text += QStringLiteral(" (the first %1 curves; %2 more are not measured)")
                    .arg(shown.curves.size())
                    .arg(shown.curvesLeftOut);
    return text;
}

QString CMeasurementsModel::TabSeparated() const {
    QStringList lines{QStringList(kHeader.begin(), kHeader.end()).join(u'\t')};
    for (int row = 0; row < rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < kColumns; ++column)
            cells.append(Text(row, column));
        lines.append(cells.join(u'\t'));
    }
    return lines.join(u'\n') + u'\n';
}

int CMeasurementsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !diagram ? 0 : static_cast<int>(shown.curves.size()) + 1;
}

int CMeasurementsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant CMeasurementsModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::TextAlignmentRole && index.column() != kCurve)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return Text(index.row(), index.column());
}

QVariant CMeasurementsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= kColumns)
        return {};
    return kHeader[static_cast<std::size_t>(section)];
}

QString CMeasurementsModel::Text(int row, int column) const {
    if (!diagram || row < 0 || row > static_cast<int>(shown.curves.size()))
        return {};
    return row == 0 ? XRowText(column)
                    : CurveText(shown.curves[static_cast<std::size_t>(row - 1)], column);
}

QString CMeasurementsModel::XRowText(int column) const {
    switch (column) {
    case kCurve:
        return QStringLiteral("X");
    case kAtA:
        return shown.a ? XText(*diagram, *shown.a) : QString();
    case kAtB:
        return shown.b ? XText(*diagram, *shown.b) : QString();
    case kDifference:
        return shown.a && shown.b ? DistanceText(*diagram, *shown.b - *shown.a) : QString();
    default:
        return {};
    }
}

QString CMeasurementsModel::CurveText(const CurveMeasurement& curve, int column) const {
    const CurveStatistics& s = curve.statistics;
    switch (column) {
    case kCurve:
        return TextFromBytes(ColumnName(diagram->columns[curve.column]));
    case kAtA:
        return Number(curve.atA);
    case kAtB:
        return Number(curve.atB);
    case kDifference:
        return Number(curve.atB - curve.atA);
    case kRows:
        return waiting ? QStringLiteral("\u2026") : QString::number(s.rows);
    default:
        break;
    }
    if (s.rows == 0)
        return {};
    switch (column) {
    case kMin:
        return Number(s.min);
    case kMinX:
        return RowX(*diagram, s.minRow);
    case kMax:
        return Number(s.max);
    case kMaxX:
        return RowX(*diagram, s.maxRow);
    case kMean:
        return Number(s.mean);
    case kRms:
        return Number(s.rms);
    case kDeviation:
        return Number(s.deviation);
    case kPeakToPeak:
        return Number(s.PeakToPeak());
    default:
        return {};
    }
}
