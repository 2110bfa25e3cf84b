// kelvaro-cli render, end to end.
#include "TestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace {

ProcessResult Render(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"render", ExamplePath("pump_test.txt").string()};
    all.insert(all.end(), args.begin(), args.end());
    return RunProcess(KELVARO_CLI_PATH, all);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(RenderCommand, WritesAPngOfTheWindowSizeQuietly) {
    TempDir dir;
    const auto out = dir.Path() / "pump.png";
    const ProcessResult r = Render({"-o", out.string()});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    const QImage image(QString::fromStdString(out.string()));
    EXPECT_EQ(image.size(), QSize(800, 500));
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 0));     // the frame's corner
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 255, 255)); // the window around it
}

TEST(RenderCommand, OptionsShowInTheTraceAndThePicture) {
    TempDir dir;
    const auto out = dir.Path() / "pump.PNG";
    const ProcessResult r =
        Render({"-o",          out.string(),   "--size", "640x400",   "--trace",
                "--spectrum",  "--marker",     "5",      "--marks",   "--no-legend",
                "--no-grid-x", "--line-width", "2",      "--y-fixed", "0",
                "10",          "--hide",       "2",      "--hide",    "3"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "rect 10 10 630 390");
    EXPECT_TRUE(Contains(r.out, "title \"Pump test 14, well B2,     Freq. = X / 32\""));
    EXPECT_TRUE(Contains(r.out, "label \"10.00\""));
    EXPECT_TRUE(Contains(r.out, " #FF00FF 1\n"));  // the marker line
    EXPECT_TRUE(Contains(r.out, " #0000FF 2\n"));  // column 1 with width 2
    EXPECT_FALSE(Contains(r.out, " #FF0000 2\n")); // column 2 hidden
    EXPECT_TRUE(Contains(r.out, "\nfill "));
    EXPECT_FALSE(Contains(r.out, "label \"Pressure\"")); // no legend
    EXPECT_EQ(QImage(QString::fromStdString(out.string())).size(), QSize(640, 400));
}

// The spectrum is computed only for a picture that shows it, and then for
// the column asked for.
TEST(RenderCommand, TheSpectrumShownIsThatOfTheChosenColumn) {
    TempDir dir;
    const std::string out = (dir.Path() / "pump.png").string();
    const struct {
        std::vector<std::string> options;
        const char* legend;
    } cases[] = {{{"--spectrum"}, "label \"Spec. for P"},
                 {{"--spectrum", "--spectrum-column", "1"}, "label \"Spec. for F"},
                 {{"--spectrum-column", "1"}, nullptr},
                 {{}, nullptr}};
    for (const auto& c : cases) {
        std::vector<std::string> args = {"-o", out, "--trace"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ProcessResult r = Render(args);
        ASSERT_EQ(r.exitCode, 0) << r.err;
        if (c.legend)
            EXPECT_TRUE(Contains(r.out, c.legend)) << c.legend;
        else
            EXPECT_FALSE(Contains(r.out, "Spec. for"));
    }
    EXPECT_NE(Render({"-o", out, "--spectrum-column", "3"}).exitCode, 0);
}

TEST(RenderCommand, GermanLocaleStillWritesDecimalPoints) {
    const locale_t german = newlocale(LC_ALL_MASK, "de_DE.UTF-8", locale_t(nullptr));
    if (german == locale_t(nullptr))
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
    freelocale(german);
    TempDir dir;
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    const ProcessResult r =
        Render({"-o", (dir.Path() / "pump.png").string(), "--trace", "--y-fixed", "-2.5", "2.5"});
    unsetenv("LC_ALL");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(Contains(r.out, "label \"-2.50\"")) << r.out.substr(0, 2000);
    EXPECT_TRUE(Contains(r.out, "label \"0.5\"")); // X cells as stored
    EXPECT_FALSE(Contains(r.out, ",50\""));
}

TEST(RenderCommand, PdfAndSvgByExtension) {
    TempDir dir;
    for (const char* name : {"pump.pdf", "pump.svg"}) {
        const auto out = dir.Path() / name;
        const ProcessResult r = Render({"-o", out.string()});
        ASSERT_EQ(r.exitCode, 0) << name << ": " << r.err;
        const std::string content = ReadFile(out);
        EXPECT_TRUE(Contains(content.substr(0, 200), name[5] == 'p' ? "%PDF" : "<svg")) << name;
    }
}

// --scale draws a PNG of the device pixels of a screen scaled by R; a PDF or
// SVG has no pixels of its own and is drawn as at 1.
TEST(RenderCommand, ScaleDrawsThePngAtTheScreensPixels) {
    TempDir dir;
    const auto once = dir.Path() / "once.png";
    const auto twice = dir.Path() / "twice.png";
    ASSERT_EQ(Render({"-o", once.string()}).exitCode, 0);
    ProcessResult r = Render({"-o", twice.string(), "--scale", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const QImage small(QString::fromStdString(once.string()));
    const QImage large(QString::fromStdString(twice.string()));
    ASSERT_EQ(large.size(), QSize(1600, 1000));
    EXPECT_NE(large, small.scaled(large.size()));
    // The frame's corner, two device pixels wide, and white outside it.
    EXPECT_EQ(large.pixel(20, 20), qRgb(0, 0, 0));
    EXPECT_EQ(large.pixel(21, 21), qRgb(0, 0, 0));
    EXPECT_EQ(large.pixel(19, 19), qRgb(255, 255, 255));
    EXPECT_EQ(large.pixel(22, 22), qRgb(255, 255, 255));
    r = Render({"-o", twice.string(), "--scale", "1.5", "--size", "333x201"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(QImage(QString::fromStdString(twice.string())).size(), QSize(500, 302));

    const auto svg = dir.Path() / "once.svg";
    const auto scaledSvg = dir.Path() / "scaled.svg";
    ASSERT_EQ(Render({"-o", svg.string()}).exitCode, 0);
    ASSERT_EQ(Render({"-o", scaledSvg.string(), "--scale", "2"}).exitCode, 0);
    EXPECT_EQ(ReadFile(svg), ReadFile(scaledSvg));
}

TEST(RenderCommand, FailuresLeaveNoFileBehind) {
    TempDir dir;
    // A directory that cannot be made: its parent is a file.
    const auto file = dir.Write("file.txt", "");
    ProcessResult r = Render({"-o", (file / "pump.png").string()});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("error: cannot write", 0), 0u) << r.err;
    // Column 4 is the spectrum column; the table has no column 5.
    r = Render({"-o", (dir.Path() / "pump.png").string(), "--hide", "5"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(Contains(r.err, "warning: Invalid argument.")) << r.err;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(RenderCommand, UsageErrorsExitWithTwo) {
    TempDir dir;
    const std::string png = (dir.Path() / "pump.png").string();
    const std::vector<std::vector<std::string>> cases = {
        {"-o", (dir.Path() / "pump.gif").string()},
        {"-o", png, "--size", "800"},
        {"-o", png, "--size", "0x500"},
        {"-o", png, "--y-fixed", "0", "0"},
        {"-o", png, "--hide", "0"},
        {"-o", png, "--line-width", "0"},
        {"-o", png, "--scale", "0"},
        {"-o", png, "--scale", "9"},
        {"-o", png, "--scale", "two"},
        {"-o", png, "--scale", "2", "--size", "5000x100"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args[1] + (args.size() > 2 ? " " + args[2] : ""));
        EXPECT_EQ(Render(args).exitCode, 2);
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}
