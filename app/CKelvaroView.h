// The window inside each child frame: owns the diagram of one data file,
// paints, prints, previews and copies it, and runs the View commands on it.
#pragma once

#include "app/DiagramPicture.h"
#include "app/ViewInput.h"
#include "diagram/DiagramHost.h"
#include "render/NullDrawContext.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

class CDiagram;
class CKelvaroDoc;
class CMainFrame;
class CDocTemplate;
class QPaintDevice;

class CKelvaroView : public QWidget, public IDiagramHost, public IViewShell {
    Q_OBJECT
public:
    // Takes doc, makes the diagram and hands it, with the drawing context of
    // the first paint, to doc. The document goes with the view, after
    // everything of the view that points to it.
    CKelvaroView(std::unique_ptr<CKelvaroDoc> doc, CMainFrame& mainFrame, CDocTemplate& docTemplate,
                 QWidget* parent = nullptr);
    ~CKelvaroView() override;

    CDiagram& Diagram() const { return *m_pDiagram; }
    CKelvaroDoc& Document() const { return *m_pDoc; }

    // ---- Commands ----
    void OnEditCopy();
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnShowParameters();
    void OnShowSpectrum();
    void OnShowXYByMouse();
    void OnMakeInterpolation();
    void OnMakeCorrelation();
    void OnSetMarkerB();
    void OnRemoveMarkers();

    // A message shown in a box while the file was opened: a refresh shows
    // it no more.
    void NoteWarningShown(const std::string& text);

    // One printed page (a printer, or any device that tells its resolution):
    // the picture at the window's size in screen inches, at the top left.
    void PrintTo(QPaintDevice& device);

    // ---- IViewShell, for the mouse and key handling ----
    // An immediate, complete repaint of the view.
    void DirectRedraw(Redraw what = Redraw::Everything) override;
    // Status pane 0 of the main window, repainted at once.
    void ShowStatus(const std::string& text) override;
    // Opens path again as a new document (never the already-open check) over
    // the zoom's X range, titled by its first paint; errors end in a message.
    void OpenZoomWindow(const std::string& path) override;
    void OpenZoomWindow(const std::string& path, const ZoomRequest& zoom) override;

signals:
    // After every paint that drew the diagram: what it shows may have changed.
    void Painted();

public:
    // ---- IDiagramHost ----
    Rect ClientRect() const override;
    void ShowWarning(const std::string& text) override;
    void ShowInformation(const std::string& text) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Runs a mouse or key handler, guarded, and brings the main window's
    // check marks up to date when it changed a flag they show.
    void RunInput(const std::function<void()>& handler);
    // The window the view's message boxes go over.
    QWidget* BoxOwner();

    // First, so that it is destroyed last.
    std::unique_ptr<CKelvaroDoc> m_pDoc;
    CMainFrame& m_mainFrame;
    CDocTemplate& m_docTemplate;
    std::unique_ptr<CDiagram> m_pDiagram;
    CViewInput m_input;
    // The picture without the marker line, so a marker move redraws the line only.
    CDiagramPicture m_picture;
    // The first paint after loading lays the plot out without drawing.
    CNullDrawContext m_layoutDC;
    // A failing paint reports once, not at every repaint that follows.
    bool m_bPaintFailed = false;
    // Repaints what the document's work changed.
    void OnTableChanged();
};
