#include "app/CKelvaroView.h"

#include "app/CDocTemplate.h"
#include "app/CKelvaroDoc.h"
#include "app/CMainFrame.h"
#include "app/GuardedCall.h"
#include "diagram/CDiagram.h"
#include "diagram/ZoomRequest.h"
#include "dialogs/CDia_Parameters.h"
#include "qtdraw/QtDrawContext.h"
#include "qtdraw/QtText.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>

#include <stdexcept>

CKelvaroView::CKelvaroView(std::unique_ptr<CKelvaroDoc> doc, CMainFrame& mainFrame,
                           CDocTemplate& docTemplate, QWidget* parent)
    : QWidget(parent), m_pDoc(std::move(doc)), m_mainFrame(mainFrame), m_docTemplate(docTemplate),
      m_pDiagram(std::make_unique<CDiagram>(this)), m_input(*this, *m_pDiagram, *this) {
    // The system window colour behind the diagram, as the view is erased to it.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    // The diagram's picture covers every pixel, background included: Qt need
    // not erase the window first, which on a screen scaled by 2 costs as much
    // as showing the picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    m_pDoc->m_pDiagram = m_pDiagram.get();
    m_pDoc->m_pViewDC = &m_layoutDC;
    connect(m_pDoc.get(), &CKelvaroDoc::TableChanged, this, &CKelvaroView::OnTableChanged);
    connect(m_pDoc.get(), &CKelvaroDoc::StatusChanged, this,
            [this](const std::string& text) { ShowStatus(text); });
}

CKelvaroView::~CKelvaroView() {
    // The document's jobs end before the diagram they report to goes.
    m_pDoc->StopWork();
    disconnect(m_pDoc.get(), nullptr, this, nullptr);
    // A readout of a window that is gone describes nothing.
    m_mainFrame.PaneWriterClosed(this);
    m_pDoc->m_pDiagram = nullptr;
    m_pDoc->m_pViewDC = nullptr;
}

void CKelvaroView::paintEvent(QPaintEvent*) {
    try {
        QPainter painter(this);
        m_picture.Draw(painter, *m_pDiagram, size(), palette().color(backgroundRole()));
        m_bPaintFailed = false;
        emit Painted();
    } catch (const std::exception& error) {
        QPainter(this).fillRect(rect(), palette().color(backgroundRole()));
        // A box opened inside a paint would be painted over and re-raised by
        // every repaint: report after the paint, and only the first time.
        if (!m_bPaintFailed) {
            m_bPaintFailed = true;
            QTimer::singleShot(0, this,
                               [this, text = ErrorMessage(error)] { ShowWarningBox(this, text); });
        }
    }
}

void CKelvaroView::resizeEvent(QResizeEvent* event) {
    m_picture.Invalidate();
    QWidget::resizeEvent(event);
}

void CKelvaroView::RunInput(const std::function<void()>& handler) {
    // A marker readout switches the curve readout off: its check mark
    // follows at once.
    const bool showXYByMouse = m_pDiagram->showXYByMouse;
    RunGuarded(this, handler);
    if (m_pDiagram->showXYByMouse != showXYByMouse)
        m_mainFrame.UpdateCommandUi();
}

void CKelvaroView::mousePressEvent(QMouseEvent* event) {
    RunInput([&] { m_input.MousePress(*event); });
}

void CKelvaroView::mouseMoveEvent(QMouseEvent* event) {
    RunInput([&] { m_input.MouseMove(*event); });
}

void CKelvaroView::mouseReleaseEvent(QMouseEvent* event) {
    RunInput([&] { m_input.MouseRelease(*event); });
}

void CKelvaroView::mouseDoubleClickEvent(QMouseEvent* event) {
    RunInput([&] { m_input.MouseDoubleClick(*event); });
}

void CKelvaroView::keyPressEvent(QKeyEvent* event) {
    RunInput([&] { m_input.KeyPress(*event); });
}

void CKelvaroView::DirectRedraw(Redraw what) {
    if (what == Redraw::Everything)
        m_picture.Invalidate();
    repaint();
}

