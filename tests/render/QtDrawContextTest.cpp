// The QPainter context on a QImage: pixel for pixel what the diagram asks.
#include "qtdraw/QtDrawContext.h"
#include "ForwardingContext.h"
#include "ImageDifference.h"
#include "RenderTestSupport.h"
#include "diagram/Numbers.h"
#include "qtdraw/ImageRuns.h"
#include "qtdraw/PixelRuns.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <random>
#include <set>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

struct QtContext : testing::Test {
    QtContext() : image(60, 40, QImage::Format_RGB32) { image.fill(kWhite); }

    // Draws with a fresh context on the image.
    template <class F> void Draw(F&& draw) {
        QPainter painter(&image);
        CQtDrawContext dc(painter);
        draw(dc);
    }
    // The pixels of one colour, as "x,y" texts in reading order.
    std::vector<std::string> PixelsOf(QRgb color) const {
        std::vector<std::string> found;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == color)
                    found.push_back(std::to_string(x) + "," + std::to_string(y));
        return found;
    }

    QImage image;
};

} // namespace

TEST_F(QtContext, OnePixelLinesLeaveOutTheirEndPixelInEveryDirection) {
    Draw([](CDrawContext& dc) {
        dc.MoveTo(10, 5);
        dc.LineTo(10, 8); // down
        dc.MoveTo(20, 8);
        dc.LineTo(20, 5); // up
        dc.MoveTo(33, 5);
        dc.LineTo(30, 5); // right to left
        dc.MoveTo(40, 20);
        dc.LineTo(46, 17); // rising diagonal
        dc.MoveTo(1, 1);
        dc.LineTo(1, 1); // no length: no pixel
    });
    EXPECT_EQ(PixelsOf(kBlack), (std::vector<std::string>{
                                    "10,5", "31,5", "32,5", "33,5", "10,6", "20,6", "10,7", "20,7",
                                    "20,8", "45,17", "43,18", "44,18", "41,19", "42,19", "40,20"}));
}

TEST_F(QtContext, RectangleOutlineLiesOnItsEdgesAndErasesTheInside) {
    image.fill(qRgb(255, 0, 0));
    Draw([](CDrawContext& dc) { dc.Rectangle(Rect{5, 5, 25, 15}); });
    for (int x = 5; x < 25; ++x) {
        EXPECT_EQ(image.pixel(x, 5), kBlack) << x;
        EXPECT_EQ(image.pixel(x, 14), kBlack) << x;
        EXPECT_EQ(image.pixel(x, 10), x == 5 || x == 24 ? kBlack : kWhite) << x;
    }
    EXPECT_EQ(image.pixel(25, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(10, 15), qRgb(255, 0, 0));
}

TEST_F(QtContext, RepeatedLineIsDrawnAgainAfterSomethingCoveredIt) {
    Draw([](CDrawContext& dc) {
        dc.SelectPen(PenSpec{1, RGB(0, 0, 255)});
        dc.MoveTo(0, 3);
        dc.LineTo(20, 3);
        dc.FillSolidRect(0, 0, 60, 40, RGB(0, 255, 0));
        dc.MoveTo(0, 3);
        dc.LineTo(20, 3);
    });
    EXPECT_EQ(image.pixel(10, 3), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(20, 3), qRgb(0, 255, 0));
}

TEST_F(QtContext, TextHangsBelowItsPointInTheCellHeight) {
    CDiagram diagram(nullptr);
    Draw([&](CDrawContext& dc) {
        dc.SelectFont(diagram.labelFont);
        dc.TextOut(30, 10, TextAlign::CenterTop, "HHH");
        EXPECT_GT(dc.TextWidth("HHH"), 15);
    });
    const auto ink = PixelsOf(kBlack);
    ASSERT_FALSE(ink.empty());
    for (const std::string& p : ink) {
        const int x = std::stoi(p), y = std::stoi(p.substr(p.find(',') + 1));
        EXPECT_TRUE(y >= 10 && y < 24 && x > 15 && x < 45) << p;
    }
}

TEST(QtPicture, ADiagramHasNoAntialiasedPixelsAndOneWideGridLines) {
    RecordingHost host;
    host.client = Rect{0, 0, 800, 500};
    CDiagram diagram(&host);
    ASSERT_TRUE(diagram.LoadFile(ExamplePath("pump_test.txt").string()));
    diagram.showMarks = true;
    diagram.markerX = 7;
    QImage image(800, 500, QImage::Format_RGB32);
    image.fill(kWhite);
    std::set<QRgb> used{kWhite};
    {
        QPainter painter(&image);
        CQtDrawContext qt(painter);
        CRecordingContext dc({}, &qt);
        diagram.Paint(dc);
        const auto rgb = [](COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); };
        for (const LineOp& l : OpsOf<LineOp>(dc.Ops()))
            used.insert(rgb(l.pen.color));
        for (const TextOp& t : OpsOf<TextOp>(dc.Ops()))
            used.insert(rgb(t.color));
        used.insert(kBlack); // rectangles and marks
    }
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 800; ++x)
            ASSERT_TRUE(used.count(image.pixel(x, y))) << "a blended colour at " << x << "," << y;
    // The plot outline runs along (65, 65)-(635, 435); the grid line of
    // row 1 (x 79) is one pixel wide between it and the row 2 line.
    const QRgb grid = qRgb(200, 200, 250);
    EXPECT_EQ(image.pixel(65, 200), kBlack);
    EXPECT_EQ(image.pixel(634, 200), kBlack);
    EXPECT_EQ(image.pixel(300, 434), kBlack);
    EXPECT_EQ(image.pixel(64, 200), kWhite);
    EXPECT_EQ(image.pixel(79, 300), grid);
    EXPECT_EQ(image.pixel(78, 300), kWhite);
    EXPECT_EQ(image.pixel(80, 300), kWhite);
}

