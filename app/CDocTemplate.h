// The one document template: reads each file away from the interface thread,
// then makes its document, child frame and view (and with it the diagram);
// a read that fails or is cancelled leaves nothing behind.
#pragma once

#include "diagram/ZoomRequest.h"

#include <QObject>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CChildFrame;
class CKelvaroDoc;
class CKelvaroView;
class CMainFrame;
class CPendingOpen;
struct LoadedTable;

class CDocTemplate {
public:
    CDocTemplate();
    ~CDocTemplate();
    CDocTemplate(const CDocTemplate&) = delete;
    CDocTemplate& operator=(const CDocTemplate&) = delete;

    // The main frame the child windows go into; set once it exists.
    void AttachMainFrame(CMainFrame& mainFrame) { m_pMainFrame = &mainFrame; }

    // Starts reading path for a new document; once it is read, the document
    // is shown, active, and opened runs. A file that cannot be read or is
    // refused ends in its message, an error of the read in its box, and
    // neither leaves anything behind.
    void OpenDocumentFile(const QString& path, std::function<void(CKelvaroDoc&)> opened = {});
    // The same for a zoom window drawn in source: its rows come from
    // source's table when the file is unchanged, else from the file; the
    // window is titled as the zoom request's first paint composes it.
    void OpenZoomWindow(const QString& path, CKelvaroView& source, const ZoomRequest& zoom);
    // A new untitled document, Kelvaro1, Kelvaro2, ..., with an empty diagram.
    CKelvaroDoc* OpenNewDocument();

    // Reads running now, and whether one of them is of canonicalPath.
    int OpensRunning() const { return static_cast<int>(m_opens.size()); }
    bool IsOpening(const QString& canonicalPath) const;
    // Cancels the read started last (Escape).
    void CancelNewestOpen();
    // Stops the reads that take rows from source's table, which is closing.
    void StopReadsOf(const CKelvaroView& source);

private:
    void Start(std::unique_ptr<CPendingOpen> open);
    void OnOpenFinished(CPendingOpen* open);
    void EndOpen(CPendingOpen& open);
    void LetFirstOpenSpeak();
    std::unique_ptr<CChildFrame> CreateFrame();
    CKelvaroDoc* Show(std::unique_ptr<CChildFrame> frame);

    CMainFrame* m_pMainFrame = nullptr;
    int m_nUntitledCount = 0;
    // In the order they were started.
    std::vector<std::unique_ptr<CPendingOpen>> m_opens;
    bool m_bEndingOpens = false;
};
