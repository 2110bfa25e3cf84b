#include "app/CDocManager.h"

#include "app/CChildFrame.h"
#include "app/CDocTemplate.h"
#include "app/CKelvaroDoc.h"
#include "app/CKelvaroView.h"
#include "app/CMainFrame.h"
#include "app/RecentFileList.h"

#include <QFileInfo>

CKelvaroDoc* CDocManager::ActivateOpenDocument(const QString& canonicalPath) const {
    if (canonicalPath.isEmpty())
        return nullptr;
    for (CChildFrame* frame : m_pMainFrame->ChildFrames()) {
        CKelvaroDoc& doc = frame->View()->Document();
        if (!doc.PathName().isEmpty() &&
            QFileInfo(doc.PathName()).canonicalFilePath() == canonicalPath) {
            m_pMainFrame->ActivateChildFrame(frame);
            return &doc;
        }
    }
    return nullptr;
}

CKelvaroDoc* CDocManager::OpenDocumentFile(const QString& path) {
    const QFileInfo info(path);
    if (CKelvaroDoc* open = ActivateOpenDocument(info.canonicalFilePath()))
        return open;
    CKelvaroDoc* doc = m_docTemplate.OpenDocumentFile(info.absoluteFilePath());
    if (doc)
        m_recentFiles.Add(info.absoluteFilePath());
    return doc;
}

CKelvaroDoc* CDocManager::OnFileNew() {
    return m_docTemplate.OpenNewDocument();
}
