#include "app/CDocTemplate.h"

#include "app/CChildFrame.h"
#include "app/CKelvaroDoc.h"
#include "app/CKelvaroView.h"
#include "app/CMainFrame.h"
#include "app/GuardedCall.h"
#include "app/Job.h"
#include "app/LoadProgressPane.h"

#include <QFileInfo>
#include <QStatusBar>

#include <algorithm>

// A document whose file is being read, not yet shown.
struct CDocTemplate::PendingOpen {
    std::unique_ptr<CKelvaroDoc> doc;
    QString canonicalPath;
    bool zoom = false;
    // Runs once the window is shown.
    std::function<void(CKelvaroDoc&)> opened;
    CJob& Job() const { return *doc->OpenJob(); }
};

CDocTemplate::CDocTemplate() = default;

CDocTemplate::~CDocTemplate() {
    CancelAllOpens();
}

void CDocTemplate::AttachMainFrame(CMainFrame& mainFrame) {
    m_pMainFrame = &mainFrame;
    QStatusBar& statusBar = *m_pMainFrame->statusBar();
    m_pPane = new CLoadProgressPane(&statusBar);
    // Right of the readout pane, left of the lock indicators.
    statusBar.insertWidget(1, m_pPane);
}

std::unique_ptr<CChildFrame> CDocTemplate::CreateFrame(std::unique_ptr<CKelvaroDoc> doc) {
    auto frame = std::make_unique<CChildFrame>();
    // The frame owns the view, the view its document: closing the frame
    // takes down all three.
    CKelvaroDoc* document = doc.get();
    auto* view = new CKelvaroView(std::move(doc), *m_pMainFrame, *this);
    frame->setWidget(view);
    QObject::connect(document, &CKelvaroDoc::TitleChanged, frame.get(), &QWidget::setWindowTitle);
    QObject::connect(document, &CKelvaroDoc::TitleChanged, m_pMainFrame,
                     &CMainFrame::UpdateCommandUi);
    // The first paint lays the plot out for the size the window will have.
    view->resize(m_pMainFrame->DefaultChildClientSize());
    return frame;
}

CKelvaroDoc* CDocTemplate::Show(std::unique_ptr<CChildFrame> frame) {
    CKelvaroDoc& doc = frame->View()->Document();
    m_pMainFrame->AddChildFrame(frame.release());
    return &doc;
}

void CDocTemplate::OpenDocumentFile(const QString& path, std::function<void(CKelvaroDoc&)> opened) {
    auto open = std::make_unique<PendingOpen>();
    open->doc = std::make_unique<CKelvaroDoc>();
    open->canonicalPath = QFileInfo(path).canonicalFilePath();
    open->opened = std::move(opened);
    // Only the first read in line may show a box.
    open->doc->StartOpen({path, std::nullopt, nullptr}, m_pMainFrame, !m_opens.empty());
    Start(std::move(open));
}

void CDocTemplate::OpenZoomWindow(const QString& path, std::shared_ptr<const LoadedTable> source,
                                  const ZoomRequest& zoom) {
    auto open = std::make_unique<PendingOpen>();
    open->doc = std::make_unique<CKelvaroDoc>();
    open->canonicalPath = QFileInfo(path).canonicalFilePath();
    open->zoom = true;
    open->doc->StartOpen({path, zoom, std::move(source)}, m_pMainFrame, !m_opens.empty());
    Start(std::move(open));
}

void CDocTemplate::Start(std::unique_ptr<PendingOpen> open) {
    CJob& job = open->Job();
    const CKelvaroDoc* doc = open->doc.get();
    QObject::connect(&job, &CJob::Finished, m_pMainFrame, [this] { OnOpenFinished(); });
    const QFileInfo info(open->doc->GetOpenRequest().path);
    m_pPane->AddRead(job, info.fileName(), info.size(), [this, doc] { Cancel(doc); });
    m_opens.push_back(std::move(open));
}

bool CDocTemplate::IsOpening(const QString& canonicalPath) const {
    return !canonicalPath.isEmpty() &&
           std::ranges::any_of(m_opens, [&](const std::unique_ptr<PendingOpen>& open) {
               return !open->zoom && open->canonicalPath == canonicalPath;
           });
}

