#include "analysis/AtomicFileWriter.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

std::vector<std::string> Entries(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t Mode(const std::filesystem::path& path) {
    struct stat info;
    EXPECT_EQ(stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

} // namespace

TEST(AtomicFileWriter, CommitPutsTheWholeTextInPlaceOfTheOldFile) {
    TempDir dir;
    const auto target = dir.Write("out.txt", "old");
    std::filesystem::permissions(target, std::filesystem::perms(0640));
    std::string text;
    for (int i = 0; i < 50000; ++i) // several buffers' worth
        text += std::to_string(i) + "\n";
    AtomicFileWriter writer(target);
    ASSERT_TRUE(writer.Open());
    writer.Write(std::string_view(text).substr(0, 7));
    writer.Write(std::string_view(text).substr(7));
    EXPECT_EQ(ReadFile(target), "old") << "the old file stays until the commit";
    EXPECT_EQ(writer.Commit(), AtomicFileWriter::Result::Written);
    EXPECT_EQ(ReadFile(target), text);
    EXPECT_EQ(Mode(target), 0640u) << "the replaced file keeps its permissions";
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"out.txt"});
}

TEST(AtomicFileWriter, NewFileGetsTheUsualPermissions) {
    TempDir dir;
    const mode_t mask = umask(022);
    AtomicFileWriter writer(dir.Path() / "new.txt");
    ASSERT_TRUE(writer.Open());
    writer.Write("text");
    EXPECT_EQ(writer.Commit(), AtomicFileWriter::Result::Written);
    umask(mask);
    EXPECT_EQ(Mode(dir.Path() / "new.txt"), 0644u);
}

TEST(AtomicFileWriter, WriterDroppedWithoutCommitLeavesNoTrace) {
    TempDir dir;
    const auto target = dir.Write("out.txt", "old");
    {
        AtomicFileWriter writer(target);
        ASSERT_TRUE(writer.Open());
        writer.Write(std::string(200000, 'n'));
    }
    EXPECT_EQ(ReadFile(target), "old");
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"out.txt"});
}

TEST(AtomicFileWriter, MissingDirectoryCannotBeOpened) {
    TempDir dir;
    AtomicFileWriter writer(dir.Path() / "no such dir" / "out.txt");
    EXPECT_FALSE(writer.Open());
    EXPECT_EQ(writer.Commit(), AtomicFileWriter::Result::WriteFailed);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}