void CKelvaroView::ShowStatus(const std::string& text) {
    m_mainFrame.SetPaneText(TextFromBytes(text), this);
}

void CKelvaroView::OpenZoomWindow(const std::string& path) {
    OpenZoomWindow(path, CurrentZoomRequest());
}

void CKelvaroView::OpenZoomWindow(const std::string& path, const ZoomRequest& zoom) {
    // The zoom takes its rows from this window's table, as the document
    // holds it: nothing the window does meanwhile reaches the read.
    RunGuarded(this, [&] {
        m_docTemplate.OpenZoomWindow(QFile::decodeName(path.c_str()), m_pDoc->Table(), zoom);
    });
}

void CKelvaroView::OnTableChanged() {
    m_picture.Invalidate();
    update();
}

void CKelvaroView::NoteWarningShown(const std::string& text) {
    m_pDoc->NoteWarningShown(text);
}

void CKelvaroView::OnEditCopy() {
    QApplication::clipboard()->setImage(grab().toImage());
}

void CKelvaroView::OnFilePrint() {
    QPrinter& printer = m_mainFrame.Printer();
    QPrintDialog dialog(&printer, this);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() == QDialog::Accepted)
        PrintTo(printer);
}

void CKelvaroView::OnFilePrintPreview() {
    QPrintPreviewDialog preview(&m_mainFrame.Printer(), this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { RunGuarded(this, [&] { PrintTo(*printer); }); });
    preview.exec();
}

void CKelvaroView::PrintTo(QPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device))
        throw std::runtime_error("The printer could not be started.");
    // One logical unit is one screen pixel: the diagram sizes itself from the
    // window's client area, so the page shows it at its size on the screen.
    painter.scale(double(device.logicalDpiX()) / logicalDpiX(),
                  double(device.logicalDpiY()) / logicalDpiY());
    CQtDrawContext dc(painter);
    m_pDiagram->Paint(dc);
}

void CKelvaroView::OnShowParameters() {
    // The dialog may choose another column and compute its spectrum.
    m_pDoc->FinishSpectrum();
    CDia_Parameters dialog(&m_mainFrame);
    dialog.m_pDiagram = m_pDiagram.get();
    if (dialog.exec() == QDialog::Accepted)
        DirectRedraw(Redraw::Everything);
}

void CKelvaroView::OnShowSpectrum() {
    // A spectrum that is not there is not shown: its box has said why.
    if (!m_pDiagram->showSpectrum && !m_pDoc->FinishSpectrum())
        return;
    m_pDiagram->showSpectrum = !m_pDiagram->showSpectrum;
    DirectRedraw(Redraw::Everything);
}

void CKelvaroView::OnShowXYByMouse() {
    m_pDiagram->showXYByMouse = !m_pDiagram->showXYByMouse;
}

void CKelvaroView::OnMakeInterpolation() {
    m_pDiagram->MakeInterpolationFile();
}

void CKelvaroView::OnMakeCorrelation() {
    m_pDiagram->MakeCorrelationFile();
}

void CKelvaroView::OnSetMarkerB() {
    RunInput([this] { m_input.SetMarkerB(); });
}

void CKelvaroView::OnRemoveMarkers() {
    RunInput([this] { m_input.RemoveMarkers(); });
}

QWidget* CKelvaroView::BoxOwner() {
    // While a file is being opened the view is not shown yet: its boxes go
    // over the main window.
    return isVisible() ? static_cast<QWidget*>(this) : &m_mainFrame;
}

Rect CKelvaroView::ClientRect() const {
    return Rect{0, 0, width(), height()};
}

void CKelvaroView::ShowWarning(const std::string& text) {
    m_pDoc->NoteWarningShown(text);
    ShowWarningBox(BoxOwner(), text);
}

void CKelvaroView::ShowInformation(const std::string& text) {
    ShowInformationBox(BoxOwner(), text);
}

void CKelvaroView::BeginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CKelvaroView::EndWaitCursor() {
    QApplication::restoreOverrideCursor();
}