namespace {

// The drawing without any reduction: the QPainter context, but with its pen
// switched away and back after every line, so that each line is drawn on its
// own and nothing is merged with or skipped after the line before it.
class OneLineAtATime final : public ForwardingContext {
public:
    using ForwardingContext::ForwardingContext;
    // Segments and curve blocks arrive as MoveTo and LineTo, one by one.
    void Lines(std::span<const LineSegment> segments) override { CDrawContext::Lines(segments); }
    Point CurveBlock(const int* columns, const int* rows, std::size_t size, Point previous, int top,
                     int bottom) override {
        return CDrawContext::CurveBlock(columns, rows, size, previous, top, bottom);
    }
    void LineTo(int x, int y) override {
        inner.LineTo(x, y);
        inner.SelectPen(PenSpec{pen.width, pen.color ^ 1});
        inner.SelectPen(pen);
    }
    PenSpec SelectPen(const PenSpec& wanted) override {
        pen = wanted;
        return inner.SelectPen(wanted);
    }

private:
    PenSpec pen{1, 0}; // the pen the inner context holds
};

// Rows of a steep, a flat, a noisy and a gapped curve (empty, text, NaN,
// infinite and huge cells every few rows), X counting rows.
std::string CurvesFile(int rows) {
    std::mt19937 random(rows);
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    std::string text = "X=number\nCurves\nt;steep;flat;noisy;gapped\n";
    for (int i = 0; i < rows; ++i) {
        const double steep = (i % 7 < 3 ? 1 : -1) * 40.0 * noise(random) * noise(random);
        const std::string gapped = i % 11 == 3   ? ""
                                   : i % 17 == 5 ? "n/a"
                                   : i % 23 == 7 ? "nan"
                                   : i % 29 == 2 ? "-inf"
                                   : i % 31 == 9 ? "1e300"
                                                 : FormatC("%.3f", 5 + 3 * std::sin(i * 0.01));
        text += FormatC("%d;%.4f;2.5;%.4f;", i, steep, 10 * std::sin(i * 0.002) + noise(random)) +
                gapped + "\n";
    }
    return text;
}

QImage PaintedBy(CDiagram& diagram, bool reduced) {
    QImage image(800, 500, QImage::Format_RGB32);
    image.fill(kWhite);
    QPainter painter(&image);
    CQtDrawContext qt(painter);
    OneLineAtATime alone(qt);
    diagram.Paint(reduced ? static_cast<CDrawContext&>(qt) : alone);
    return image;
}

} // namespace

