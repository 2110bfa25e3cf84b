// A diagram drawn by pixel column (curves and row lines from what each pixel
// column shows) is, pixel for pixel, the picture the QPainter context draws
// when it is handed every segment.
#include "ForwardingContext.h"
#include "ImageDifference.h"
#include "RenderTestSupport.h"
#include "qtdraw/QtDrawContext.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

namespace {

enum class Shape {
    Smooth,
    Noisy,
    Stepped, // and X repeating each value four times
    Gapped,  // blank cells, alone and in runs
    NaN,     // and infinite and huge cells
    Constant,
    DescendingX,
    UnorderedX,
    LabelX,
};

const char* const kShapeNames[] = {"Smooth",   "Noisy",       "Stepped",    "Gapped", "NaN",
                                   "Constant", "DescendingX", "UnorderedX", "LabelX"};

struct Case {
    Shape shape;
    int rows;
    double ratio; // device pixels per window pixel
};

std::string CaseName(const testing::TestParamInfo<Case>& info) {
    std::string name = std::string(kShapeNames[static_cast<int>(info.param.shape)]) + "_" +
                       std::to_string(info.param.rows) + "Rows";
    if (info.param.ratio != 1.0)
        name += "_Ratio" + std::to_string(static_cast<int>(info.param.ratio * 100));
    return name;
}

void AppendNumber(std::string& text, long long value) {
    char digits[24];
    text.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// X and two curves of the shape; values mostly within -1000 .. 1000.
std::string DataFile(Shape shape, int rows) {
    std::mt19937 random(static_cast<unsigned>(rows) * 31 + static_cast<unsigned>(shape));
    std::uniform_int_distribution<int> noise(-1000, 1000);
    std::string text = shape == Shape::LabelX ? "" : "X=number\n";
    text += "Curves\nX;a;b\n";
    text.reserve(static_cast<std::size_t>(rows) * 16 + 64);
    const double turn = 6.2831853 * 3 / rows;
    long long walk = 0;
    for (int i = 0; i < rows; ++i) {
        switch (shape) {
        case Shape::Stepped:
            AppendNumber(text, i / 4);
            break;
        case Shape::DescendingX:
            AppendNumber(text, 5 * (rows - i));
            break;
        case Shape::UnorderedX:
            AppendNumber(text, i % 97 == 50 ? i - 40 : i % 1013 == 7 ? i + rows / 3 : i);
            break;
        case Shape::LabelX:
            text += "r";
            AppendNumber(text, i);
            break;
        default:
            AppendNumber(text, i);
        }
        text += ';';
        walk += noise(random) / 50;
        switch (shape) {
        case Shape::Smooth:
        case Shape::LabelX:
            AppendNumber(text, std::lround(900 * std::sin(i * turn)));
            text += ';';
            AppendNumber(text, std::lround(300 * std::cos(i * turn * 7)));
            break;
        case Shape::Stepped:
            AppendNumber(text, (i * 7 / rows) * 250 - 800);
            text += (i / 3) % 2 ? ";400" : ";-100";
            break;
        case Shape::Gapped:
            if (i % 13 > 2 && i % 1000 > 100)
                AppendNumber(text, noise(random));
            text += i % 5 == 1 ? "; " : ";";
            if (i % 5 != 1)
                AppendNumber(text, walk);
            break;
        case Shape::NaN:
            text += i % 7 == 3 ? "nan" : std::to_string(noise(random));
            text += i % 97 == 5 ? ";inf" : i % 89 == 2 ? ";-1e300" : ";" + std::to_string(walk);
            break;
        case Shape::Constant:
            text += "5;5";
            break;
        default: // noisy
            AppendNumber(text, noise(random));
            text += ';';
            AppendNumber(text, walk);
        }
        text += '\n';
    }
    return text;
}

QImage Painted(CDiagram& diagram, Rect client, bool everySegment, double ratio = 1.0) {
    QImage image(static_cast<int>(std::ceil(client.right * ratio)),
                 static_cast<int>(std::ceil(client.bottom * ratio)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CQtDrawContext qt(painter, ratio);
    ForwardingContext forwarded(qt);
    diagram.Paint(everySegment ? static_cast<CDrawContext&>(forwarded) : qt);
    return image;
}

class PixelColumnPicture : public testing::TestWithParam<Case> {};

TEST_P(PixelColumnPicture, IsThePictureOfEverySegment) {
    const Case c = GetParam();
    TempDir dir;
    RecordingHost host;
    CDiagram diagram(&host);
    ASSERT_TRUE(diagram.LoadFile(dir.Write("data.txt", DataFile(c.shape, c.rows)).string()));
    // At a ratio of 1, pens wider than a pixel and marks are drawn segment by
    // segment either way: every width at one size, the first wide one at the
    // others. At other ratios every pen and the marks are drawn by pixel
    // column too. At ten million rows only the one-pixel pen is tried.
    const bool huge = c.rows > 100'000;
    // The last is too small for the plot, whose top then lies below its bottom.
    const Rect clients[] = {Rect{0, 0, 800, 500}, Rect{0, 0, 523, 377}, Rect{0, 0, 1300, 420},
                            Rect{0, 0, 260, 90}};
    for (const Rect& client : clients)
        for (int width = 1; width <= (huge ? 1 : &client == clients ? 6 : 2); ++width)
            for (const bool marks : {false, true}) {
                if (marks && huge)
                    continue;
                for (const bool fixedY : {false, true})
                    for (const bool grid : {true, false}) {
                        SCOPED_TRACE(testing::Message()
                                     << client.right << "x" << client.bottom << ", width " << width
                                     << (marks ? ", marks" : "") << (fixedY ? ", fixed Y" : "")
                                     << (grid ? "" : ", no grid"));
                        host.client = client;
                        diagram.lineWidth = width;
                        diagram.showMarks = marks;
                        diagram.xShowNet = grid;
                        // A fixed range that cuts the curves leaves segments out.
                        diagram.yAutoscale = !fixedY;
                        diagram.yMin = -500;
                        diagram.yDelta = 150;
                        const QImage byColumn = Painted(diagram, client, false, c.ratio);
                        const QImage every = Painted(diagram, client, true, c.ratio);
                        ASSERT_TRUE(byColumn == every)
                            << "first difference at " << FirstDifference(byColumn, every);
                    }
            }
}

// Rows appended to a table that was drawn: the summaries and pixel columns
// kept from the paint before take them in, as a live file's refresh adds them.
TEST(PixelColumnPictureAfterAppends, IsThePictureOfEverySegment) {
    TempDir dir;
    RecordingHost host;
    host.client = Rect{0, 0, 800, 500};
    CDiagram diagram(&host);
    ASSERT_TRUE(diagram.LoadFile(dir.Write("data.txt", DataFile(Shape::Noisy, 50'000)).string()));
    for (const bool fixedY : {false, true})
        for (int round = 0; round < 4; ++round) {
            SCOPED_TRACE(testing::Message() << "round " << round << (fixedY ? ", fixed Y" : ""));
            diagram.yAutoscale = !fixedY;
            diagram.yMin = -500;
            diagram.yDelta = 150;
            // At both ratios in turn, each with pixel columns of its own.
            for (const double ratio : {1.0, 1.5}) {
                const QImage byColumn = Painted(diagram, host.client, false, ratio);
                ASSERT_TRUE(byColumn == Painted(diagram, host.client, true, ratio)) << ratio;
            }
            // Rows far above and below the ones before, X in runs of three
            // equal values; once X going back, which puts the rows out of order.
            const int rows = diagram.values[0].GetSize();
            const int back = round == 2 ? 20'000 : 0;
            for (int i = 0; i < 7'001; ++i) {
                diagram.values[0].Add(std::to_string(rows - back + i / 3));
                diagram.values[1].Add(std::to_string((i % 2 ? 1 : -1) * (1500 + round * 200)));
                diagram.values[2].Add(i % 9 == 0 ? "" : std::to_string(i % 400 - round * 300));
                diagram.values[3].Add("0.0");
            }
        }
}

std::vector<Case> AllCases() {
    std::vector<Case> cases;
    for (int shape = 0; shape <= static_cast<int>(Shape::LabelX); ++shape)
        for (int rows : {10, 10'000})
            for (double ratio : {1.0, 2.0, 1.5})
                cases.push_back(Case{static_cast<Shape>(shape), rows, ratio});
                // Ten million rows take minutes a shape under AddressSanitizer: there one
                // shape stands for them, the optimised build draws them all.
#if defined(__SANITIZE_ADDRESS__)
    const std::vector<Shape> large{Shape::Noisy};
#else
    const std::vector<Shape> large{Shape::Noisy, Shape::Gapped, Shape::NaN, Shape::Stepped,
                                   Shape::LabelX};
#endif
    for (Shape shape : large)
        cases.push_back(Case{shape, 10'000'000, 1.0});
    cases.push_back(Case{Shape::Noisy, 10'000'000, 2.0});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Shapes, PixelColumnPicture, testing::ValuesIn(AllCases()), CaseName);

} // namespace
