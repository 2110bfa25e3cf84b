#include "app/CDocTemplate.h"

#include "app/CChildFrame.h"
#include "app/CKelvaroDoc.h"
#include "app/CKelvaroView.h"
#include "app/CMainFrame.h"
#include "app/GuardedCall.h"
#include "app/PendingOpen.h"
#include "diagram/LoadProgress.h"
#include "qtdraw/QtText.h"

#include <QStatusBar>

#include <algorithm>

CDocTemplate::CDocTemplate() = default;

CDocTemplate::~CDocTemplate() = default;

std::unique_ptr<CChildFrame> CDocTemplate::CreateFrame() {
    auto frame = std::make_unique<CChildFrame>();
    // The frame owns the view, the view its document: closing the frame
    // takes down all three.
    auto* view = new CKelvaroView(std::make_unique<CKelvaroDoc>(), *m_pMainFrame, *this);
    frame->setWidget(view);
    CKelvaroDoc* doc = &view->Document();
    QObject::connect(doc, &CKelvaroDoc::TitleChanged, frame.get(), &QWidget::setWindowTitle);
    QObject::connect(doc, &CKelvaroDoc::TitleChanged, m_pMainFrame, &CMainFrame::UpdateCommandUi);
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
    CPendingOpen::Request request;
    request.path = path;
    request.opened = std::move(opened);
    // Only the first read in line may show a box.
    Start(std::make_unique<CPendingOpen>(std::move(request), m_pMainFrame,
                                         *m_pMainFrame->statusBar(), !m_opens.empty()));
}

void CDocTemplate::OpenZoomWindow(const QString& path, CKelvaroView& source,
                                  const ZoomRequest& zoom) {
    CPendingOpen::Request request;
    request.path = path;
    request.zoom = zoom;
    request.zoomSource = &source;
    Start(std::make_unique<CPendingOpen>(std::move(request), m_pMainFrame,
                                         *m_pMainFrame->statusBar(), !m_opens.empty()));
}

void CDocTemplate::Start(std::unique_ptr<CPendingOpen> open) {
    QObject::connect(open.get(), &CPendingOpen::Finished, m_pMainFrame,
                     [this](CPendingOpen* finished) { OnOpenFinished(finished); });
    m_opens.push_back(std::move(open));
}

bool CDocTemplate::IsOpening(const QString& canonicalPath) const {
    return !canonicalPath.isEmpty() &&
           std::ranges::any_of(m_opens, [&](const std::unique_ptr<CPendingOpen>& open) {
               return !open->GetRequest().zoom && open->CanonicalPath() == canonicalPath;
           });
}

void CDocTemplate::CancelNewestOpen() {
    if (!m_opens.empty())
        m_opens.back()->Job().Cancel();
}

void CDocTemplate::StopReadsOf(const CKelvaroView& source) {
    std::erase_if(m_opens, [&](const std::unique_ptr<CPendingOpen>& open) {
        return open->GetRequest().zoomSource == &source;
    });
    LetFirstOpenSpeak();
}

void CDocTemplate::LetFirstOpenSpeak() {
    if (!m_opens.empty())
        m_opens.front()->Job().ShowBoxes();
}

// Reads run side by side but end in the order they were started, as one
// after the other would: windows, boxes and recent entries come in that
// order. A cancelled read ends at once, since it has nothing to show.
void CDocTemplate::OnOpenFinished(CPendingOpen* finished) {
    if (m_opens.empty())
        return;
    if (finished->Job().Cancelled() && finished != m_opens.front().get()) {
        const auto found =
            std::ranges::find_if(m_opens, [&](const auto& open) { return open.get() == finished; });
        if (found != m_opens.end()) {
            found->release()->deleteLater();
            m_opens.erase(found);
        }
        return;
    }
    // A box of one read's end runs an event loop, in which the next read may
    // finish: the loop below takes it once the box is closed.
    if (m_bEndingOpens)
        return;
    m_bEndingOpens = true;
    while (!m_opens.empty() && !m_opens.front()->Job().Running()) {
        // Deleted once control is back in the event loop: this runs inside
        // a signal of the open's own.
        CPendingOpen* open = m_opens.front().release();
        m_opens.erase(m_opens.begin());
        open->deleteLater();
        EndOpen(*open);
        LetFirstOpenSpeak();
    }
    m_bEndingOpens = false;
    m_pMainFrame->UpdateCommandUi();
}

// The read is over: the window is made from its table, or nothing is made.
void CDocTemplate::EndOpen(CPendingOpen& open) {
    RunGuarded(m_pMainFrame, [&] {
        if (const std::exception_ptr error = open.Job().Error()) {
            try {
                std::rethrow_exception(error);
            } catch (const LoadCancelled&) {
                return;
            }
        }
        if (!open.Succeeded())
            return;
        const CPendingOpen::Request& request = open.GetRequest();
        std::unique_ptr<CChildFrame> frame = CreateFrame();
        CKelvaroView& view = *frame->View();
        for (const std::string& shown : open.Job().ShownMessages())
            view.NoteWarningShown(shown);
        if (request.zoom) {
            // The first paint of a zoom window composes its title.
            const ZoomOpenScope scope(*request.zoom);
            view.Document().OnOpenDocument(request.path, open.TakeTable());
            view.Document().SetTitle(TextFromBytes(g_strZoomTitle));
        } else {
            view.Document().OnOpenDocument(request.path, open.TakeTable());
        }
        view.StartSpectrum();
        view.StartLiveRefresh();
        CKelvaroDoc* doc = Show(std::move(frame));
        if (request.opened)
            request.opened(*doc);
    });
}

CKelvaroDoc* CDocTemplate::OpenNewDocument() {
    std::unique_ptr<CChildFrame> frame = CreateFrame();
    frame->View()->Document().SetTitle(QStringLiteral("Kelvaro%1").arg(++m_nUntitledCount));
    return Show(std::move(frame));
}
