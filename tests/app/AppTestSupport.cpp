#include "AppTestSupport.h"

#include "TestSupport.h"

#include "app/CChildFrame.h"
#include "app/CDocManager.h"
#include "app/CDocTemplate.h"
#include "app/CKelvaroDoc.h"
#include "app/CKelvaroView.h"
#include "app/CMainFrame.h"

#include <QFileInfo>

#include <QAbstractButton>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

CKelvaroApp* g_pApp = nullptr;
// Closers alive now: while there is none, a box is one nobody closes.
int g_closers = 0;

// Fails the test that left a box up with no closer, and closes it, so that a
// failing test never hangs the suite on a modal loop.
void GuardAgainstStrayBoxes() {
    static QWidget* seen = nullptr;
    static int ticks = 0;
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || g_closers > 0 || modal != seen) {
            seen = modal;
            ticks = 0;
            return;
        }
        if (++ticks < 3 * SlowdownOfThisBuild())
            return;
        const auto* box = qobject_cast<QMessageBox*>(modal);
        ADD_FAILURE() << "a box nobody closed: "
                      << (box ? box->text() : modal->windowTitle()).toStdString();
        modal->close();
        seen = nullptr;
    });
    timer->start(1000);
}

} // namespace

CKelvaroApp& App() {
    return *g_pApp;
}
CMainFrame& MainFrame() {
    return *g_pApp->MainFrame();
}

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '{';
    for (const QString& text : texts) {
        *out << "\n  ";
        PrintTo(text, out);
    }
    *out << " }";
}

void ResetMainWindow() {
    for (CChildFrame* frame : MainFrame().ChildFrames())
        frame->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QApplication::setActiveWindow(&MainFrame());
}

bool WaitForReads() {
    const auto running = [] {
        if (App().DocManager().Template().OpensRunning() > 0)
            return true;
        for (CChildFrame* frame : MainFrame().ChildFrames())
            if (frame->View()->Document().RefreshRunning() ||
                frame->View()->Document().SpectrumRunning())
                return true;
        return false;
    };
    const QDeadlineTimer deadline(10'000 * SlowdownOfThisBuild());
    while (running()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    // Windows a finished read let go of.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return true;
}

CKelvaroDoc* OpenAndWait(const QString& path) {
    App().DocManager().OpenDocumentFile(path);
    if (!WaitForReads())
        return nullptr;
    CKelvaroView* view = MainFrame().ActiveView();
    const QString wanted = QFileInfo(path).canonicalFilePath();
    if (!view || wanted.isEmpty() ||
        QFileInfo(view->Document().PathName()).canonicalFilePath() != wanted)
        return nullptr;
    return &view->Document();
}

CKelvaroDoc* OpenAndWait(const std::string& path) {
    return OpenAndWait(QString::fromStdString(path));
}

ModalBoxCloser::ModalBoxCloser() : m_pTimer(new QTimer) {
    ++g_closers;
    QObject::connect(m_pTimer, &QTimer::timeout, [this] { CloseModal(); });
    m_pTimer->start(20);
}

ModalBoxCloser::~ModalBoxCloser() {
    delete m_pTimer;
    --g_closers;
}

void ModalBoxCloser::CloseModal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    m_titles.append(modal->windowTitle());
    if (onBox)
        onBox();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        m_texts.append(box->text());
        QAbstractButton* button = box->defaultButton();
        if (!button && !box->buttons().isEmpty())
            button = box->buttons().first();
        if (button) {
            button->click();
            return;
        }
    } else {
        QStringList labels;
        for (const QLabel* label : modal->findChildren<QLabel*>())
            labels.append(label->text());
        m_texts.append(labels.join(u'\n'));
        for (QPushButton* button : modal->findChildren<QPushButton*>()) {
            if (button->isDefault()) {
                button->click();
                return;
            }
        }
    }
    modal->close();
}

bool ModalBoxCloser::WaitFor(int count) {
    QDeadlineTimer deadline(5000 * SlowdownOfThisBuild());
    while (m_texts.size() < count && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return m_texts.size() >= count;
}

int RunWithViewer(int argc, char** argv, const std::vector<std::string>& arguments) {
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings of the tests never touch the user's recent files.
    char configTemplate[] = "/tmp/kelvaro-app-tests-XXXXXX";
    const char* configDir = mkdtemp(configTemplate);
    if (!configDir)
        return 2;
    qputenv("XDG_CONFIG_HOME", configDir);

    std::vector<std::string> texts{argv[0]};
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> appArgv;
    for (std::string& text : texts)
        appArgv.push_back(text.data());
    appArgv.push_back(nullptr);
    int appArgc = int(texts.size());
    CKelvaroApp app(appArgc, appArgv.data());
    g_pApp = &app;
    if (!app.InitInstance())
        return 2;
    GuardAgainstStrayBoxes();

    const int result = RUN_ALL_TESTS();
    app.ExitInstance();
    std::filesystem::remove_all(configDir);
    return result;
}
