// The one document template: makes a document for each file opened, lets it
// read the file away from the interface thread, and once the read is over
// makes its child frame and view (and with it the diagram); a read that
// fails or is cancelled leaves nothing behind. Reads run side by side but
// end in the order they were started, as one after the other would.
#pragma once

#include "diagram/LoadedTable.h"
#include "diagram/ZoomRequest.h"

#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CChildFrame;
class CKelvaroDoc;
class CLoadProgressPane;
class CMainFrame;
class LoadProgress;

class CDocTemplate {
public:
    CDocTemplate();
    ~CDocTemplate();
    CDocTemplate(const CDocTemplate&) = delete;
    CDocTemplate& operator=(const CDocTemplate&) = delete;

    // The main frame the child windows go into; set once it exists.
    void AttachMainFrame(CMainFrame& mainFrame);

    // Starts reading path for a new document; once it is read, the document
    // is shown, active, and opened runs. A file that cannot be read or is
    // refused ends in its message, an error of the read in its box, and
    // neither leaves anything behind.
    void OpenDocumentFile(const QString& path, std::function<void(CKelvaroDoc&)> opened = {});
    // The same for a zoom window of path over the zoom's X range: its rows
    // come from source (the table of the window it was drawn in) when the
    // file is still what source was read from, else from the file; the
    // window is titled as its first paint composes it.
    void OpenZoomWindow(const QString& path, std::shared_ptr<const LoadedTable> source,
                        const ZoomRequest& zoom);
    // A new untitled document, Kelvaro1, Kelvaro2, ..., with an empty diagram.
    CKelvaroDoc* OpenNewDocument();

    // Reads running now (or read and waiting for an earlier one), and
    // whether one of them is of canonicalPath.
    int OpensRunning() const { return static_cast<int>(m_opens.size()); }
    bool IsOpening(const QString& canonicalPath) const;
    // Cancels the read started last (Escape).
    void CancelNewestOpen();
    // How far the read started last got; null while none runs.
    const LoadProgress* NewestOpenProgress() const;
    // Ends every read; nothing of them is shown (the program is closing).
    void CancelAllOpens();

private:
    struct PendingOpen;
    void Start(std::unique_ptr<PendingOpen> open);
    void Cancel(const CKelvaroDoc* doc);
    void OnOpenFinished();
    void EndOpen(PendingOpen& open);
    void LetFirstOpenSpeak();
    void Discard(PendingOpen& open);
    std::unique_ptr<CChildFrame> CreateFrame(std::unique_ptr<CKelvaroDoc> doc);
    CKelvaroDoc* Show(std::unique_ptr<CChildFrame> frame);

    CMainFrame* m_pMainFrame = nullptr;
    QPointer<CLoadProgressPane> m_pPane; // a child of the main frame's status bar
    int m_nUntitledCount = 0;
    // In the order they were started.
    std::vector<std::unique_ptr<PendingOpen>> m_opens;
    bool m_bEndingOpens = false;
};