const LoadProgress* CDocTemplate::NewestOpenProgress() const {
    return m_opens.empty() ? nullptr : &m_opens.back()->Job().Progress();
}

void CDocTemplate::CancelNewestOpen() {
    if (!m_opens.empty())
        Cancel(m_opens.back()->doc.get());
}

// A read the user cancelled never shows a window, a recent entry or a box:
// one that has ended already (waiting for an earlier one) goes at once,
// one that runs goes when its work has stopped.
void CDocTemplate::Cancel(const CKelvaroDoc* doc) {
    const auto found = std::ranges::find_if(
        m_opens, [&](const std::unique_ptr<PendingOpen>& open) { return open->doc.get() == doc; });
    if (found == m_opens.end())
        return;
    CJob& job = (*found)->Job();
    job.Cancel();
    if (job.Running())
        return;
    const bool first = found == m_opens.begin();
    m_pPane->RemoveRead(job);
    Discard(**found);
    m_opens.erase(found);
    if (first)
        OnOpenFinished();
}

void CDocTemplate::CancelAllOpens() {
    for (const std::unique_ptr<PendingOpen>& open : m_opens)
        if (m_pPane)
            m_pPane->RemoveRead(open->Job());
    // The documents stop their reads as they go.
    m_opens.clear();
}

void CDocTemplate::LetFirstOpenSpeak() {
    if (!m_opens.empty())
        m_opens.front()->Job().ShowBoxes();
}

// Reads end in the order they were started, as one after the other would:
// windows, boxes and recent entries come in that order. A cancelled read
// ends at once, since it has nothing to show.
void CDocTemplate::OnOpenFinished() {
    // A cancelled read that is not first in line leaves now.
    for (auto open = m_opens.begin() + (m_opens.empty() ? 0 : 1); open != m_opens.end();) {
        CJob& job = (*open)->Job();
        if (job.Cancelled() && !job.Running()) {
            m_pPane->RemoveRead(job);
            Discard(**open);
            open = m_opens.erase(open);
        } else {
            ++open;
        }
    }
    // A box of one read's end runs an event loop, in which the next read may
    // finish: the loop below takes it once the box is closed.
    if (m_bEndingOpens)
        return;
    m_bEndingOpens = true;
    while (!m_opens.empty() && !m_opens.front()->Job().Running()) {
        std::unique_ptr<PendingOpen> open = std::move(m_opens.front());
        m_opens.erase(m_opens.begin());
        m_pPane->RemoveRead(open->Job());
        EndOpen(*open);
        LetFirstOpenSpeak();
    }
    m_bEndingOpens = false;
    m_pMainFrame->UpdateCommandUi();
}

// The read is over: the window is made from its table, or nothing is made.
// The outcome is asked here, where it is delivered: a read cancelled after
// its last byte still shows nothing.
void CDocTemplate::EndOpen(PendingOpen& open) {
    RunGuarded(m_pMainFrame, [&] {
        CKelvaroDoc* doc = open.doc.get();
        const std::vector<std::string> shown = open.Job().ShownMessages();
        std::optional<LoadedTable> table = doc->TakeOpenedTable();
        if (!table)
            return;
        const QString path = doc->GetOpenRequest().path;
        std::unique_ptr<CChildFrame> frame = CreateFrame(std::move(open.doc));
        for (const std::string& text : shown)
            doc->NoteWarningShown(text);
        doc->OnOpenDocument(path, std::move(*table));
        doc->StartSpectrum();
        doc->StartLiveRefresh();
        Show(std::move(frame));
        if (open.opened)
            open.opened(*doc);
    });
    Discard(open);
}

// A document that got no window goes once control is back in the event
// loop: this may run inside a signal of its job's own, or of the pane's.
void CDocTemplate::Discard(PendingOpen& open) {
    if (open.doc)
        open.doc.release()->deleteLater();
}

CKelvaroDoc* CDocTemplate::OpenNewDocument() {
    std::unique_ptr<CChildFrame> frame = CreateFrame(std::make_unique<CKelvaroDoc>());
    frame->View()->Document().SetTitle(QStringLiteral("Kelvaro%1").arg(++m_nUntitledCount));
    return Show(std::move(frame));
}
