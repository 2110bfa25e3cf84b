// LineBatch hands the context the segments queued through Room and Added in
// the same calls as those queued one by one with Add.
#include "render/DrawContext.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

namespace {

// Keeps every Lines call as it came.
class LinesCalls final : public CDrawContext {
public:
    void Rectangle(const Rect&) override {}
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void Lines(std::span<const LineSegment> segments) override {
        std::vector<std::array<int, 4>>& call = calls.emplace_back();
        for (const LineSegment& s : segments)
            call.push_back({s.from.x, s.from.y, s.to.x, s.to.y});
    }
    void TextOut(int, int, TextAlign, std::string_view) override {}
    void SetTextColor(COLORREF) override {}
    int TextWidth(std::string_view) override { return 0; }
    void FillSolidRect(int, int, int, int, COLORREF) override {}
    PenSpec SelectPen(const PenSpec& pen) override { return pen; }
    FontSpec SelectFont(const FontSpec& font) override { return font; }

    std::vector<std::vector<std::array<int, 4>>> calls;
};

} // namespace

TEST(LineBatch, RoomAndAddedGiveTheCallsOfAddOneByOne) {
    std::mt19937 random(3);
    std::bernoulli_distribution drawn(0.7);
    std::vector<LineSegment> candidates;
    std::vector<bool> draw;
    for (int i = 0; i < 2000; ++i) {
        candidates.push_back(LineSegment{Point{i, i % 13}, Point{i + 1, i % 7}});
        draw.push_back(drawn(random));
    }
    LinesCalls added, written;
    {
        LineBatch lines(added);
        for (std::size_t i = 0; i < candidates.size(); ++i)
            if (draw[i])
                lines.Add(candidates[i].from, candidates[i].to);
    }
    {
        LineBatch lines(written);
        std::span<LineSegment> room = lines.Room();
        std::size_t count = 0;
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (count == room.size()) {
                lines.Added(count);
                room = lines.Room();
                count = 0;
            }
            room[count] = candidates[i];
            count += draw[i];
        }
        lines.Added(count);
    }
    ASSERT_GT(added.calls.size(), 2u);
    EXPECT_EQ(written.calls, added.calls);
}
