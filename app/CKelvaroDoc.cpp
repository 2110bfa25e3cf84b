#include "app/CKelvaroDoc.h"

#include "analysis/SpectrumColumn.h"
#include "app/GuardedCall.h"
#include "app/Job.h"
#include "diagram/CDiagram.h"
#include "diagram/FileBytes.h"
#include "diagram/FileStamp.h"
#include "diagram/TableRefresh.h"
#include "diagram/TableZoom.h"
#include "render/DrawContext.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

namespace {

// Why path cannot be read, found without ever waiting on it: a folder, a
// FIFO, a socket or a device by what it is, any other file by the system's
// reason; nothing when it can be read.
std::optional<std::string> WhyNotReadable(const std::string& path) {
    const std::string kind = NonRegularKind(path);
    if (kind == "a folder")
        return "it is a folder";
    if (!kind.empty())
        return "it is not a regular file (" + kind + ")";
    errno = 0;
    if (FileDescriptor(path).Get() < 0)
        return std::strerror(errno);
    return std::nullopt;
}

// The table of an open, read on the job's thread from the values captured:
// a zoom's rows from the source table when the file is unchanged, else the
// file read (with the zoom's X range).
std::optional<LoadedTable> ReadForOpen(const std::string& path,
                                       const std::optional<ZoomRequest>& zoom,
                                       const LoadedTable* source, IDiagramHost& host,
                                       LoadProgress& progress) {
    CDiagram loading(&host);
    LoadLimits limits;
    limits.progress = &progress;
    if (zoom) {
        const XRange range{zoom->xFrom, zoom->xTo};
        if (source && source->columnCount > 0 && ZoomableFromMemory(*source, range)) {
            loading.TakeTable(ZoomTableOf(*source, source->values[0].Numbers(), range,
                                          loading.palette, &progress));
            // The window computes the spectrum once it shows the table.
            loading.SpectrumToCompute();
            LoadedTable table = loading.ReleaseTable();
            table.PrepareNumbers();
            return table;
        }
        loading.xRange = range;
    }
    const bool read = CKelvaroDoc::ReadFile(path, loading, limits);
    progress.ThrowIfCancelled();
    if (!read)
        return std::nullopt;
    LoadedTable table = loading.ReleaseTable();
    // What the first paint needs is made here, not on the interface thread.
    table.PrepareNumbers();
    return table;
}

// What a spectrum that did not fit in memory says.
std::string SpectrumOutOfMemory(const CDiagram& diagram) {
    return "Not enough memory for the spectrum of \"" + diagram.filePath + "\" (" +
           std::to_string(diagram.spectrumSize) + " points).";
}

} // namespace

CKelvaroDoc::CKelvaroDoc() {
    connect(&m_refreshTimer, &QTimer::timeout, this, &CKelvaroDoc::OnRefreshTimer);
}

CKelvaroDoc::~CKelvaroDoc() {
    StopWork();
}

void CKelvaroDoc::StopWork() {
    m_refreshTimer.stop();
    m_pOpenJob.reset();
    m_pRefreshJob.reset();
    m_pSpectrumJob.reset();
}

bool CKelvaroDoc::ReadFile(const std::string& path, CDiagram& loading, const LoadLimits& limits) {
    if (const std::optional<std::string> reason = WhyNotReadable(path)) {
        loading.ShowWarning("Cannot open the file \"" + path + "\": " + *reason + ".");
        return false;
    }
    return loading.LoadFile(path, limits, CDiagram::LoadMode::OpenSpectrumLater);
}

void CKelvaroDoc::StartOpen(OpenRequest request, QWidget* boxOwner, bool holdBoxes) {
    m_openRequest = std::move(request);
    const std::string path = QFile::encodeName(m_openRequest.path).toStdString();
    // The source's rows do only for a zoom of the source's own file.
    std::shared_ptr<const LoadedTable> source = m_openRequest.zoomSource;
    if (source && source->filePath != path)
        source.reset();
    m_openRequest.zoomSource.reset();
    m_pOpenJob = std::make_unique<OpenJobType>(
        [path, zoom = m_openRequest.zoom, table = source.get()](IDiagramHost& host,
                                                                LoadProgress& progress) {
            return ReadForOpen(path, zoom, table, host, progress);
        },
        boxOwner, holdBoxes, std::move(source));
}

CJob* CKelvaroDoc::OpenJob() const {
    return m_pOpenJob.get();
}

std::optional<LoadedTable> CKelvaroDoc::TakeOpenedTable() {
    if (!m_pOpenJob)
        return std::nullopt;
    // Let go of later: this runs inside a signal of the job's own.
    OpenJobType* job = m_pOpenJob.release();
    job->deleteLater();
    try {
        return job->TakeResult();
    } catch (const LoadCancelled&) {
        return std::nullopt;
    }
}

void CKelvaroDoc::OnOpenDocument(const QString& path, LoadedTable&& table) {
    m_table = std::make_shared<const LoadedTable>(std::move(table));
    m_pDiagram->TakeTable(LoadedTable(*m_table));
    m_strPathName = path;
    if (m_openRequest.zoom) {
        // The first paint of a zoom window composes its title.
        ZoomRequest& zoom = *m_openRequest.zoom;
        m_pDiagram->Paint(*m_pViewDC, zoom);
        SetTitle(QFile::decodeName(zoom.title.c_str()));
    } else {
        m_pDiagram->Paint(*m_pViewDC);
        SetTitle(QFileInfo(path).fileName());
    }
}

