// A file the system cannot open or read: the loader hands its host the fixed
// message text and, apart from it, the system's reason.
#include "TestSupport.h"

#include "diagram/CDiagram.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

namespace fs = std::filesystem;

// Records each warning as text and reason; plain warnings get reason "-".
class ReasonHost : public RecordingHost {
public:
    void ShowWarning(const std::string& text) override { shown.push_back({text, "-"}); }
    void ShowWarningWithReason(const std::string& text, const std::string& reason) override {
        shown.push_back({text, reason});
    }
    std::vector<std::pair<std::string, std::string>> shown;
};

// Loads path as the batch tool does (pipes and devices allowed), or as the
// viewer does (regular files only).
bool Load(IDiagramHost& host, const std::string& path, bool onlyRegularFiles = false) {
    CDiagram diagram(&host);
    return diagram.LoadFile(path, LoadLimits{.onlyRegularFiles = onlyRegularFiles},
                            CDiagram::LoadMode::OpenSpectrumLater);
}

// A device whose reads fail at once, and the errno of a read of our own.
std::optional<std::pair<std::string, int>> FailingDevice() {
    for (const char* path : {"/dev/net/tun", "/dev/loop-control"}) {
        const int fd = open(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        std::vector<char> buffer(1 << 18);
        const ssize_t got = read(fd, buffer.data(), buffer.size());
        const int error = errno;
        close(fd);
        if (got < 0)
            return std::pair{std::string(path), error};
    }
    return std::nullopt;
}

} // namespace

TEST(LoadFailureReason, OpenFailuresGiveTheFixedTextAndTheSystemsReasonApart) {
    TempDir dir;
    const fs::path file = dir.Write("table.txt", "T\nt;a\n1;2\n");
    const std::pair<fs::path, int> cases[] = {
        {dir.Path() / "missing.txt", ENOENT},
        {file / "x", ENOTDIR}, // a path through a file
        {dir.Path(), EISDIR},  // a folder opens, but is no file to read
    };
    for (const auto& [path, error] : cases) {
        ReasonHost host;
        EXPECT_FALSE(Load(host, path.string()));
        EXPECT_EQ(host.shown,
                  (decltype(host.shown){
                      {"Can not open a file \"" + path.string() + "\".", std::strerror(error)}}));
    }
}

// Refusals that are the loader's own say why in their text: plain warnings.
TEST(LoadFailureReason, RefusalsOfTheLoadersOwnCarryNoSystemReason) {
    TempDir dir;
    const fs::path fifo = dir.Path() / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ReasonHost host;
    EXPECT_FALSE(Load(host, fifo.string(), true));
    EXPECT_TRUE(Load(host, dir.Write("odd.txt", "Colour=red\nT\nt;a\n1;2\n").string()));
    ASSERT_EQ(host.shown.size(), 2u);
    EXPECT_EQ(host.shown[0].second, "-");
    EXPECT_EQ(host.shown[1].second, "-");
}

// A read that fails after the open gives the "read" text with the errno of
// that read. Needs a device whose reads fail.
TEST(LoadFailureReason, ReadFailureGivesTheSystemsReason) {
    const auto device = FailingDevice();
    if (!device)
        GTEST_SKIP() << "no device here whose reads fail";
    ReasonHost host;
    EXPECT_FALSE(Load(host, device->first));
    EXPECT_EQ(host.shown, (decltype(host.shown){{"Can not read a file \"" + device->first + "\".",
                                                 std::strerror(device->second)}}));
}
