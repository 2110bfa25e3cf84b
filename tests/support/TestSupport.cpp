#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvaro-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Give back write permission that a test may have taken away.
    std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path, ignored);
}

std::filesystem::path TempDir::Write(const std::string& name, const std::string& content) const {
    const auto file = path / name;
    WriteFile(file, content);
    return file;
}

CurrentDirScope::CurrentDirScope(const std::filesystem::path& dir)
    : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
}

CurrentDirScope::~CurrentDirScope() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
}

NonRegularFiles::NonRegularFiles(const std::filesystem::path& folder)
    : fifo((folder / "f.txt").string()), socket((folder / "s.txt").string()),
      listening(::socket(AF_UNIX, SOCK_STREAM, 0)) {
    EXPECT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socket.c_str());
    EXPECT_EQ(bind(listening, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
}

NonRegularFiles::~NonRegularFiles() {
    if (listening >= 0)
        close(listening);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
    out << content;
}

std::filesystem::path ExamplePath(const std::string& name) {
    return std::filesystem::path(KELVARO_EXAMPLES_DIR) / name;
}

std::string FirstDifference(const std::string& expected, const std::string& actual) {
    if (expected == actual)
        return {};
    std::istringstream e(expected), a(actual);
    std::string el, al;
    for (int line = 1;; ++line) {
        const bool haveE = static_cast<bool>(std::getline(e, el));
        const bool haveA = static_cast<bool>(std::getline(a, al));
        if (!haveE && !haveA)
            return "the texts differ only in their final line break";
        if (!haveE || !haveA || el != al) {
            std::ostringstream msg;
            msg << "first difference at line " << line
                << ":\n  expected: " << (haveE ? "\"" + el + "\"" : "<end of text>")
                << "\n  actual:   " << (haveA ? "\"" + al + "\"" : "<end of text>");
            return msg.str();
        }
    }
}

void ExpectMatchesGolden(const std::string& actual, const std::string& name) {
    const auto path = std::filesystem::path(KELVARO_GOLDEN_DIR) / name;
    const char* update = std::getenv("KELVARO_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        std::filesystem::create_directories(path.parent_path());
        WriteFile(path, actual);
        return;
    }
    if (!std::filesystem::exists(path)) {
        ADD_FAILURE() << "no golden file " << path
                      << " (run with KELVARO_UPDATE_GOLDEN=1 to create it, then review it)";
        return;
    }
    const std::string difference = FirstDifference(ReadFile(path), actual);
    EXPECT_TRUE(difference.empty()) << name << ": " << difference;
}

namespace {
std::string Slurp(int fd) {
    std::string text;
    char buffer[65536];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(n));
    return text;
}
} // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::filesystem::path& cwd) {
    // Output goes to temporary files, so a large output cannot block the child.
    char outName[] = "/tmp/kelvaro-out-XXXXXX";
    char errName[] = "/tmp/kelvaro-err-XXXXXX";
    const int outFd = mkstemp(outName);
    const int errFd = mkstemp(errName);
    unlink(outName);
    unlink(errName);
    const pid_t pid = fork();
    if (pid == 0) {
        if (!cwd.empty() && chdir(cwd.c_str()) != 0)
            _exit(127);
        dup2(outFd, 1);
        dup2(errFd, 2);
        const int devNull = open("/dev/null", O_RDONLY);
        dup2(devNull, 0);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    ProcessResult result;
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    lseek(outFd, 0, SEEK_SET);
    lseek(errFd, 0, SEEK_SET);
    result.out = Slurp(outFd);
    result.err = Slurp(errFd);
    close(outFd);
    close(errFd);
    return result;
}
