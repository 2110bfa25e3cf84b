// The mouse and key handling of a diagram view: the curve and marker readouts,
// the marker lines' drags and arrow steps, legend clicks and the zoom
// rectangle. Marker B answers the marker's own gestures with Shift held (the
// left double-click, the drag, the arrow keys, the right double-click that
// removes it), to the middle button, and to a press on its line.
#pragma once

#include "diagram/ZoomRequest.h"

#include <QPoint>
#include <QPointer>

#include <string>

class CDiagram;
class QKeyEvent;
class QMouseEvent;
class QRubberBand;
class QWidget;

// What the mouse and key handling needs from the view that owns it.
class IViewShell {
public:
    virtual ~IViewShell() = default;
    enum class Redraw { Everything, MarkerOnly };
    // Direct redraw: an immediate, complete repaint of the view (QWidget::repaint()).
    // MarkerOnly promises that nothing but the markers (markerX, markerB)
    // changed since the last paint.
    virtual void DirectRedraw(Redraw what) = 0;
    // Status pane 0 of the main window, repainted at once.
    virtual void ShowStatus(const std::string& text) = 0;
    // Opens path again as a new document through the application's document
    // template (always a new window, never the already-open check); when a
    // document comes back, sets its title to g_strZoomTitle. Called while the
    // zoom request is set; must not throw past the caller.
    virtual void OpenZoomWindow(const std::string& path) = 0;
    // The same with the request as a value, which the open hands on to the
    // read and the first paint of the window (an open away from the interface
    // thread ends after the request is cleared). Called while the request is
    // set, with the request it holds; by default the form above.
    virtual void OpenZoomWindow(const std::string& path, const ZoomRequest& zoom) {
        static_cast<void>(zoom);
        OpenZoomWindow(path);
    }
};

// The view forwards its mouse and key events here. Operations that need the
// table's rows raise InvalidArgumentError on a diagram without data; the view
// catches it.
class CViewInput {
public:
    CViewInput(QWidget& view, CDiagram& diagram, IViewShell& shell);
    ~CViewInput();
    CViewInput(const CViewInput&) = delete;
    CViewInput& operator=(const CViewInput&) = delete;

    void MousePress(QMouseEvent& event);
    void MouseMove(QMouseEvent& event);
    void MouseRelease(QMouseEvent& event);
    void MouseDoubleClick(QMouseEvent& event);
    void KeyPress(QKeyEvent& event);
    // View > Set Marker B: B in the middle of the plot, with its readout.
    void SetMarkerB();
    // View > Remove Markers: both lines go.
    void RemoveMarkers();

    // The marker line follows the mouse until the left button is released.
    bool m_bDragMarker = false;
    // Marker B follows the mouse until the button that took it is released.
    bool m_bDragMarkerB = false;
    // The text last written to status pane 0 by a readout.
    std::string m_strStatus;

private:
    enum class Marker { A, B };

    void CurveReadout(QPoint at);
    // Moves the marker to the pixel column of at (outside the plot's span it
    // stays, and B that is not set is not set) and shows the values there.
    void MarkerReadout(QPoint at, Marker which = Marker::A);
    void StepMarker(int offset, Marker which = Marker::A);
    // The pixel column of the marker line, also when no marker is shown; for
    // B that is not set, that of the marker line.
    int MarkerPixel(Marker which = Marker::A);
    bool NearMarkerB(int x, int distance);
    void ShowReadout(std::string text);

    void StartZoomRectangle(QPoint origin, double xFrom, double yFrom);
    void FinishZoomRectangle(QPoint end);
    void CancelZoomRectangle();

    CDiagram& diagram;
    IViewShell& shell;

    // The rubber band is a child of the view, so the view deletes it if it
    // goes first.
    QPointer<QRubberBand> band;
    bool tracking = false;
    QPoint origin;
    double zoomXFrom = 0.0;
    double zoomYFrom = 0.0;
};
