// Opens files for the user: brings an already-open file's window to the front,
// otherwise opens it through the template and records it in the recent files.
#pragma once

#include <QString>

class CDocTemplate;
class CKelvaroDoc;
class CMainFrame;
class CRecentFileList;

class CDocManager {
public:
    CDocManager(CDocTemplate& docTemplate, CRecentFileList& recentFiles)
        : m_docTemplate(docTemplate), m_recentFiles(recentFiles) {}

    void AttachMainFrame(CMainFrame& mainFrame) { m_pMainFrame = &mainFrame; }

    // Brings the window of path to the front when its file (compared by
    // canonical path) is open; else starts reading it, unless a read of it
    // runs already (its window comes to the front when it is ready). The file
    // goes into the recent files once its window is shown.
    void OpenDocumentFile(const QString& path);
    CKelvaroDoc* OnFileNew();

    CRecentFileList& RecentFiles() const { return m_recentFiles; }
    CDocTemplate& Template() const { return m_docTemplate; }

private:
    // Brings the window of the document of canonicalPath to the front, if any.
    CKelvaroDoc* ActivateOpenDocument(const QString& canonicalPath) const;

    CDocTemplate& m_docTemplate;
    CRecentFileList& m_recentFiles;
    CMainFrame* m_pMainFrame = nullptr;
};
