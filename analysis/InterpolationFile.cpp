// MakeInterpolationFile: the first data column resampled on a regular X grid,
// written as "<fileTitle>_Spline_<intervals>.txt" into the current directory.
#include "diagram/CDiagram.h"

#include "analysis/DerivedFile.h"
#include "analysis/PiecewiseTable.h"
#include "analysis/SortByX.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/Numbers.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

constexpr int kMaxPoints = 10'000'000;

// The first data column as a function of X: the rows sorted by X and straight
// lines between them, extended beyond the first and the last row.
class RowInterpolant {
public:
    RowInterpolant(const StringArray& xCells, const StringArray& yCells)
        : rows(xCells.GetSize()), x(rows), y(rows) {
        for (int i = 0; i < rows; ++i) {
            x[i] = xCells.NumberAt(i);
            y[i] = yCells.NumberAt(i);
        }
        SortByX(x.data(), y.data(), rows);
        if (rows >= 2) {
            table.assign(PiecewiseTableLength(rows), 0.0);
            BuildPiecewiseTable(x.data(), y.data(), rows, table.data());
        }
    }

    int Rows() const { return rows; }
    double FirstX() const { return x.front(); }
    double LastX() const { return x.back(); }

    // A single row has no piece to evaluate: its value holds at every X (an
    // unbuilt table would give 0.0, which is wrong for any other value).
    double ValueAt(double u) const { return rows == 1 ? y[0] : EvaluatePiecewise(table.data(), u); }

    // The largest magnitude of a value between the first and the last row:
    // straight lines between rows never leave the range of their values.
    double ValueBound() const {
        double bound = 0.0;
        for (double v : y)
            bound = std::max(bound, std::fabs(v));
        return bound;
    }

private:
    int rows;
    std::vector<double> x;
    std::vector<double> y;
    std::vector<double> table;
};

void WriteEmptyLines(AtomicFileWriter& file, long long count) {
    const std::string block(4096, '\n');
    while (count > 0) {
        const long long part = std::min<long long>(count, static_cast<long long>(block.size()));
        file.Write(std::string_view(block).substr(0, static_cast<std::size_t>(part)));
        count -= part;
    }
}

// Writes the count grid lines. Grid point t lies at X[0] + t * step, the step
// being xDelta when it is positive and (X[n-1] - X[0]) / count otherwise. With
// a positive xDelta the points below xMin stay empty lines, the first point
// not below it is moved to xMin itself, and the first point beyond the last
// row ends the list; the lines after it stay empty. Without rows no point has
// a value, and every line stays empty.
void WriteGridLines(AtomicFileWriter& file, const RowInterpolant& rows, int count, double xMin,
                    double xDelta) {
    int t = 0;
    if (rows.Rows() > 0 && count > 0) {
        const bool explicitStep = xDelta > 0;
        const double step = explicitStep ? xDelta : (rows.LastX() - rows.FirstX()) / count;
        bool placed = false;
        for (; t < count; ++t) {
            double u = rows.FirstX() + t * step;
            if (explicitStep) {
                if (u < xMin) {
                    file.Write("\n");
                    continue;
                }
                if (!placed) {
                    u = xMin;
                    placed = true;
                }
                if (u > rows.LastX())
                    break;
            }
            file.Write(FormatC("%.3f, %.3f\n", u, rows.ValueAt(u)));
        }
    }
    WriteEmptyLines(file, count - t);
}

// An upper bound of the bytes WriteGridLines writes: every line as wide as
// the widest X and the widest value can make it. X stays within the rows'
// range but for xMin, which also gives the only value taken outside it.
std::uint64_t GridLinesBound(const RowInterpolant& rows, int count, double xMin, double xDelta) {
    if (rows.Rows() == 0)
        return static_cast<std::uint64_t>(count);
    double xBound = std::max(std::fabs(rows.FirstX()), std::fabs(rows.LastX()));
    double valueBound = rows.ValueBound();
    if (xDelta > 0) {
        xBound = std::max(xBound, std::fabs(xMin));
        valueBound = std::max(valueBound, std::fabs(rows.ValueAt(xMin)));
    }
    const std::uint64_t line = FixedThreeWidth(xBound) + 2 + FixedThreeWidth(valueBound) + 1;
    return static_cast<std::uint64_t>(count) * line;
}

} // namespace

void CDiagram::MakeInterpolationFile() {
    if (columnCount == 0 || columns.IsEmpty())
        throw InvalidArgumentError("The diagram has no table to make an interpolation file of.");
    // A negative count of points is a mistake in the data file: a file named
    // after it with no points in it would look like a result.
    if (intervals < 0) {
        ShowWarning("Intervals = " + std::to_string(intervals) +
                    ": the number of points can not be negative.\n\nNo interpolation file "
                    "was written.");
        return;
    }
    if (intervals > kMaxPoints) {
        ShowWarning(RefusalMessage("interpolation", "Intervals", intervals, kMaxPoints, "points"));
        return;
    }

    const std::string fileName = FormatC("%s_Spline_%d.txt", fileTitle.c_str(), intervals);
    const std::string header = title + " (Interpolation " + std::to_string(intervals) +
                               " points)\n\n" + std::string(ColumnName(columns[0])) + ", " +
                               std::string(ColumnName(columns[1])) + "\n\n";
    std::optional<RowInterpolant> rows;
    const DerivedFile file{fileName, "interpolation",
                           [&] {
                               rows.emplace(values[0], values[1]);
                               return header.size() +
                                      GridLinesBound(*rows, intervals, fileXmin, fileXdelta);
                           },
                           [&](AtomicFileWriter& writer) {
                               writer.Write(header);
                               WriteGridLines(writer, *rows, intervals, fileXmin, fileXdelta);
                           }};
    if (WriteDerivedFile(*this, file))
        ShowInformation("Interpolation file was written to\n\n" + CurrentDirectoryText() + "\\" +
                        fileName + "\n\nIntervals = " + std::to_string(intervals));
}
