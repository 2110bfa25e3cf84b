// The one document template: makes a document, its child frame and view (and
// with it the diagram) for every open, and discards all of them when it fails.
#pragma once

#include <QSize>
#include <QString>

#include <memory>

class CChildFrame;
class CKelvaroDoc;
class CMainFrame;

class CDocTemplate {
public:
    // The main frame the child windows go into; set once it exists.
    void AttachMainFrame(CMainFrame& mainFrame) { m_pMainFrame = &mainFrame; }

    // Always a new document of path, shown and active; null (after a message)
    // when the file cannot be read or is refused, with nothing left behind.
    // An error raised by the load discards everything too and goes on to the
    // caller.
    CKelvaroDoc* OpenDocumentFile(const QString& path);
    // A new untitled document, Kelvaro1, Kelvaro2, ..., with an empty diagram.
    CKelvaroDoc* OpenNewDocument();

private:
    std::unique_ptr<CChildFrame> CreateFrame();
    CKelvaroDoc* Show(std::unique_ptr<CChildFrame> frame);

    CMainFrame* m_pMainFrame = nullptr;
    int m_nUntitledCount = 0;
};
