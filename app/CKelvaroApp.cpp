#include "app/CKelvaroApp.h"

#include "app/CDocManager.h"
#include "app/CDocTemplate.h"
#include "app/CMainFrame.h"
#include "app/GuardedCall.h"
#include "app/RecentFileList.h"

#include "KelvaroVersion.h"

#include <QCommandLineParser>
#include <QFont>
#include <QIcon>

#include <clocale>

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

    m_pRecentFiles = std::make_unique<CRecentFileList>();
    m_pRecentFiles->Load();

    m_pTemplate = std::make_unique<CDocTemplate>();
    m_pDocTemplate = m_pTemplate.get();
    m_pDocManager = std::make_unique<CDocManager>(*m_pTemplate, *m_pRecentFiles);

    m_pMainFrame = std::make_unique<CMainFrame>(*m_pDocManager);
    m_pTemplate->AttachMainFrame(*m_pMainFrame);
    m_pDocManager->AttachMainFrame(*m_pMainFrame);

    // The command line is read and otherwise left alone: start-up opens no
    // document, and an option it does not know does not stop it either.
    QCommandLineParser parser;
    parser.parse(arguments());

    m_pMainFrame->show();
    return true;
}

void CKelvaroApp::ExitInstance() {
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