// Lines of one pen are merged where rows share pixel columns; the picture must
// stay the one every line drawn on its own gives, pixel for pixel.
TEST(QtPicture, MergedLinesGiveThePixelsOfEveryLineDrawnAlone) {
    TempDir dir;
    for (int rows : {150, 30000}) {
        RecordingHost host;
        host.client = Rect{0, 0, 800, 500};
        CDiagram diagram(&host);
        ASSERT_TRUE(diagram.LoadFile(dir.Write("curves.txt", CurvesFile(rows)).string()));
        for (int width : {1, 2, 3, 6})
            for (bool marks : {false, true})
                for (bool fixedRange : {false, true}) {
                    // Row lines as grid lines, or as ticks only.
                    const bool net = width != 2;
                    SCOPED_TRACE(testing::Message()
                                 << rows << " rows, width " << width << (marks ? ", marks" : "")
                                 << (fixedRange ? ", fixed Y" : "") << (net ? "" : ", no grid"));
                    diagram.xShowNet = net;
                    diagram.lineWidth = width;
                    diagram.showMarks = marks;
                    // A fixed range that cuts the curves leaves segments out.
                    diagram.yAutoscale = !fixedRange;
                    diagram.yMin = -5;
                    diagram.yDelta = 2;
                    const QImage reduced = PaintedBy(diagram, true);
                    const QImage alone = PaintedBy(diagram, false);
                    ASSERT_TRUE(reduced == alone)
                        << "first difference at " << FirstDifference(reduced, alone);
                }
    }
}

namespace {

// Batches of one-pixel segments such as many rows in few pixel columns give:
// mostly along a column, up and down, of no length, reaching past the image,
// with gaps between them and now and then a slanted or level one.
std::vector<LineSegment> ColumnSegments(unsigned seed, bool slanted) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> row(-8, 47);
    std::uniform_int_distribution<int> step(-3, 3);
    std::uniform_int_distribution<int> choice(0, 99);
    std::vector<LineSegment> segments;
    int x = -2;
    Point at{x, row(random)};
    for (int i = 0; i < 3000; ++i) {
        const int c = choice(random);
        if (c < 4) { // to the next column, or back
            x += c == 0 ? -1 : 1;
            if (x > 62)
                x = -2;
            if (!slanted) // the segment starts in its own column
                at.x = x;
        }
        Point to{x, c < 8 ? row(random) : at.y + step(random)};
        if (slanted && c >= 95)
            to = Point{at.x + step(random) * 3, c == 99 ? at.y : row(random)};
        if (c >= 90 && c < 93) // a gap: the next segment starts elsewhere
            at = Point{x, row(random)};
        segments.push_back(LineSegment{at, to});
        at = to;
        x = to.x;
    }
    return segments;
}

QImage Blank() {
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(kWhite);
    return image;
}

// Each segment through MoveTo and LineTo with the pen switched away and back
// in between, so that nothing is merged with the segment before.
QImage DrawnAlone(const std::vector<LineSegment>& segments, const PenSpec& pen) {
    QImage image = Blank();
    QPainter painter(&image);
    CQtDrawContext dc(painter);
    for (const LineSegment& segment : segments) {
        dc.SelectPen(pen);
        dc.MoveTo(segment.from.x, segment.from.y);
        dc.LineTo(segment.to.x, segment.to.y);
        dc.SelectPen(PenSpec{pen.width, pen.color ^ 1});
    }
    return image;
}

QImage DrawnInBatches(const std::vector<LineSegment>& segments, const PenSpec& pen) {
    QImage image = Blank();
    QPainter painter(&image);
    CQtDrawContext dc(painter);
    dc.SelectPen(pen);
    // Batches of uneven sizes, so that runs are carried from one to the next.
    for (std::size_t begin = 0, size = 1; begin < segments.size(); begin += size, size += 37)
        dc.Lines(std::span<const LineSegment>(segments).subspan(
            begin, std::min(size, segments.size() - begin)));
    return image;
}

} // namespace

// A one-pixel segment along a column covers its start pixel up to the pixel
// before its end, whichever way it runs: set here pixel by pixel, without
// the context, for batches with nothing but such segments.
TEST(QtPicture, ColumnSegmentsInBatchesCoverTheirPixelsExactly) {
    for (unsigned seed : {1u, 2u, 3u}) {
        const std::vector<LineSegment> segments = ColumnSegments(seed, false);
        QImage expected = Blank();
        for (const LineSegment& s : segments) {
            const bool down = s.to.y > s.from.y;
            for (int y = down ? s.from.y : s.to.y + 1; y < (down ? s.to.y : s.from.y + 1); ++y)
                if (expected.rect().contains(s.from.x, y))
                    expected.setPixel(s.from.x, y, kBlack);
        }
        const QImage drawn = DrawnInBatches(segments, PenSpec{1, 0});
        ASSERT_TRUE(drawn == expected)
            << "seed " << seed << ", first difference at " << FirstDifference(drawn, expected);
    }
}

