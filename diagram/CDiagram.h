// The object behind every diagram window: the table loaded from a data file,
// the display settings, the drawing resources and the layout of the last
// paint. Its operations are split by concern: loading here in diagram/,
// scales, drawing and hit tests in render/, spectrum and derived files in
// analysis/.
#pragma once

#include "diagram/CheckedArray.h"
#include "diagram/Color.h"
#include "diagram/ColumnRecord.h"
#include "diagram/DateTime.h"
#include "diagram/DiagramHost.h"
#include "diagram/DrawingResources.h"
#include "diagram/Geometry.h"
#include "diagram/LoadLimits.h"
#include "diagram/LoadedTable.h"
#include "diagram/ReadPosition.h"
#include "diagram/StringArray.h"
#include "render/RowPixelTable.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CDrawContext;
class LoadProgress;
struct PaintLayout;
struct ZoomRequest;

// The curve under a pixel: the first shown column, in index order, that
// passes within a few pixels of it vertically.
struct CurveHit {
    int column = 0;
    double x = 0.0;    // the X value under the pixel
    double y = 0.0;    // the column's value there
    std::string xText; // X as a date or time for a date-time X, else empty
};

// The values of every shown column at one pixel column.
struct CurveValues {
    double x = 0.0;
    std::string xText;          // as in CurveHit
    std::vector<double> values; // indexed by column; entry 0 (the X column) unused
};

// What a spectrum column is computed from: the numbers of the chosen data
// column and the table's row count.
struct SpectrumSource {
    std::span<const double> numbers;
    int rows = 0;
};

// The loaded table is the diagram's base: its members are the diagram's own,
// and TakeTable replaces all of them at once.
class CDiagram : public LoadedTable {
public:
    // view: the owning window (client area, message boxes, wait cursor); it
    // may be null for a diagram that shows nothing and asks nothing.
    explicit CDiagram(IDiagramHost* view);
    CDiagram(const CDiagram&) = delete;
    CDiagram& operator=(const CDiagram&) = delete;

    // ---- Loading (diagram/DataFileLoader.cpp) ----
    // Open: the read when a window opens the file; its last line is stored
    // even without a line feed and the spectrum is computed. A zoom window's
    // open takes its X range from the zoom request. OpenSpectrumLater: the
    // same read, which leaves the zoom request alone (the caller sets xRange
    // for a zoom window) and leaves the spectrum column to the caller (only
    // spectrumSize is set): for a read away from the interface thread, and
    // for a table whose spectrum may not be looked at. Refresh: a later read
    // of the same file; a last line without a line feed is a row still being
    // written and is left for the next read, and the caller computes the
    // spectrum once it has carried the window's settings over.
    enum class LoadMode { Open, OpenSpectrumLater, Refresh };
    // Reads a data file into the table; false (after a message) when the file
    // cannot be opened or is refused: also when it changes while it is read
    // or goes beyond the limits. Raises InvalidArgumentError for a file
    // without a header line and for a data row with too few cells, and
    // LoadCancelled when the limits' progress is cancelled.
    bool LoadFile(const std::string& path, const LoadLimits& limits = {},
                  LoadMode mode = LoadMode::Open);
    // Cuts one table line into cells (tokens, then one empty text); returns
    // their count, or -1 when the X token of a date-time data row is no date.
    int SplitLine(std::string_view line);
    // A day number as a time (year 1899) or a date; "Invalid DateTime" while
    // dateScratch holds an invalid status. dateScratch itself is left as it is.
    std::string DateText(double day) const;

    // Replaces the table with table, whole; settings and working state stay.
    void TakeTable(LoadedTable&& table) { static_cast<LoadedTable&>(*this) = std::move(table); }
    // Moves the table out, leaving an empty one.
    LoadedTable ReleaseTable() { return std::exchange(static_cast<LoadedTable&>(*this), {}); }

    // ---- Spectrum (analysis/Spectrum.cpp) ----
    // With progress, raises LoadCancelled soon after that load is cancelled.
    void ComputeSpectrum(const LoadProgress* progress = nullptr);
    // ComputeSpectrum in two halves, for a window that shows its table before
    // the spectrum is made. The first sets spectrumSize and checks the chosen
    // column as ComputeSpectrum does, and gives what the spectrum column is
    // computed from (SpectrumColumnOf), nothing for fewer than two rows. The
    // second puts the computed column in place and names it.
    std::optional<SpectrumSource> SpectrumToCompute();
    void TakeSpectrum(StringArray&& column);

