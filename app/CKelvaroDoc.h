// The document of one data file: its path and title, the table last read
// from it (a snapshot that nothing changes, shared with the jobs that read
// it), and every piece of work on the file away from the interface thread:
// the read that opens it (before it has a window), the spectrum its window
// shows, and the live refresh its "Timer" asks for. Each job runs on values
// the document gave it and hands back a value; the document puts it into
// its view's diagram on the interface thread. Closing the document stops its
// jobs, which then touch nothing. It never saves.
#pragma once

#include "app/Job.h"
#include "app/LiveRefresh.h"
#include "diagram/LoadedTable.h"
#include "diagram/TableRefresh.h"
#include "diagram/ZoomRequest.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>
#include <string>

class CDiagram;
class CDrawContext;
struct LoadLimits;

class CKelvaroDoc : public QObject {
    Q_OBJECT
public:
    CKelvaroDoc();
    // Stops the jobs first; none reports anything after.
    ~CKelvaroDoc() override;

    // Set by the view when it is made; both belong to the view.
    CDrawContext* m_pViewDC = nullptr;
    CDiagram* m_pDiagram = nullptr;

    // ---- Opening ----
    // What to open: a file, or the rows of a zoom over X of a file; a zoom
    // takes them from source, the table of the window it was drawn in, when
    // the file is still what source was read from.
    struct OpenRequest {
        QString path; // absolute
        std::optional<ZoomRequest> zoom;
        std::shared_ptr<const LoadedTable> zoomSource;
    };
    // Starts reading for the document, which has no window yet; the open job
    // ends with its Finished. Boxes go over boxOwner, held back until the
    // job's ShowBoxes with holdBoxes.
    void StartOpen(OpenRequest request, QWidget* boxOwner, bool holdBoxes);
    CJob* OpenJob() const;
    const OpenRequest& GetOpenRequest() const { return m_openRequest; }
    // Once the open job has ended: the table it read; nothing when the read
    // was cancelled or refused the file (its message shown). Ends the job.
    std::optional<LoadedTable> TakeOpenedTable();

    // Checks that path (its bytes) can be read without ever waiting on it and
    // loads it into loading, a diagram no window shows yet. False (after a
    // message through loading) when the file cannot be read or the loader
    // refuses it. Runs on any thread.
    static bool ReadFile(const std::string& path, CDiagram& loading, const LoadLimits& limits);

    // Makes table the document's and a copy of it the diagram's, and paints
    // the diagram once into m_pViewDC; a zoom window's first paint composes
    // its title.
    void OnOpenDocument(const QString& path, LoadedTable&& table);

    // The table last read, shared with whatever job reads it; null before.
    std::shared_ptr<const LoadedTable> Table() const { return m_table; }

    // ---- The spectrum the window shows ----
    // Computes the spectrum of the table the window was opened with away from
    // the interface thread, so that the window shows the table first; the
    // diagram takes the spectrum column once it is made.
    void StartSpectrum();
    bool SpectrumRunning() const { return m_pSpectrumJob != nullptr; }
    // Waits for the spectrum under the wait cursor and puts it in; one that
    // could not be made is made here, or said to be missing. False while
    // there is no spectrum to show.
    bool FinishSpectrum();

    // ---- Live refresh ----
    // Starts the refresh timer when the file gives a "Timer" period; the
    // timer goes with the document.
    void StartLiveRefresh();
    // One tick of that timer: when the file changed, starts reading it again
    // away from the interface thread; the diagram takes what was read once
    // the read is over. A tick while a read or the spectrum runs does nothing.
    void OnRefreshTimer();
    bool RefreshRunning() const { return m_pRefreshJob != nullptr; }
    int RefreshPeriodMs() const {
        return m_refreshTimer.isActive() ? m_refreshTimer.interval() : 0;
    }
    // A message shown in a box for the window: a refresh shows it no more.
    void NoteWarningShown(const std::string& text) { m_live.NoteWarningShown(text); }

    // Stops every job, which then reports nothing: the window is closing.
    void StopWork();

    // ---- Names ----
    // The file the document was opened from; empty for an untitled document.
    const QString& PathName() const { return m_strPathName; }
    const QString& Title() const { return m_strTitle; }
    void SetTitle(const QString& title);

signals:
    void TitleChanged(const QString& title);
    // The table or spectrum the window shows changed: it repaints.
    void TableChanged();
    // A text for status pane 0 (a refresh that failed, or succeeded again).
    void StatusChanged(const std::string& text);

private:
    using OpenJobType = CValueJob<std::optional<LoadedTable>>;
    using SpectrumJobType = CValueJob<StringArray>;
    using RefreshJobType = CValueJob<RefreshRead>;

    // Takes a snapshot of the diagram's table after a refresh changed it.
    void Republish();
    void ApplySpectrum();
    void ApplyRefresh();
    void ShowTick(const CLiveRefresh::TickResult& tick);
    // The spectrum of the diagram's table made here, under the wait cursor.
    bool ComputeSpectrumHere();

    QString m_strPathName;
    QString m_strTitle;
    OpenRequest m_openRequest;
    std::shared_ptr<const LoadedTable> m_table;
    std::unique_ptr<OpenJobType> m_pOpenJob;
    std::unique_ptr<SpectrumJobType> m_pSpectrumJob;
    // The spectrum could not be made: Show Spectrum tries again.
    bool m_bSpectrumMissing = false;
    CLiveRefresh m_live;
    QTimer m_refreshTimer;
    std::unique_ptr<RefreshJobType> m_pRefreshJob;
};