TEST(QtPicture, SegmentsInBatchesGiveThePixelsOfEachDrawnAlone) {
    for (unsigned seed : {4u, 5u, 6u})
        for (int width : {1, 2, 4}) {
            const std::vector<LineSegment> segments = ColumnSegments(seed, true);
            const PenSpec pen{width, RGB(200, 30, 0)};
            const QImage batched = DrawnInBatches(segments, pen);
            const QImage alone = DrawnAlone(segments, pen);
            ASSERT_TRUE(batched == alone)
                << "seed " << seed << ", width " << width << ", first difference at "
                << FirstDifference(batched, alone);
        }
}

// A run reaching far above the picture and the next column's rows close to
// its start: the columns must stay apart however long the run.
TEST_F(QtContext, ColumnRunsFarAboveThePictureKeepTheirColumnsApart) {
    Draw([](CDrawContext& dc) {
        const LineSegment segments[] = {
            {{5, -1000000}, {5, 30}}, {{6, 2}, {6, 4}}, {{5, 30}, {5, 31}}, {{4, -3}, {4, 1}}};
        dc.Lines(segments);
    });
    std::vector<std::string> expected;
    for (int y = 0; y < 31; ++y) {
        if (y == 0)
            expected.push_back("4,0");
        expected.push_back("5," + std::to_string(y));
        if (y == 2 || y == 3)
            expected.push_back("6," + std::to_string(y));
    }
    EXPECT_EQ(PixelsOf(kBlack), expected);
}

namespace {

// A curve's points in a 60 x 40 picture, of one kind: steep, flat, noisy
// (thousands of rows in a few columns), gapped (rows far outside now and
// then), single-column spikes, or running right to left past every edge.
struct CurveCase {
    const char* name;
    std::vector<int> columns, rows;
};

std::vector<CurveCase> GeneratedCurves() {
    std::mt19937 random(21);
    std::uniform_int_distribution<int> wide(-20, 60);
    std::uniform_int_distribution<int> step(-2, 2);
    std::uniform_int_distribution<int> choice(0, 99);
    std::vector<CurveCase> cases;
    const auto add = [&](const char* name, int count, auto&& point) {
        CurveCase& c = cases.emplace_back(CurveCase{name, {}, {}});
        for (int k = 0; k < count; ++k) {
            const Point p = point(k);
            c.columns.push_back(p.x);
            c.rows.push_back(p.y);
        }
    };
    add("steep", 400, [&](int k) { return Point{k / 6, wide(random)}; });
    add("flat", 300, [](int k) { return Point{k / 4 - 3, 17}; });
    int walk = 20;
    add("noisy", 6000, [&](int k) {
        walk = std::clamp(walk + step(random), -6, 46);
        return Point{k / 100, walk + step(random)};
    });
    add("gapped", 3000, [&](int k) {
        const int c = choice(random);
        const int y = c < 3 ? 268435456 : c < 6 ? -268435456 : c < 9 ? 435 : 15 + step(random);
        return Point{k / 50, y};
    });
    add("spikes", 2000, [&](int k) {
        const int c = choice(random);
        return Point{k / 40, c == 0 ? -15 : c == 1 ? 55 : c == 2 ? wide(random) : 30};
    });
    add("leaving", 2000, [&](int k) {
        walk = std::clamp(walk + 3 * step(random), -25, 65);
        return Point{70 - k / 20, walk};
    });
    return cases;
}

std::vector<std::array<int, 4>> Listed(const std::vector<QLine>& runs) {
    std::vector<std::array<int, 4>> listed;
    for (const QLine& run : runs)
        listed.push_back({run.x1(), run.y1(), run.x2(), run.y2()});
    return listed;
}

} // namespace

