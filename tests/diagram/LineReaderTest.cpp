#include "diagram/LineReader.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {
std::vector<std::string> AllLines(LineReader& reader) {
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.Next(line))
        lines.emplace_back(line);
    return lines;
}
} // namespace

TEST(LineReader, SplitsAtLineFeedsAndDropsTheCarriageReturnBefore) {
    TempDir dir;
    const std::string wide(3'000'000, 'w'); // spans several read blocks
    LineReader reader(dir.Write("a.txt", "one\r\n\r\ntwo\rthree\n" + wide + "\r\nlast").string());
    ASSERT_TRUE(reader.IsOpen());
    EXPECT_EQ(AllLines(reader), (std::vector<std::string>{"one", "", "two\rthree", wide, "last"}));
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(reader.LineNumber(), 5);
}

TEST(LineReader, RefusesALineLongerThanItsLimit) {
    TempDir dir;
    LineReader reader(
        dir.Write("b.txt", "short\n" + std::string(2'500'000, 'x') + "\nnext\n").string(),
        LoadLimits{.maxLineBytes = 1'000'000});
    std::string_view line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_FALSE(reader.Next(line));
    EXPECT_TRUE(reader.LineTooLong());
    EXPECT_TRUE(reader.Failed());
    EXPECT_EQ(reader.LineNumber(), 2);
    EXPECT_FALSE(reader.Next(line)); // stays failed
}

TEST(LineReader, DirectoriesAndMissingFilesDoNotOpen) {
    TempDir dir;
    EXPECT_FALSE(LineReader(dir.Path().string()).IsOpen());
    EXPECT_FALSE(LineReader((dir.Path() / "none").string()).IsOpen());
}
