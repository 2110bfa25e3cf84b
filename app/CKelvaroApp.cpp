#include "app/CKelvaroApp.h"

#include "app/ApplicationService.h"
#include "app/CDocManager.h"
#include "app/CDocTemplate.h"
#include "app/CMainFrame.h"
#include "app/GuardedCall.h"
#include "app/RecentFileList.h"
#include "app/StartupArguments.h"

#include "KelvaroVersion.h"

#include <QDir>
#include <QFont>
#include <QIcon>

#include <clocale>
#include <cstdio>

static void InitResources() {
    Q_INIT_RESOURCE(kelvaro);
}

CKelvaroApp::CKelvaroApp(int& argc, char** argv) : QApplication(argc, argv) {
    // Numbers in the derived files and labels are written the C way whatever
    // the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    InitResources();
}

CKelvaroApp::~CKelvaroApp() {
    ExitInstance();
}

bool CKelvaroApp::InitInstance() {
    // Per-user settings: QSettings() is QSettings("Tarnvik", "Kelvaro").
    setOrganizationName(QStringLiteral("Tarnvik"));
    setApplicationName(QStringLiteral("Kelvaro"));
    setApplicationVersion(QString::fromUtf8(kKelvaroVersion));
    // The desktop entry's name, by which a desktop finds the entry and its
    // icon for the windows of this process.
    setDesktopFileName(QString::fromUtf8(kKelvaroAppId));
    setWindowIcon(QIcon(QStringLiteral(":/icons/kelvaro.svg")));
    QFont::insertSubstitutions(QStringLiteral("Arial Cyr"),
                               {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});

    const StartupArguments startup = ParseStartupArguments(arguments(), QDir::currentPath());
    for (const QString& note : startup.notes)
        std::fprintf(stderr, "kelvaro: %s\n", qUtf8Printable(note));
    if (!startup.newWindow) {
        m_pService = std::make_unique<CApplicationService>(CApplicationService::Handlers{
            [this](const QStringList& paths) { OpenHandedFiles(paths); },
            [this] { OpenHandedFiles({}); }});
        if (m_pService->Start(startup.files) == CApplicationService::Role::HandedOver) {
            m_bHandedOver = true;
            m_pService.reset();
            return true;
        }
    }

    m_pRecentFiles = std::make_unique<CRecentFileList>();
    m_pRecentFiles->Load();

    m_pTemplate = std::make_unique<CDocTemplate>();
    m_pDocTemplate = m_pTemplate.get();
    m_pDocManager = std::make_unique<CDocManager>(*m_pTemplate, *m_pRecentFiles);

    m_pMainFrame = std::make_unique<CMainFrame>(*m_pDocManager);
    m_pTemplate->AttachMainFrame(*m_pMainFrame);
    m_pDocManager->AttachMainFrame(*m_pMainFrame);

    m_pMainFrame->show();
    for (const QString& path : startup.files)
        m_pMainFrame->OpenFile(path);
    return true;
}

void CKelvaroApp::OpenHandedFiles(const QStringList& paths) {
    if (!m_pMainFrame)
        return;
    m_pMainFrame->BringToFront();
    for (const QString& path : paths)
        m_pMainFrame->OpenFile(path);
}

void CKelvaroApp::ExitInstance() {
    // No later start hands files to a viewer that is closing, and no read
    // still running shows a window.
    m_pService.reset();
    if (m_pTemplate)
        m_pTemplate->CancelAllOpens();
    m_pMainFrame.reset();
    m_pDocManager.reset();
    m_pDocTemplate = nullptr;
    m_pTemplate.reset();
    m_pRecentFiles.reset();
}

bool CKelvaroApp::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowErrorBox(activeWindow(), error);
        return true;
    }
}
