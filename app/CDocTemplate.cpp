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
    Start(std::make_unique<CPendingOpen>(std::move(request), m_pMainFrame,
                                         *m_pMainFrame->statusBar()));
}

void CDocTemplate::OpenZoomWindow(const QString& path, CKelvaroView& source,
                                  const ZoomRequest& zoom) {
    CPendingOpen::Request request;
    request.path = path;
    request.zoom = zoom;
    request.zoomSource = &source;
    Start(std::make_unique<CPendingOpen>(std::move(request), m_pMainFrame,
                                         *m_pMainFrame->statusBar()));
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
}

// The read is over: the window is made from its table, or nothing is made.
void CDocTemplate::OnOpenFinished(CPendingOpen* finished) {
    const auto found = std::ranges::find_if(
        m_opens, [&](const std::unique_ptr<CPendingOpen>& open) { return open.get() == finished; });
    if (found == m_opens.end())
        return;
    // Deleted once control is back in the event loop: this runs inside a
    // signal of the open's own.
    CPendingOpen* open = found->release();
    m_opens.erase(found);
    open->deleteLater();
    RunGuarded(m_pMainFrame, [&] {
        if (const std::exception_ptr error = open->Job().Error()) {
            try {
                std::rethrow_exception(error);
            } catch (const LoadCancelled&) {
                return;
            }
        }
        if (!open->Succeeded())
            return;
        const CPendingOpen::Request& request = open->GetRequest();
        std::unique_ptr<CChildFrame> frame = CreateFrame();
        CKelvaroView& view = *frame->View();
        for (const std::string& shown : open->Job().ShownMessages())
            view.NoteWarningShown(shown);
        if (request.zoom) {
            // The first paint of a zoom window composes its title.
            const ZoomOpenScope scope(*request.zoom);
            view.Document().OnOpenDocument(request.path, open->TakeTable());
            view.Document().SetTitle(TextFromBytes(g_strZoomTitle));
        } else {
            view.Document().OnOpenDocument(request.path, open->TakeTable());
        }
        view.StartLiveRefresh();
        CKelvaroDoc* doc = Show(std::move(frame));
        if (request.opened)
            request.opened(*doc);
    });
    m_pMainFrame->UpdateCommandUi();
}

CKelvaroDoc* CDocTemplate::OpenNewDocument() {
    std::unique_ptr<CChildFrame> frame = CreateFrame();
    frame->View()->Document().SetTitle(QStringLiteral("Kelvaro%1").arg(++m_nUntitledCount));
    return Show(std::move(frame));
}
