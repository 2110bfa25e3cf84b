#include "app/PendingOpen.h"

#include "app/CKelvaroDoc.h"
#include "app/CKelvaroView.h"
#include "app/LoadProgressPane.h"
#include "diagram/CDiagram.h"
#include "diagram/TableZoom.h"

#include <QFile>
#include <QFileInfo>
#include <QStatusBar>

CPendingOpen::CPendingOpen(Request request, QWidget* boxOwner, QStatusBar& statusBar,
                           bool holdBoxes)
    : m_request(std::move(request)),
      m_canonicalPath(QFileInfo(m_request.path).canonicalFilePath()) {
    // The zoom source's table must not change from here on.
    if (m_request.zoomSource)
        m_request.zoomSource->AddTableReader();
    m_pJob = std::make_unique<CBackgroundJob>(MakeWork(), boxOwner, holdBoxes);
    const QFileInfo info(m_request.path);
    m_pPane = new CLoadProgressPane(
        info.fileName(), info.size(), m_pJob->Progress(), [this] { m_pJob->Cancel(); }, &statusBar);
    // Right of the readout pane, left of the lock indicators.
    statusBar.insertWidget(1, m_pPane);
    connect(m_pJob.get(), &CBackgroundJob::Finished, this, [this] { emit Finished(this); });
}

CPendingOpen::~CPendingOpen() {
    delete m_pPane;
    m_pJob.reset();
    if (m_request.zoomSource)
        m_request.zoomSource->RemoveTableReader();
}

// The read runs on the worker: everything it needs is captured here, on the
// interface thread; the zoom source's table stays unchanged while it reads
// (the window holds its refresh back, and waits for the read when it closes).
CBackgroundJob::Work CPendingOpen::MakeWork() {
    const std::string path = QFile::encodeName(m_request.path).toStdString();
    const std::optional<ZoomRequest> zoom = m_request.zoom;
    // The source's rows do only for a zoom of the source's own file.
    const CDiagram* source =
        m_request.zoomSource && m_request.zoomSource->Diagram().filePath == path
            ? &m_request.zoomSource->Diagram()
            : nullptr;
    std::span<const double> xNumbers;
    if (source && source->columnCount > 0) {
        // Every column's numbers are made now, so that a repaint of the
        // source writes nothing into the cells the read takes.
        for (const StringArray& column : source->values)
            column.Numbers();
        xNumbers = source->values[0].Numbers();
    }
    return [this, path, zoom, source, xNumbers](IDiagramHost& host, LoadProgress& progress) {
        CDiagram loading(&host);
        LoadLimits limits;
        limits.progress = &progress;
        if (zoom) {
            const XRange range{zoom->xFrom, zoom->xTo};
            if (source && ZoomableFromMemory(*source, range)) {
                loading.TakeTable(
                    ZoomTableOf(*source, xNumbers, range, loading.palette, &progress));
                // The window computes the spectrum once it shows the table.
                loading.SpectrumToCompute();
                m_table = loading.ReleaseTable();
                m_table.PrepareNumbers();
                m_bRead = true;
                return;
            }
            loading.xRange = range;
        }
        m_bRead = CKelvaroDoc::ReadFile(path, loading, limits);
        progress.ThrowIfCancelled();
        if (m_bRead) {
            m_table = loading.ReleaseTable();
            // What the first paint needs is made here, not on the interface thread.
            m_table.PrepareNumbers();
        }
    };
}
