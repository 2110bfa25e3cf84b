#include "app/ViewInput.h"

#include "diagram/CDiagram.h"
#include "diagram/Numbers.h"
#include "diagram/ZoomRequest.h"
#include "qtdraw/QtText.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QRect>
#include <QRubberBand>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

// A press this close to the marker line (in pixels) grabs it.
constexpr int kMarkerGrab = 2;
// A right double-click this close to the marker line removes it.
constexpr int kMarkerRemove = 3;
// Narrower zoom rectangles (and every one drawn to the left) open nothing.
constexpr int kMinZoomWidth = 10;

// The window pixel under the pointer. On a screen scaled by a fraction the
// pointer lies between window pixels; it is in the one it passed into, as a
// pixel covers [x, x + 1).
QPoint PixelOf(const QMouseEvent& event) {
    const QPointF at = event.position();
    return QPoint(static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y())));
}

// The readouts write every number with five decimals, in the "C" locale.
std::string ReadoutNumber(double value) {
    return FormatFixed(value, 5);
}

// " X = " and the X under the mouse: the date or time text of a date-time
// axis, otherwise the number.
std::string XPart(const std::string& xText, double x) {
    return " X = " + (xText.empty() ? ReadoutNumber(x) : xText);
}

// A column's name as UTF-8, decoded as the legend decodes it. Most names are
// plain ASCII and stay as they are: a readout of 100,000 curves decodes none.
std::string ShownName(const ColumnRecord& column) {
    const std::string_view name = ColumnName(column);
    if (std::ranges::all_of(name, [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(name);
    return TextFromBytes(name).toStdString();
}

bool Shifted(const QInputEvent& event) {
    return event.modifiers().testFlag(Qt::ShiftModifier);
}

} // namespace

CViewInput::CViewInput(QWidget& view, CDiagram& diagram, IViewShell& shell)
    : diagram(diagram), shell(shell), band(new QRubberBand(QRubberBand::Rectangle, &view)) {}

CViewInput::~CViewInput() {
    delete band.data();
}

void CViewInput::MousePress(QMouseEvent& event) {
    const QPoint at = PixelOf(event);
    if (event.button() == Qt::MiddleButton) {
        // B goes to the pointer and follows it while the button is down.
        MarkerReadout(at, Marker::B);
        m_bDragMarkerB = diagram.markerB.has_value();
        return;
    }
    if (event.button() != Qt::LeftButton)
        return;
    // Legend samples lie outside the plot, so they are tested first.
    if (diagram.HitTestLegend(at.x(), at.y())) {
        shell.DirectRedraw(IViewShell::Redraw::Everything);
        return;
    }
    double x = 0.0;
    double y = 0.0;
    if (!diagram.ValueAtPixel(at.x(), at.y(), &x, &y))
        return;
    const bool shifted = Shifted(event);
    if (!shifted && std::abs(MarkerPixel() - at.x()) <= kMarkerGrab) {
        m_bDragMarker = true;
        return;
    }
    m_bDragMarker = false;
    // With Shift B jumps to the pointer; a press on B's line takes it as it is.
    if (shifted || NearMarkerB(at.x(), kMarkerGrab)) {
        if (shifted)
            MarkerReadout(at, Marker::B);
        m_bDragMarkerB = true;
        return;
    }
    StartZoomRectangle(at, x, y);
}

void CViewInput::MouseMove(QMouseEvent& event) {
    const QPoint at = PixelOf(event);
    if (tracking) {
        band->setGeometry(QRect(origin, at).normalized());
        return;
    }
    if (m_bDragMarkerB)
        MarkerReadout(at, Marker::B);
    else if (m_bDragMarker)
        MarkerReadout(at);
    else if (diagram.showXYByMouse)
        CurveReadout(at);
}

void CViewInput::MouseRelease(QMouseEvent& event) {
    if (event.button() == Qt::MiddleButton)
        m_bDragMarkerB = false;
    if (event.button() != Qt::LeftButton)
        return;
    m_bDragMarker = false;
    m_bDragMarkerB = false;
    if (tracking)
        FinishZoomRectangle(PixelOf(event));
}

void CViewInput::MouseDoubleClick(QMouseEvent& event) {
    const QPoint at = PixelOf(event);
    const bool shifted = Shifted(event);
    if (event.button() == Qt::LeftButton) {
        MarkerReadout(at, shifted ? Marker::B : Marker::A);
    } else if (event.button() == Qt::RightButton) {
        if (!shifted && std::abs(MarkerPixel() - at.x()) <= kMarkerRemove) {
            diagram.markerX = 0.0;
            shell.DirectRedraw(IViewShell::Redraw::MarkerOnly);
        } else if (NearMarkerB(at.x(), kMarkerRemove)) {
            diagram.markerB.reset();
            shell.DirectRedraw(IViewShell::Redraw::MarkerOnly);
        }
    }
}

void CViewInput::KeyPress(QKeyEvent& event) {
    // While the zoom rectangle is dragged out, Escape cancels it and other
    // keys are ignored.
    if (tracking) {
        if (event.key() == Qt::Key_Escape)
            CancelZoomRectangle();
        return;
    }
    const Marker which = Shifted(event) ? Marker::B : Marker::A;
    if (event.key() == Qt::Key_Left)
        StepMarker(-1, which);
    else if (event.key() == Qt::Key_Right)
        StepMarker(+2, which); // one pixel can map back to the same column; two always move
}

void CViewInput::SetMarkerB() {
    const Rect& plot = diagram.plotRect;
    MarkerReadout(QPoint((plot.left + plot.right) / 2, plot.top), Marker::B);
}

void CViewInput::RemoveMarkers() {
    if (diagram.markerX > 0)
        diagram.markerX = 0.0;
    diagram.markerB.reset();
    shell.DirectRedraw(IViewShell::Redraw::MarkerOnly);
}

void CViewInput::CurveReadout(QPoint at) {
    const std::optional<CurveHit> hit = diagram.CurveAtPixel(at.x(), at.y());
    if (!hit) {
        ShowReadout(" ");
        return;
    }
    ShowReadout(XPart(hit->xText, hit->x) + ", Y = " + ReadoutNumber(hit->y) +
                ", Column = " + ShownName(diagram.columns[hit->column]));
}

void CViewInput::MarkerReadout(QPoint at, Marker which) {
    if (which == Marker::B) {
        double x = 0.0;
        if (diagram.ValueAtPixel(at.x(), at.y(), &x, nullptr))
            diagram.markerB = x;
        else if (!diagram.markerB)
            return;
    }
    diagram.showXYByMouse = false;
    // Outside the plot's horizontal span markerX keeps its value.
    if (which == Marker::A)
        diagram.ValueAtPixel(at.x(), at.y(), &diagram.markerX, nullptr);
    shell.DirectRedraw(IViewShell::Redraw::MarkerOnly);
    // The table holds one value per shown column: the data columns and the
    // spectrum column while it is shown, however many there are.
    const std::optional<CurveValues> curves = diagram.CurveValuesAtPixel(at.x());
    if (!curves) {
        ShowReadout(" ");
        return;
    }
    std::string text =
        XPart(curves->xText, which == Marker::A ? diagram.markerX : *diagram.markerB);
    for (std::size_t i = 1; i < curves->values.size(); ++i) {
        text += "; ";
        text += ShownName(diagram.columns[static_cast<long long>(i)]);
        text += " = " + ReadoutNumber(curves->values[i]);
    }
    ShowReadout(std::move(text));
}

void CViewInput::StepMarker(int offset, Marker which) {
    const int target = MarkerPixel(which) + offset;
    double x = 0.0;
    if (!diagram.ValueAtPixel(target, 0, &x, nullptr))
        return;
    if (which == Marker::A)
        diagram.markerX = x;
    MarkerReadout(QPoint(target, 0), which);
}

int CViewInput::MarkerPixel(Marker which) {
    if (which == Marker::B && diagram.markerB)
        return diagram.PixelAtValue(*diagram.markerB, 0.0).x;
    return diagram.PixelAtValue(diagram.markerX, 0.0).x;
}

bool CViewInput::NearMarkerB(int x, int distance) {
    return diagram.markerB && std::abs(MarkerPixel(Marker::B) - x) <= distance;
}

void CViewInput::ShowReadout(std::string text) {
    m_strStatus = std::move(text);
    shell.ShowStatus(m_strStatus);
}

void CViewInput::StartZoomRectangle(QPoint from, double xFrom, double yFrom) {
    tracking = true;
    origin = from;
    zoomXFrom = xFrom;
    zoomYFrom = yFrom;
    band->setGeometry(QRect(origin, QSize()));
    band->show();
}

void CViewInput::FinishZoomRectangle(QPoint end) {
    CancelZoomRectangle();
    // The rectangle keeps its direction: a drag to the left has a negative
    // width.
    if (end.x() - origin.x() < kMinZoomWidth)
        return;
    double xTo = 0.0;
    double yTo = 0.0;
    if (!diagram.ValueAtPixel(end.x(), end.y(), &xTo, &yTo))
        return;
    // The process-wide request is set while the zoom window's open starts,
    // and cleared again however that ends; the open carries it on as a value
    // to the read and the first paint, which come later.
    const ZoomOpenScope request(zoomXFrom, xTo, zoomYFrom, yTo);
    shell.OpenZoomWindow(diagram.filePath, CurrentZoomRequest());
}

void CViewInput::CancelZoomRectangle() {
    tracking = false;
    band->hide();
}