    // ---- Drawing (render/) ----
    // Computes the layout of this paint, stores it into the layout members and
    // legend positions, then draws from it into dc. While the process-wide
    // zoom request is set (g_bZoomOpen), it also writes the title of the zoom
    // window into it (g_strZoomTitle).
    void Paint(CDrawContext& dc);
    // The first paint of a zoom window opened with the request zoom: the
    // same paint, writing the window's title into zoom.title.
    void Paint(CDrawContext& dc, ZoomRequest& zoom);
    // The steps of a paint: each draws from the layout into the context given.
    void DrawFrame(const PaintLayout& layout, CDrawContext& dc) const;
    void DrawAxes(const PaintLayout& layout, CDrawContext& dc) const;
    void DrawMinorTicks(const PaintLayout& layout, CDrawContext& dc) const;
    // One column's curve with the pen the caller has selected.
    void DrawCurve(const PaintLayout& layout, CDrawContext& dc, int column) const;
    // The marker line, and marker B with both lines named while B is set.
    void DrawMarker(const PaintLayout& layout, CDrawContext& dc) const;
    // The marker lines over the picture the last paint left: for a view that
    // keeps that picture and redraws only the marker while it moves.
    void DrawMarkerOverLastPaint(CDrawContext& dc) const;
    // The automatic Y scale of the layout's plot from the shown data: sets
    // the layout's yMin and yDelta, or leaves them when the scale is undefined.
    void AutoscaleY(PaintLayout& layout) const;

    // ---- Pixel mapping and hit tests (render/) ----
    bool ValueAtPixel(int x, int y, double* xValue, double* yValue);
    Point PixelAtValue(double xValue, double yValue);
    // Nearest-curve mode when values is empty; values mode (one value per
    // column index) otherwise. A values table too small for the shown columns
    // raises InvalidArgumentError before anything is written.
    bool HitTestCurves(int x, int y, double* xValue, double* yValue, int* column,
                       std::string& xText, std::span<double> values = {});
    bool HitTestLegend(int x, int y);
    // Typed forms of HitTestCurves for the shell: nothing when no curve passes
    // near (x, y), or when x lies outside the plot.
    std::optional<CurveHit> CurveAtPixel(int x, int y);
    std::optional<CurveValues> CurveValuesAtPixel(int x);

    // ---- Derived files (analysis/) ----
    void MakeInterpolationFile();
    void MakeCorrelationFile();

    // ---- Display settings ----
    bool yAutoscale = true;
    double xMin = 0.0;
    double xDelta = 10.0;
    double yMin = 0.0;
    double yDelta = 5.0;
    bool xShowNet = true;
    bool yShowNet = true;
    bool showMarks = false;
    bool showLegend = true;
    int lineWidth = 1;
    int spectrumColumn = 0;
    bool showSpectrum = false;
    bool showXYByMouse = true;
    double markerX = -1.0;
    // The second marker line, at this X while it is set; the rows between the
    // two are what the measurements are taken over.
    std::optional<double> markerB;

    // ---- Layout and drawing state ----
    bool fitToWindow = true;
    bool drawFrame = true;
    int frameMargin = 10;
    int plotInset = 55;
    int legendMargin = 100;
    // Also the grid step of a table without rows until a paint with rows
    // sets it: one grid line every 50 pixels, like the Y axis.
    double xGridStepPx = 50.0;
    double yGridStepPx = 50.0;
    Rect frameRect{20, 20, 820, 520};
    Rect plotRect{75, 75, 665, 465};
    // Device pixels per window pixel of the last paint: where the curves the
    // mouse meets were drawn.
    double pixelRatio = 1.0;
    COLORREF titleColor = 0;
    COLORREF labelColor = 0;
    FontSpec titleFont;
    FontSpec labelFont;
    FontSpec axisNameFont;
    PenSpec gridPen;
    PenSpec markerPen;
    PenSpec markerBPen; // drawn dashed
    CheckedArray<COLORREF> palette{"palette"};

    // ---- Working members ----
    IDiagramHost* view = nullptr;
    CDrawContext* dc = nullptr;
    std::string scratch;
    // The tokens of the line being split and one empty text after them: views
    // into that line (or into scratch for a converted date), valid until the
    // next SplitLine. LoadFile empties it, and scratch, whenever it returns,
    // since its lines live no longer than the load.
    CheckedArray<std::string_view> cells{"cells"};
    // The pixel columns of the rows of the last paint, for the next one.
    mutable RowPixelTable rowPixelTable;
    // The same on the device's pixels, for a paint at a pixel ratio other than 1.
    mutable RowPixelTable deviceRowPixelTable;

    // Message boxes through the owning window; nothing when there is none.
    void ShowWarning(const std::string& text);
    void ShowInformation(const std::string& text);

private:
    void CreateFonts();
    void PaintLaidOut(CDrawContext& dc, const PaintLayout& layout);
    void StoreLayout(const PaintLayout& layout);
};
