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

void CDocManager::OpenDocumentFile(const QString& path) {
    const QFileInfo info(path);
    if (ActivateOpenDocument(info.canonicalFilePath()) ||
        m_docTemplate.IsOpening(info.canonicalFilePath()))
        return;
    m_docTemplate.OpenDocumentFile(
        info.absoluteFilePath(),
        [this, path = info.absoluteFilePath()](CKelvaroDoc&) { m_recentFiles.Add(path); });
}

CKelvaroDoc* CDocManager::OnFileNew() {
    return m_docTemplate.OpenNewDocument();
}
