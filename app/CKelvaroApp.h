// The application: start-up (settings, recent files, the document template,
// the main window), and the last guard that keeps an exception from ending
// the program from inside an event handler.
#pragma once

#include <QApplication>

#include <memory>

class CApplicationService;
class CDocManager;
class CDocTemplate;
class CMainFrame;
class CRecentFileList;

class CKelvaroApp : public QApplication {
    Q_OBJECT
public:
    CKelvaroApp(int& argc, char** argv);
    ~CKelvaroApp() override;

    // The start-up steps; false when the program cannot start. The files the
    // command line names are opened as File > Open opens them, in the order
    // given, unless a viewer of this display runs already: they are then
    // handed to it, and this process has nothing to show (HandedOver).
    bool InitInstance();
    bool HandedOver() const { return m_bHandedOver; }
    // Closes every window and drops the main window, as at the end of a run.
    void ExitInstance();

    bool notify(QObject* receiver, QEvent* event) override;

    CDocTemplate* m_pDocTemplate = nullptr;

    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
    CDocManager& DocManager() const { return *m_pDocManager; }
    CRecentFileList& RecentFiles() const { return *m_pRecentFiles; }

private:
    // Brings the main window to the front and opens paths in it: what a
    // later start asks of this viewer.
    void OpenHandedFiles(const QStringList& paths);

    bool m_bHandedOver = false;
    std::unique_ptr<CApplicationService> m_pService;
    std::unique_ptr<CRecentFileList> m_pRecentFiles;
    std::unique_ptr<CDocTemplate> m_pTemplate;
    std::unique_ptr<CDocManager> m_pDocManager;
    std::unique_ptr<CMainFrame> m_pMainFrame;
};
