// The block mapping of a curve's values gives the pixel rows the one-value
// mapping gives, including the cases Trunc treats apart.
#include "render/Scales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

std::vector<double> AwkwardValues() {
    const double inf = std::numeric_limits<double>::infinity();
    const double limit = 268435456.0; // where Trunc clamps
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.999,
                                  -0.999,
                                  1.5,
                                  -1.5,
                                  -2.0000001,
                                  std::numeric_limits<double>::quiet_NaN(),
                                  -std::numeric_limits<double>::quiet_NaN(),
                                  inf,
                                  -inf,
                                  1e300,
                                  -1e300,
                                  std::numeric_limits<double>::denorm_min(),
                                  -std::numeric_limits<double>::denorm_min()};
    // Around the clamp, for a scale of one pixel per unit and for others.
    for (double near : {limit, -limit})
        for (double step : {-1.0, -0.5, 0.0, 0.5, 1.0, 1e6})
            values.push_back(near + step);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> wide(-1e9, 1e9);
    std::uniform_real_distribution<double> narrow(-50, 50);
    for (int i = 0; i < 1000; ++i)
        values.push_back(i % 2 ? wide(random) : narrow(random));
    return values;
}

} // namespace

TEST(CurvePixels, EqualCurvePixelForEveryValue) {
    const std::vector<double> values = AwkwardValues();
    // Scales whose offset is large and whose factor is fractional or huge.
    const YScale scales[] = {YScale(435, 0.0, 5.0, 50.0), YScale(465, -7.3, 0.37, 33.0),
                             YScale(500, 1e7, 1e-3, 40.0), YScale(300, -2.5e8, 1.0, 1.0),
                             YScale(0, 3.0, 1e-9, 50.0)};
    for (const YScale& scale : scales) {
        ASSERT_TRUE(scale.Defined());
        // Odd counts and offsets reach the end of a block of several values.
        for (std::size_t first : {0u, 1u, 3u}) {
            const std::size_t size = values.size() - first;
            std::vector<int> pixels(size, 12345);
            scale.CurvePixels(std::span<const double>(values.data() + first, size), pixels.data());
            for (std::size_t i = 0; i < size; ++i)
                ASSERT_EQ(pixels[i], scale.CurvePixel(values[first + i]))
                    << "value " << values[first + i] << " at " << first + i;
        }
    }
}

TEST(CurvePixels, NanGivesTheRowOfZeroAndClampedValuesStayApart) {
    const YScale scale(435, 0.0, 1.0, 1.0); // one pixel per unit
    const double values[] = {std::numeric_limits<double>::quiet_NaN(), 0.0, 1e300, -1e300, 7.9};
    int pixels[5] = {};
    scale.CurvePixels(values, pixels);
    EXPECT_EQ(pixels[0], 435);
    EXPECT_EQ(pixels[1], 435);
    EXPECT_EQ(pixels[2], 435 - 268435456);
    EXPECT_EQ(pixels[3], 435 + 268435456);
    EXPECT_EQ(pixels[4], 428);
}