void CKelvaroDoc::SetTitle(const QString& title) {
    m_strTitle = title;
    emit TitleChanged(title);
}

void CKelvaroDoc::Republish() {
    auto table = std::make_shared<LoadedTable>(static_cast<const LoadedTable&>(*m_pDiagram));
    // Rows a refresh added get their numbers here, so that a job reading the
    // snapshot writes nothing into it.
    table->PrepareNumbers();
    m_table = std::move(table);
}

// ---- Spectrum ----

void CKelvaroDoc::StartSpectrum() {
    if (!m_pDiagram || !m_table)
        return;
    const std::optional<SpectrumSource> source = m_pDiagram->SpectrumToCompute();
    m_bSpectrumMissing = false;
    if (!source)
        return;
    // The numbers of the snapshot, which the job keeps while it runs.
    const std::span<const double> numbers =
        m_table->values[m_pDiagram->spectrumColumn + 1].Numbers();
    m_pSpectrumJob = std::make_unique<SpectrumJobType>(
        [numbers, rows = source->rows](IDiagramHost&, LoadProgress& progress) {
            return SpectrumColumnOf(numbers, rows, &progress);
        },
        nullptr, false, m_table);
    connect(m_pSpectrumJob.get(), &CJob::Finished, this, &CKelvaroDoc::ApplySpectrum);
}

void CKelvaroDoc::ApplySpectrum() {
    if (!m_pSpectrumJob || m_pSpectrumJob->Running())
        return;
    // Let go of later: this runs inside a signal of the job's own.
    SpectrumJobType* job = m_pSpectrumJob.release();
    job->deleteLater();
    try {
        m_pDiagram->TakeSpectrum(job->TakeResult());
        emit TableChanged();
    } catch (const LoadCancelled&) {
        m_bSpectrumMissing = true;
    } catch (const std::bad_alloc&) {
        m_bSpectrumMissing = true;
        m_pDiagram->ShowWarning(SpectrumOutOfMemory(*m_pDiagram));
    } catch (const std::exception& error) {
        m_bSpectrumMissing = true;
        m_pDiagram->ShowWarning(ErrorMessage(error));
    }
}

bool CKelvaroDoc::ComputeSpectrumHere() {
    try {
        m_pDiagram->ComputeSpectrum();
        m_bSpectrumMissing = false;
        return true;
    } catch (const std::bad_alloc&) {
        m_pDiagram->ShowWarning(SpectrumOutOfMemory(*m_pDiagram));
        return false;
    }
}

bool CKelvaroDoc::FinishSpectrum() {
    if (m_pSpectrumJob) {
        const WaitCursor wait(m_pDiagram->view);
        m_pSpectrumJob->Wait();
        ApplySpectrum();
    }
    return !m_bSpectrumMissing || ComputeSpectrumHere();
}

// ---- Live refresh ----

void CKelvaroDoc::StartLiveRefresh() {
    const int period = CLiveRefresh::PeriodMs(*m_pDiagram);
    if (period == 0)
        m_refreshTimer.stop();
    else if (!m_refreshTimer.isActive() || m_refreshTimer.interval() != period)
        m_refreshTimer.start(period);
}

void CKelvaroDoc::OnRefreshTimer() {
    // The spectrum being made is of the table a refresh would change.
    if (m_pRefreshJob || m_pSpectrumJob || !m_pDiagram || !m_table)
        return;
    CLiveRefresh::TickResult tick;
    if (!m_live.FileChanged(*m_pDiagram, tick)) {
        ShowTick(tick);
        return;
    }
    // Read away from the interface thread, from the snapshot; the diagram
    // stays as it is until the read is applied.
    m_pRefreshJob = std::make_unique<RefreshJobType>(
        [source = RefreshSourceOf(*m_table, m_pDiagram->spectrumColumn, m_pDiagram->palette)](
            IDiagramHost&, LoadProgress& progress) {
            LoadLimits limits;
            limits.progress = &progress;
            return ReadRefresh(source, limits);
        },
        nullptr, false, m_table);
    connect(m_pRefreshJob.get(), &CJob::Finished, this, &CKelvaroDoc::ApplyRefresh);
}

void CKelvaroDoc::ApplyRefresh() {
    if (!m_pRefreshJob || m_pRefreshJob->Running())
        return;
    // The job and the snapshot it read go first, so that the rows appended
    // go into cells no one else holds (unless a zoom window still reads
    // them: then the cells are copied, and the zoom keeps what it read).
    // Let go of later: this runs inside a signal of the job's own.
    RefreshJobType* job = m_pRefreshJob.release();
    job->deleteLater();
    RefreshRead read;
    try {
        read = job->TakeResult();
    } catch (const LoadCancelled&) {
        return;
    }
    m_table.reset();
    try {
        const CLiveRefresh::TickResult tick = m_live.Apply(*m_pDiagram, std::move(read));
        Republish();
        ShowTick(tick);
    } catch (const std::exception& error) {
        Republish();
        m_pDiagram->ShowWarning(ErrorMessage(error));
    }
}

void CKelvaroDoc::ShowTick(const CLiveRefresh::TickResult& tick) {
    if (tick.status)
        emit StatusChanged(*tick.status);
    if (tick.repaint) {
        emit TableChanged();
        // The file may give another period now.
        StartLiveRefresh();
    }
    for (const std::string& warning : tick.warnings)
        m_pDiagram->ShowWarning(warning);
}