// Points straight into runs give the runs of the segments the curve rule
// selects, block by block (runs carried from one block to the next, and from
// a run queued before the curve), and the end of the last one drawn.
TEST(PixelRuns, CurveRunsAreTheRunsOfTheSegmentsDrawn) {
    const QRect area = Blank().rect().adjusted(-1, -1, 1, 1);
    for (const CurveCase& curve : GeneratedCurves())
        for (const auto& [top, bottom] : {std::pair{-10, 50}, std::pair{5, 30}}) {
            SCOPED_TRACE(testing::Message() << curve.name << ", rows " << top << ".." << bottom);
            std::vector<QLine> direct{QLine(0, 10, 0, 25)}, viaSegments = direct;
            Point previous{0, 12};
            for (std::size_t begin = 0, size = 1; begin < curve.rows.size();
                 begin += size, size = size * 3 + 1) {
                size = std::min(size, curve.rows.size() - begin);
                std::vector<LineSegment> drawn;
                Point from = previous;
                for (std::size_t k = begin; k < begin + size; ++k) {
                    const Point to{curve.columns[k], curve.rows[k]};
                    if (from.y >= top && from.y <= bottom && to.y >= top && to.y <= bottom)
                        drawn.push_back(LineSegment{from, to});
                    from = to;
                }
                AppendPixelRuns(drawn, area, viaSegments);
                const std::optional<Point> end =
                    AppendCurveRuns(curve.columns.data() + begin, curve.rows.data() + begin, size,
                                    previous, top, bottom, area, direct);
                ASSERT_EQ(end.has_value(), !drawn.empty()) << "block at " << begin;
                if (end) {
                    ASSERT_EQ(*end, drawn.back().to) << "block at " << begin;
                }
                ASSERT_EQ(Listed(direct), Listed(viaSegments)) << "block at " << begin;
                previous = from;
            }
            EXPECT_GT(direct.size(), 1u);
        }
}

// After a block the context goes on from the end of the last segment drawn
// (or from where it was when none is), as after the same segments as lines:
// the picture equals the unreduced drawing's.
TEST(QtPicture, CurveBlockLeavesThePositionWhereItsLinesWould) {
    const std::vector<CurveCase> curves = GeneratedCurves();
    for (int width : {1, 3}) {
        SCOPED_TRACE(testing::Message() << "width " << width);
        QImage direct = Blank(), alone = Blank();
        for (QImage* image : {&direct, &alone}) {
            QPainter painter(image);
            CQtDrawContext qt(painter);
            OneLineAtATime unreduced(qt);
            CDrawContext& dc = image == &direct ? static_cast<CDrawContext&>(qt) : unreduced;
            dc.SelectPen(PenSpec{width, RGB(0, 0, 200)});
            Point previous{3, 3};
            for (const CurveCase& curve : curves) {
                dc.MoveTo(50, 2);
                // Nothing drawn: the position stays at the MoveTo.
                const int below[] = {45, 46, 47};
                previous = dc.CurveBlock(curve.columns.data(), below, 3, previous, 5, 30);
                dc.LineTo(55, 8);
                previous = dc.CurveBlock(curve.columns.data(), curve.rows.data(), curve.rows.size(),
                                         previous, 5, 30);
                dc.LineTo(58, 38);
            }
        }
        ASSERT_TRUE(direct == alone) << "first difference at " << FirstDifference(direct, alone);
    }
}

namespace {

// The pixels of a one-pixel line, one by one, by the rounding rule: pixel i
// of `length` along the major axis lies at the line's position rounded half
// away from the start, the end pixel left out.
std::set<std::pair<int, int>> PixelsByTheRule(Point from, Point to) {
    std::set<std::pair<int, int>> pixels;
    const long long dx = to.x - from.x, dy = to.y - from.y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long length = std::llabs(xMajor ? dx : dy);
    const long long rise = std::llabs(xMajor ? dy : dx);
    const int majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    for (long long i = 0; i < length; ++i) {
        const int major = (xMajor ? from.x : from.y) + majorStep * static_cast<int>(i);
        const int minor = (xMajor ? from.y : from.x) +
                          minorStep * static_cast<int>((2 * i * rise + length) / (2 * length));
        pixels.insert(xMajor ? std::pair{major, minor} : std::pair{minor, major});
    }
    return pixels;
}

std::set<std::pair<int, int>> PixelsOfRuns(const std::vector<QLine>& runs) {
    std::set<std::pair<int, int>> pixels;
    for (const QLine& run : runs)
        for (int x = run.x1(); x < std::max(run.x2(), run.x1() + 1); ++x)
            for (int y = run.y1(); y < std::max(run.y2(), run.y1() + 1); ++y)
                pixels.insert({x, y});
    return pixels;
}

} // namespace

