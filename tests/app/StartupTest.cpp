// The viewer as a desktop starts it: the files its command line names open in
// order, and a later start hands its files to the viewer that runs (over a
// session bus of the test's own), never blocked by one that was killed.
#include "AppTestSupport.h"
#include "PrivateSessionBus.h"
#include "TestSupport.h"

#include "app/ApplicationService.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/StartupArguments.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QUrl>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <memory>

namespace {

const QString kServiceName = QStringLiteral("org.kelvaro.Kelvaro");

PrivateSessionBus* g_pBus = nullptr;
TempDir* g_pFiles = nullptr;

QString FilePath(const std::string& name) {
    return QString::fromStdString((g_pFiles->Path() / name).string());
}

QStringList WindowTitles() {
    QStringList titles;
    for (CChildFrame* frame : MainFrame().ChildFrames())
        titles.append(frame->windowTitle());
    return titles;
}

// Lets this viewer answer calls while it waits for condition; false when
// that takes longer than timeoutMs.
template <class Condition> bool ServeUntil(Condition condition, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// The real viewer on the offscreen platform, with the environment of this
// test (its bus, its settings folder) or the bus given.
std::unique_ptr<QProcess> StartViewer(const QStringList& arguments,
                                      const std::string& busAddress = {}) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!busAddress.empty())
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                           QString::fromStdString(busAddress));
    process->setProcessEnvironment(environment);
    process->start(QStringLiteral(KELVARO_VIEWER_PATH), arguments);
    process->waitForStarted();
    return process;
}

bool Finished(const QProcess& process) {
    return process.state() == QProcess::NotRunning;
}

// The process that owns the viewer's name on the bus at address; 0 for none.
uint NameOwnerPid(const std::string& address) {
    static int probes = 0;
    const QString name = QStringLiteral("probe-%1").arg(++probes);
    uint pid = 0;
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QString::fromStdString(address), name);
        if (bus.isConnected() && bus.interface()->isServiceRegistered(kServiceName))
            pid = bus.interface()->servicePid(kServiceName).value();
    }
    QDBusConnection::disconnectFromBus(name);
    return pid;
}

void Kill(QProcess& process) {
    process.kill();
    process.waitForFinished();
}

class StartUp : public testing::Test {
protected:
    void SetUp() override {
        // The files of the command line, then nothing else running.
        ModalBoxCloser closer;
        ASSERT_TRUE(WaitForReads());
        m_startupBoxes = closer.Texts();
        m_before = WindowTitles();
    }
    // A file of the test's own, which no window shows yet.
    static QString NewFile(const std::string& name) {
        g_pFiles->Write(name, "Title\nX;Y\n1;5\n2;4\n");
        return FilePath(name);
    }
    void RequireBus() {
        if (!g_pBus || g_pBus->Address().empty())
            GTEST_SKIP() << "dbus-daemon is not installed";
    }
    QStringList m_startupBoxes;
    QStringList m_before;
};

TEST_F(StartUp, OpensTheFilesOfTheCommandLineInOrderAndNamesTheOneMissing) {
    EXPECT_EQ(WindowTitles(), (QStringList{"first.txt", "second.csv"}));
    ASSERT_EQ(m_startupBoxes.size(), 1);
    EXPECT_TRUE(m_startupBoxes[0].contains(FilePath("missing.txt")))
        << m_startupBoxes[0].toStdString();
}

