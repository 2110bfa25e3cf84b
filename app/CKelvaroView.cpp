#include "app/CKelvaroView.h"

#include "analysis/SpectrumColumn.h"
#include "app/BackgroundJob.h"
#include "app/CDocTemplate.h"
#include "app/CKelvaroDoc.h"
#include "app/CMainFrame.h"
#include "app/GuardedCall.h"
#include "diagram/CDiagram.h"
#include "diagram/TableRefresh.h"
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
      m_pDiagram(std::make_unique<CDiagram>(this)), m_input(*this, *m_pDiagram, *this),
      m_live(*m_pDiagram) {
    // The system window colour behind the diagram, as the view is erased to it.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    m_pDoc->m_pDiagram = m_pDiagram.get();
    m_pDoc->m_pViewDC = &m_layoutDC;
    connect(&m_refreshTimer, &QTimer::timeout, this, &CKelvaroView::OnRefreshTimer);
}

CKelvaroView::~CKelvaroView() {
    // Reads of other windows that take rows from this table stop first.
    m_docTemplate.StopReadsOf(*this);
    m_pRefreshJob.reset();
    m_pSpectrumJob.reset();
    // A readout of a window that is gone describes nothing.
    m_mainFrame.PaneWriterClosed(this);
    m_pDoc->m_pDiagram = nullptr;
    m_pDoc->m_pViewDC = nullptr;
}

void CKelvaroView::paintEvent(QPaintEvent*) {
    try {
        QPainter painter(this);
        m_picture.Draw(painter, *m_pDiagram, size());
        m_bPaintFailed = false;
    } catch (const std::exception& error) {
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
    RunGuarded(this, [&] {
        // The zoom's read may take its rows from this table, which then
        // stays as it is.
        FinishSpectrum();
        m_docTemplate.OpenZoomWindow(QFile::decodeName(path.c_str()), *this, CurrentZoomRequest());
    });
}

void CKelvaroView::StartLiveRefresh() {
    const int period = m_live.PeriodMs();
    if (period == 0)
        m_refreshTimer.stop();
    else if (!m_refreshTimer.isActive() || m_refreshTimer.interval() != period)
        m_refreshTimer.start(period);
}

void CKelvaroView::StartSpectrum() {
    const std::optional<SpectrumSource> source = m_pDiagram->SpectrumToCompute();
    if (!source)
        return;
    auto spectrum = std::make_unique<StringArray>("spectrum column");
    // The work reads the source column's numbers, which stay as they are
    // while it runs: no refresh starts and no command changes them.
    m_pSpectrumJob = std::make_unique<CBackgroundJob>(
        [source = *source, out = spectrum.get()](IDiagramHost&, LoadProgress& progress) {
            *out = SpectrumColumnOf(source.numbers, source.rows, &progress);
        },
        this);
    m_pSpectrum = std::move(spectrum);
    connect(m_pSpectrumJob.get(), &CBackgroundJob::Finished, this, &CKelvaroView::ApplySpectrum);
}

void CKelvaroView::ApplySpectrum() {
    if (!m_pSpectrumJob || m_pSpectrumJob->Running())
        return;
    // Deleted later: this may run inside a signal of the job's own.
    CBackgroundJob* job = m_pSpectrumJob.release();
    job->deleteLater();
    const std::unique_ptr<StringArray> spectrum = std::move(m_pSpectrum);
    RunGuarded(this, [&] {
        if (const std::exception_ptr error = job->Error())
            std::rethrow_exception(error);
        m_pDiagram->TakeSpectrum(std::move(*spectrum));
    });
}

void CKelvaroView::FinishSpectrum() {
    if (!m_pSpectrumJob)
        return;
    const WaitCursor wait(this);
    m_pSpectrumJob->Wait();
    ApplySpectrum();
}

void CKelvaroView::OnRefreshTimer() {
    // A refresh reads the table the spectrum is computed from.
    if (m_pRefreshJob || m_pSpectrumJob)
        return;
    CLiveRefresh::TickResult tick;
    if (!m_live.FileChanged(tick)) {
        ShowTick(tick);
        return;
    }
    // Read away from the interface thread; the table stays as it is until
    // the read is applied.
    auto read = std::make_unique<RefreshRead>();
    m_pRefreshJob = std::make_unique<CBackgroundJob>(
        [source = RefreshSourceOf(*m_pDiagram), out = read.get()](IDiagramHost&,
                                                                  LoadProgress& progress) {
            LoadLimits limits;
            limits.progress = &progress;
            *out = ReadRefresh(source, limits);
        },
        this);
    m_pRefreshRead = std::move(read);
    connect(m_pRefreshJob.get(), &CBackgroundJob::Finished, this, &CKelvaroView::ApplyRefreshRead);
}

void CKelvaroView::RemoveTableReader() {
    if (--m_nTableReaders == 0 && m_pRefreshJob && !m_pRefreshJob->Running())
        QTimer::singleShot(0, this, &CKelvaroView::ApplyRefreshRead);
}

void CKelvaroView::ApplyRefreshRead() {
    if (!m_pRefreshJob || m_pRefreshJob->Running() || m_nTableReaders > 0)
        return;
    // Deleted later: this runs inside a signal of the job's own.
    CBackgroundJob* job = m_pRefreshJob.release();
    job->deleteLater();
    const std::unique_ptr<RefreshRead> read = std::move(m_pRefreshRead);
    if (job->Error())
        return; // cancelled
    RunGuarded(this, [&] { ShowTick(m_live.Apply(std::move(*read))); });
}

void CKelvaroView::ShowTick(const CLiveRefresh::TickResult& tick) {
    if (tick.status)
        ShowStatus(*tick.status);
    if (tick.repaint) {
        m_picture.Invalidate();
        update();
        // The file may give another period now.
        StartLiveRefresh();
    }
    for (const std::string& warning : tick.warnings)
        ShowWarning(warning);
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
    FinishSpectrum();
    CDia_Parameters dialog(&m_mainFrame);
    dialog.m_pDiagram = m_pDiagram.get();
    if (dialog.exec() == QDialog::Accepted)
        DirectRedraw(Redraw::Everything);
}

void CKelvaroView::OnShowSpectrum() {
    FinishSpectrum();
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

QWidget* CKelvaroView::BoxOwner() {
    // While a file is being opened the view is not shown yet: its boxes go
    // over the main window.
    return isVisible() ? static_cast<QWidget*>(this) : &m_mainFrame;
}

Rect CKelvaroView::ClientRect() const {
    return Rect{0, 0, width(), height()};
}

void CKelvaroView::ShowWarning(const std::string& text) {
    m_live.NoteWarningShown(text);
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