// Runs are found a run at a time, not a pixel at a time: they must still
// hold exactly the pixels of the rounding rule, for steep and flat lines in
// every direction, long ones and ones reaching out of the area.
TEST(PixelRuns, SlantedLinesHoldThePixelsOfTheRoundingRule) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-300, 300);
    const QRect area(-200, -150, 400, 300);
    for (int i = 0; i < 3000; ++i) {
        const Point from{coordinate(random), coordinate(random)};
        const Point to{coordinate(random), i % 7 == 0 ? from.y + 1 : coordinate(random)};
        std::vector<QLine> runs;
        const LineSegment segment{from, to};
        AppendPixelRuns(std::span<const LineSegment>(&segment, 1), area, runs);
        std::set<std::pair<int, int>> expected;
        for (const auto& [x, y] : PixelsByTheRule(from, to))
            if (area.contains(x, y))
                expected.insert({x, y});
        ASSERT_EQ(PixelsOfRuns(runs), expected)
            << "(" << from.x << "," << from.y << ") to (" << to.x << "," << to.y << ")";
    }
}

// Runs written straight into an image are the pixels the painter's own
// one-pixel lines give, in each 32-bit format and reaching past the edges;
// with a clip or a transform nothing is written and the painter draws.
TEST(ImageRuns, GiveThePixelsOfThePaintersLines) {
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(-5, 65);
    std::uniform_int_distribution<int> length(1, 30);
    std::vector<QLine> runs;
    for (int i = 0; i < 400; ++i) {
        const int x = coordinate(random), y = coordinate(random);
        runs.push_back(i % 2 ? QLine(x, y, x, y + length(random))
                             : QLine(x, y, x + length(random), y));
    }
    const QColor color(200, 30, 0);
    for (QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied}) {
        SCOPED_TRACE(format);
        QImage direct(60, 40, format), lines(60, 40, format);
        direct.fill(Qt::transparent);
        lines.fill(Qt::transparent);
        {
            QPainter painter(&direct);
            ASSERT_TRUE(FillRunsInImage(painter, runs, color));
        }
        {
            QPainter painter(&lines);
            painter.setPen(QPen(color, 1, Qt::SolidLine, Qt::FlatCap));
            painter.drawLines(runs.data(), static_cast<int>(runs.size()));
        }
        ASSERT_TRUE(direct == lines) << "first difference at " << FirstDifference(direct, lines);
    }
    QImage image = Blank();
    QPainter painter(&image);
    painter.setClipRect(0, 0, 10, 10);
    EXPECT_FALSE(FillRunsInImage(painter, runs, color));
    painter.setClipping(false);
    painter.translate(1, 0);
    EXPECT_FALSE(FillRunsInImage(painter, runs, color));
    painter.resetTransform();
    EXPECT_FALSE(FillRunsInImage(painter, runs, QColor(200, 30, 0, 128)));
    painter.end();
    EXPECT_TRUE(image == Blank());
}

// Widened runs written straight into an image are the painter's own fills
// of their rectangles: runs of neighbouring columns in order and out of it,
// overlapping, apart, and reaching past the edges.
TEST(ImageRuns, WidenedRunsGiveThePaintersFillsOfTheirRectangles) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> coordinate(-5, 20);
    std::uniform_int_distribution<int> length(1, 30);
    std::uniform_int_distribution<int> shift(-3, 3);
    std::vector<QLine> curve;
    int x = 0, y = 20;
    for (int i = 0; i < 200; ++i) {
        if (i % 50 == 0)
            x = coordinate(random);
        x += i % 7 == 0 ? shift(random) : 1;
        y += shift(random) * 4;
        const int height = length(random);
        curve.push_back(i % 5 == 4 ? QLine(x, y, x + length(random), y)
                                   : QLine(x, y - height / 2, x, y + height));
    }
    const QColor color(20, 30, 200);
    for (const int width : {2, 3, 5}) {
        SCOPED_TRACE(width);
        // Short runs of one column, once widened apart by nothing, one and
        // two rows, and far from the rest: downwards in one column, upwards
        // in the next.
        std::vector<QLine> runs = curve;
        for (const bool down : {true, false})
            for (int gap = 0, top = 0; gap <= 3; top += width + gap, ++gap)
                runs.push_back(down ? QLine(125, top, 125, top + 1)
                                    : QLine(132, 36 - top, 132, 37 - top));
        QImage direct(140, 40, QImage::Format_RGB32), fills(140, 40, QImage::Format_RGB32);
        direct.fill(Qt::white);
        fills.fill(Qt::white);
        {
            QPainter painter(&direct);
            ASSERT_TRUE(FillRunsInImage(painter, runs, color, width));
        }
        {
            QPainter painter(&fills);
            for (const QLine& run : runs)
                painter.fillRect(WidenedRun(run, width), color);
        }
        ASSERT_TRUE(direct == fills) << "first difference at " << FirstDifference(direct, fills);
    }
}