TEST_F(StartUp, ASecondStartHandsItsFilesToTheRunningViewerAndEnds) {
    RequireBus();
    const QString third = NewFile("third.txt");
    const QString folder = QString::fromStdString(g_pFiles->Path().string());
    const auto second = StartViewer({QStringLiteral("--bogus"), folder, third});
    ASSERT_TRUE(ServeUntil([&] { return Finished(*second); }, 30'000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    // What it could not hand over it named, one line each.
    const QString err = QString::fromUtf8(second->readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("kelvaro: unknown option --bogus")))
        << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("kelvaro: %1 is a folder").arg(folder)))
        << err.toStdString();

    ModalBoxCloser closer;
    ASSERT_TRUE(ServeUntil([] { return WindowTitles().contains("third.txt"); }, 30'000));
    ASSERT_TRUE(WaitForReads());
    EXPECT_EQ(WindowTitles(), m_before + QStringList{"third.txt"});
    EXPECT_TRUE(closer.Texts().isEmpty()) << closer.Texts().join(u'\n').toStdString();
}

TEST_F(StartUp, NewWindowStartsAViewerOfItsOwn) {
    RequireBus();
    const auto own = StartViewer({QStringLiteral("--new-window"), NewFile("own.txt")});
    // It neither ends nor hands anything over while this viewer answers.
    EXPECT_FALSE(ServeUntil([&] { return Finished(*own); }, 2'000));
    EXPECT_EQ(WindowTitles(), m_before);
    Kill(*own);
}

TEST_F(StartUp, AStartOnAnotherDisplayIsNotServed) {
    RequireBus();
    const QString name = QStringLiteral("other-display");
    QDBusConnection bus =
        QDBusConnection::connectToBus(QString::fromStdString(g_pBus->Address()), name);
    ASSERT_TRUE(bus.isConnected());
    QDBusMessage open = QDBusMessage::createMethodCall(
        kServiceName, QStringLiteral("/org/kelvaro/Kelvaro"),
        QStringLiteral("org.freedesktop.Application"), QStringLiteral("Open"));
    open << QStringList{QUrl::fromLocalFile(NewFile("elsewhere.txt")).toString()}
         << QVariantMap{{CApplicationService::kDisplayEntry, QStringLiteral("xcb :42")}};
    QDBusPendingCall call = bus.asyncCall(open);
    ASSERT_TRUE(ServeUntil([&] { return call.isFinished(); }, 30'000));
    EXPECT_TRUE(call.isError());
    EXPECT_EQ(call.error().name(), QStringLiteral("org.kelvaro.Kelvaro.Error.OtherDisplay"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(WaitForReads());
    EXPECT_EQ(WindowTitles(), m_before);
    QDBusConnection::disconnectFromBus(name);
}

TEST_F(StartUp, AKilledViewerDoesNotStopTheNextStart) {
    RequireBus();
    // A bus where no viewer of this test holds the name.
    const PrivateSessionBus other;
    ASSERT_FALSE(other.Address().empty());
    const auto killed = StartViewer({}, other.Address());
    ASSERT_TRUE(ServeUntil([&] { return NameOwnerPid(other.Address()) != 0; }, 30'000));
    ::kill(static_cast<pid_t>(killed->processId()), SIGKILL);
    killed->waitForFinished();

    const auto next = StartViewer({NewFile("next.txt")}, other.Address());
    const auto nextPid = static_cast<uint>(next->processId());
    ASSERT_TRUE(ServeUntil([&] { return NameOwnerPid(other.Address()) == nextPid; }, 30'000));
    // And it serves: a third start hands over to it and ends.
    const auto third = StartViewer({FilePath("first.txt")}, other.Address());
    ASSERT_TRUE(ServeUntil([&] { return Finished(*third); }, 30'000));
    EXPECT_EQ(third->exitCode(), 0);
    EXPECT_FALSE(Finished(*next));
    Kill(*next);
}

TEST(StartupArguments, FilesInOrderOptionsAndFolders) {
    const TempDir dir;
    std::filesystem::create_directory(dir.Path() / "folder");
    const QString base = QString::fromStdString(dir.Path().string());
    const StartupArguments parsed = ParseStartupArguments(
        {"kelvaro", "b.csv", "-x", "--new-window", "folder", "sub/../a.txt", "--", "--c.txt", "-"},
        base);
    EXPECT_EQ(parsed.files,
              (QStringList{base + "/b.csv", base + "/a.txt", base + "/--c.txt", base + "/-"}));
    EXPECT_TRUE(parsed.newWindow);
    EXPECT_EQ(parsed.notes, (QStringList{"unknown option -x is ignored (see kelvaro --help)",
                                         "folder is a folder, not a data file; it is not opened"}));
    EXPECT_FALSE(ParseStartupArguments({"kelvaro", "/abs.txt"}, base).newWindow);
}

TEST(Executable, SaysInOneLineThatNoPlatformPluginCouldStart) {
    const TempDir runtime;
    QProcess viewer;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-platform"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                       QString::fromStdString(runtime.Path().string()));
    viewer.setProcessEnvironment(environment);
    viewer.start(QStringLiteral(KELVARO_VIEWER_PATH), {});
    ASSERT_TRUE(viewer.waitForFinished(60'000));
    EXPECT_EQ(viewer.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(viewer.exitCode(), 1);
    const QString err = QString::fromUtf8(viewer.readAllStandardError());
    EXPECT_TRUE(err.startsWith(QStringLiteral("kelvaro: no Qt platform plugin")))
        << err.toStdString();
    EXPECT_EQ(err.count(u'\n'), 1) << err.toStdString();
}

} // namespace

int main(int argc, char** argv) {
    // The bus and the files live as long as the viewer under test.
    PrivateSessionBus bus;
    g_pBus = &bus;
    if (!bus.Address().empty())
        qputenv("DBUS_SESSION_BUS_ADDRESS", QByteArray::fromStdString(bus.Address()));
    TempDir files;
    g_pFiles = &files;
    files.Write("first.txt", "First\nX;Y\n1;2\n2;3\n");
    files.Write("second.csv", "time,temp\n0,20.5\n1,21\n");
    const TempDir runtime;
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.Path().string()));
    return RunWithViewer(argc, argv,
                         {FilePath("first.txt").toStdString(),
                          FilePath("missing.txt").toStdString(),
                          FilePath("second.csv").toStdString()});
}
