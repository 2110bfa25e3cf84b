// A file the system cannot open or read: the loader hands its host the fixed
// message text and, apart from it, the system's reason; hosts that do not
// ask for the reason show the text alone.
#include "TestSupport.h"

#include "diagram/CDiagram.h"
#include "diagram/FileBytes.h"
#include "diagram/LineReader.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Records each warning with the reason it came with, and whether it came
// through the call that carries one.
class ReasonHost : public RecordingHost {
public:
    struct Warning {
        std::string text;
        std::string reason;
        bool withReason = false;
    };
    void ShowWarning(const std::string& text) override {
        RecordingHost::ShowWarning(text);
        shown.push_back({text, {}, false});
    }
    void ShowWarningWithReason(const std::string& text, const std::string& reason) override {
        RecordingHost::ShowWarning(text);
        shown.push_back({text, reason, true});
    }
    std::vector<Warning> shown;
};

// Loads path as the batch tool does (pipes and devices allowed) or as the
// viewer does (regular files only); false when the load failed.
bool Load(IDiagramHost& host, const std::string& path, bool onlyRegularFiles = false) {
    CDiagram diagram(&host);
    return diagram.LoadFile(path, LoadLimits{.onlyRegularFiles = onlyRegularFiles},
                            CDiagram::LoadMode::OpenSpectrumLater);
}

// A device whose reads fail at once (an unattached tunnel, the loop-device
// control): the errno of its first read, found here with a read of our own.
struct FailingDevice {
    std::string path;
    int readError = 0;
};

std::optional<FailingDevice> FindFailingDevice() {
    for (const char* path : {"/dev/net/tun", "/dev/loop-control"}) {
        const int fd = open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        std::vector<char> buffer(1 << 18);
        const ssize_t got = read(fd, buffer.data(), buffer.size());
        const int error = errno;
        close(fd);
        if (got < 0 && error != EAGAIN && error != EINTR)
            return FailingDevice{path, error};
    }
    return std::nullopt;
}

} // namespace

TEST(LoadFailureReason, OpenFailuresGiveTheFixedTextAndTheSystemsReasonApart) {
    TempDir dir;
    const fs::path file = dir.Write("table.txt", "T\nt;a\n1;2\n");
    const struct {
        fs::path path;
        int error;
    } cases[] = {
        {dir.Path() / "missing.txt", ENOENT},
        {file / "x", ENOTDIR}, // a path through a file
        {dir.Path(), EISDIR},  // a folder opens, but is no file to read
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        ReasonHost host;
        EXPECT_FALSE(Load(host, c.path.string()));
        ASSERT_EQ(host.shown.size(), 1u);
        EXPECT_EQ(host.shown[0].text, "Can not open a file \"" + c.path.string() + "\".");
        EXPECT_TRUE(host.shown[0].withReason);
        EXPECT_EQ(host.shown[0].reason, std::strerror(c.error));
    }
}

// A host that only shows warnings (the test recorders, a window's status
// line) gets the fixed text, never the reason glued to it.
TEST(LoadFailureReason, HostWithoutAReasonShowsTheFixedTextAlone) {
    TempDir dir;
    const std::string missing = (dir.Path() / "missing.txt").string();
    RecordingHost host;
    EXPECT_FALSE(Load(host, missing));
    EXPECT_EQ(host.warnings, std::vector<std::string>{"Can not open a file \"" + missing + "\"."});
}

// Refusals that are the loader's own say why in their text and carry no
// system reason; a file that loads has no system error.
TEST(LoadFailureReason, RefusalsOfTheLoadersOwnCarryNoSystemReason) {
    TempDir dir;
    const fs::path fifo = dir.Path() / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const fs::path good = dir.Write("good.txt", "T\nt;a\n1;2\n");
    const fs::path oddCommand = dir.Write("odd.txt", "Colour=red\nT\nt;a\n1;2\n");

    ReasonHost host;
    EXPECT_FALSE(Load(host, fifo.string(), true));
    EXPECT_FALSE(Load(host, "/dev/null", true));
    EXPECT_TRUE(Load(host, oddCommand.string()));
    EXPECT_TRUE(Load(host, good.string()));
    ASSERT_EQ(host.shown.size(), 3u);
    for (const ReasonHost::Warning& warning : host.shown) {
        SCOPED_TRACE(warning.text);
        EXPECT_FALSE(warning.withReason);
        EXPECT_EQ(warning.reason, "");
    }
    EXPECT_EQ(host.shown[0].text,
              "Can not read a file \"" + fifo.string() + "\": it is not a regular file (a FIFO).");

    LineReader reader(good.string());
    std::string_view line;
    while (reader.Next(line)) {
    }
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(reader.SystemError(), 0);
    EXPECT_EQ(reader.SystemReason(), "");
}

TEST(LoadFailureReason, ReaderKeepsTheErrnoOfItsFailedOpen) {
    TempDir dir;
    const fs::path file = dir.Write("table.txt", "T\n");
    const struct {
        fs::path path;
        int error;
    } cases[] = {{dir.Path() / "missing.txt", ENOENT}, {file / "x", ENOTDIR}, {dir.Path(), EISDIR}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string());
        const LineReader reader(c.path.string());
        EXPECT_FALSE(reader.IsOpen());
        EXPECT_EQ(reader.SystemError(), c.error);
        EXPECT_EQ(reader.SystemReason(), std::strerror(c.error));
    }
    EXPECT_EQ(FileDescriptor((dir.Path() / "missing.txt").string()).OpenError(), ENOENT);
    const FileDescriptor open(file.string());
    EXPECT_GE(open.Get(), 0);
    EXPECT_EQ(open.OpenError(), 0);
    // A descriptor moved away takes its error along.
    FileDescriptor failed((file / "x").string());
    const FileDescriptor moved(std::move(failed));
    EXPECT_EQ(moved.OpenError(), ENOTDIR);
}

// A read that fails after the open: the "read" message, with the errno of
// the failed read as its reason. Needs a device whose reads fail.
TEST(LoadFailureReason, ReadFailureGivesTheSystemsReason) {
    const std::optional<FailingDevice> device = FindFailingDevice();
    if (!device)
        GTEST_SKIP() << "no device here whose reads fail";
    ReasonHost host;
    EXPECT_FALSE(Load(host, device->path));
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown[0].text, "Can not read a file \"" + device->path + "\".");
    EXPECT_TRUE(host.shown[0].withReason);
    EXPECT_EQ(host.shown[0].reason, std::strerror(device->readError));
}
