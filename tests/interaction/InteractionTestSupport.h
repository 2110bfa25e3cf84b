// A loaded diagram in a small widget that forwards its mouse and key events to
// CViewInput, a shell that records what the input asks of it, and helpers for
// simulated double-clicks and modal boxes.
#pragma once

#include "TestSupport.h"
#include "app/DiagramPicture.h"
#include "app/ViewInput.h"
#include "diagram/CDiagram.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A zoom window the shell was asked to open: what the nested load kept.
struct ZoomOpen {
    std::string path;
    bool requestSet = false; // g_bZoomOpen during the open
    double xFrom = 0.0;
    double xTo = 0.0;
    bool loaded = false;
    std::string title; // g_strZoomTitle after the first paint
    std::unique_ptr<CDiagram> diagram;
};

class RecordingShell : public IViewShell {
public:
    void DirectRedraw(Redraw what) override { redraws.push_back(what); }
    void ShowStatus(const std::string& text) override { statuses.push_back(text); }
    // Loads the file as a new diagram under the zoom request and paints it
    // once, as the document template does.
    void OpenZoomWindow(const std::string& path) override;

    std::vector<Redraw> redraws;
    std::vector<std::string> statuses;
    std::vector<ZoomOpen> zooms;
    RecordingHost zoomHost;
};

// The view's event handlers, each ending like the shell's guarded call: an
// error is recorded instead of escaping into Qt.
class InputWidget : public QWidget {
public:
    InputWidget(CDiagram& diagram, IViewShell& shell);
    CViewInput input;
    std::vector<std::string> errors;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Guarded(const std::function<void()>& action);
};

// An 800 x 500 view of a data file written in the test, painted once so that
// the layout of the plot and the legend is known.
class LoadedView {
public:
    explicit LoadedView(const std::string& content);
    // A view of a diagram without a table.
    LoadedView();

    void Paint();
    // The pixel column whose X value is x (the nearest the mapping gives).
    int PixelOfX(double x);
    int PixelOfY(double y);

    TempDir dir;
    std::string path;
    RecordingHost host;
    CDiagram diagram{&host};
    RecordingShell shell;
    std::unique_ptr<InputWidget> widget;
};

// The pixel column of the plot whose X value reads back as exactly x.
int ExactPixelOfX(LoadedView& view, double x);

// A user's double-click: press, release, double-click, release.
void DoubleClick(QWidget& widget, Qt::MouseButton button, QPoint at,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Drags with the left button from one point to another, with a move between.
void Drag(QWidget& widget, QPoint from, QPoint to);

// Starts a timer that waits for a modal box other than owner, clicks its
// button and stores its text; reports a failure if none comes within seconds.
void CloseNextMessageBox(QWidget* owner, QString* text);

// A data file with a numeric X from 0 to 10 and the curves A = 2x and B = 20.
std::string TwoCurveFile();
