#include "analysis/PearsonCorrelation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

double R(const std::vector<double>& a, const std::vector<double>& b) {
    return PearsonCorrelation(a.data(), b.data(), static_cast<int>(a.size()));
}

// The textbook one-pass formula in extended precision, as an independent check.
double Reference(const std::vector<double>& a, const std::vector<double>& b) {
    long double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    const long double n = a.size();
    for (std::size_t k = 0; k < a.size(); ++k) {
        sa += a[k];
        sb += b[k];
        saa += static_cast<long double>(a[k]) * a[k];
        sbb += static_cast<long double>(b[k]) * b[k];
        sab += static_cast<long double>(a[k]) * b[k];
    }
    const long double cov = n * sab - sa * sb;
    return static_cast<double>(cov / std::sqrt((n * saa - sa * sa) * (n * sbb - sb * sb)));
}

} // namespace

TEST(PearsonCorrelation, AgreesWithAnIndependentComputationOnRandomData) {
    std::mt19937 random(11);
    std::normal_distribution<double> noise(0.0, 1.0);
    for (int n : {2, 3, 10, 1000}) {
        for (double coupling : {-2.0, -0.3, 0.0, 0.5, 4.0}) {
            SCOPED_TRACE(testing::Message() << "n = " << n << ", coupling = " << coupling);
            std::vector<double> a(n), b(n);
            for (int k = 0; k < n; ++k) {
                a[k] = 50.0 + 10.0 * noise(random);
                b[k] = coupling * a[k] + noise(random);
            }
            const double r = R(a, b);
            EXPECT_NEAR(r, Reference(a, b), 1e-12);
            EXPECT_LE(std::abs(r), 1.0 + 1e-15);
        }
    }
}

TEST(PearsonCorrelation, ExactLinearRelationsGivePlusAndMinusOne) {
    const std::vector<double> a{1, 2, 4, 8, 9};
    std::vector<double> up, down;
    for (double v : a) {
        up.push_back(3 * v + 7);
        down.push_back(-0.5 * v + 1);
    }
    EXPECT_NEAR(R(a, a), 1.0, 1e-15);
    EXPECT_NEAR(R(a, up), 1.0, 1e-15);
    EXPECT_NEAR(R(a, down), -1.0, 1e-15);
}

TEST(PearsonCorrelation, IsSymmetricToTheLastBit) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> value(-1e3, 1e3);
    std::vector<double> a(333), b(333);
    for (std::size_t k = 0; k < a.size(); ++k) {
        a[k] = value(random);
        b[k] = value(random) + 0.1 * a[k];
    }
    EXPECT_EQ(R(a, b), R(b, a));
}

TEST(PearsonCorrelation, NoOrOneValueGivesZero) {
    EXPECT_EQ(R({}, {}), 0.0);
    EXPECT_EQ(R({3}, {5}), 0.0);
}

TEST(PearsonCorrelation, ColumnWithoutVarianceGivesZero) {
    const std::vector<double> varying{1, 5, 2, 8, 3, 9, 4, 7, 6, 0};
    const std::vector<double> zeros(10, 0.0);
    EXPECT_EQ(R(zeros, varying), 0.0);
    EXPECT_EQ(R(varying, zeros), 0.0);
    EXPECT_EQ(R(zeros, zeros), 0.0);
}

// Ten values of 0.1 sum to 0.9999999999999999, and times 1/10 that misses 0.1
// in the last bit: deviations from that mean are rounding noise, which the
// plain formula would turn into a coefficient of +1 or -1.
TEST(PearsonCorrelation, ColumnOfEqualValuesGivesZeroEvenWhenItsMeanIsInexact) {
    const std::vector<double> tenths(10, 0.1);
    double sum = 0.0;
    for (double v : tenths)
        sum += v;
    ASSERT_NE(sum * (1.0 / 10), 0.1) << "the example no longer shows an inexact mean";

    const std::vector<double> varying{1, 5, 2, 8, 3, 9, 4, 7, 6, 0};
    EXPECT_EQ(R(tenths, tenths), 0.0);
    EXPECT_EQ(R(tenths, varying), 0.0);
    EXPECT_EQ(R(varying, tenths), 0.0);
}
