#include "app/CDocTemplate.h"

#include "app/CChildFrame.h"
#include "app/CKelvaroDoc.h"
#include "app/CKelvaroView.h"
#include "app/CMainFrame.h"

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

CKelvaroDoc* CDocTemplate::OpenDocumentFile(const QString& path) {
    std::unique_ptr<CChildFrame> frame = CreateFrame();
    if (!frame->View()->Document().OnOpenDocument(path))
        return nullptr;
    frame->View()->StartLiveRefresh();
    return Show(std::move(frame));
}

CKelvaroDoc* CDocTemplate::OpenNewDocument() {
    std::unique_ptr<CChildFrame> frame = CreateFrame();
    frame->View()->Document().SetTitle(QStringLiteral("Kelvaro%1").arg(++m_nUntitledCount));
    return Show(std::move(frame));
}
