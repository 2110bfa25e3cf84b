#include "analysis/Fourier.h"
#include "diagram/CDiagram.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/Numbers.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <random>

namespace {

// The transform as first written: a sine and a cosine for every butterfly,
// in the order the butterflies run (m * N/2 of each), each angle found from
// the butterfly's own position. It keeps only the last angle instead of the
// whole table, so even 2^23 points fit in a test.
std::vector<float> ReferenceAmplitudes(std::vector<float> re) {
    const int n = static_cast<int>(re.size());
    int m = 0;
    while ((1 << m) < n)
        ++m;
    std::vector<int> reversed(n);
    for (int i = 0; i < n; ++i) {
        int r = 0;
        for (int b = 0, v = i; b < m; ++b, v /= 2)
            r = 2 * r + v % 2;
        reversed[i] = r;
    }
    std::vector<float> im(n, 0.0f);
    int lastR = -1;
    float c = 0.0f, sn = 0.0f;
    for (int s = 1; s <= m; ++s) {
        const int h = n >> s;
        for (int b = 0; b < n; b += 2 * h)
            for (int j = 0; j < h; ++j) {
                const int p = b + j, q = p + h;
                const int r = reversed[p >> (m - s)];
                if (r != lastR) {
                    const double theta =
                        static_cast<double>(r) * static_cast<double>(6.283185f) / n;
                    sn = static_cast<float>(std::sin(theta));
                    c = static_cast<float>(std::cos(theta));
                    lastR = r;
                }
                const float tr = c * re[q] + sn * im[q];
                const float ti = c * im[q] - sn * re[q];
                re[q] = re[p] - tr;
                im[q] = im[p] - ti;
                re[p] = re[p] + tr;
                im[p] = im[p] + ti;
            }
    }
    for (int i = 0; i < n; ++i)
        if (i < reversed[i]) {
            std::swap(re[i], re[reversed[i]]);
            std::swap(im[i], im[reversed[i]]);
        }
    std::vector<float> amplitudes(n / 2);
    amplitudes[0] = std::sqrt(re[0] * re[0] + im[0] * im[0]) / n;
    for (int k = 1; k < n / 2; ++k)
        amplitudes[k] = 2.0f * std::sqrt(re[k] * re[k] + im[k] * im[k]) / n;
    return amplitudes;
}

// A table "t;a[;b]" with the given values of a (and b), X counting rows.
std::string Table(const std::vector<std::string>& a, const std::vector<std::string>& b = {}) {
    std::string text = b.empty() ? "T\nt;a\n" : "T\nt;a;b\n";
    for (std::size_t i = 0; i < a.size(); ++i) {
        text += std::to_string(i) + ";" + a[i];
        if (!b.empty())
            text += ";" + b[i];
        text += "\n";
    }
    return text;
}

class Spectrum : public ::testing::Test {
protected:
    void Load(const std::string& content) {
        ASSERT_TRUE(diagram.LoadFile(dir.Write("s.txt", content).string()));
    }
    const StringArray& SpectrumCells() const { return diagram.values[diagram.columnCount - 1]; }

    TempDir dir;
    RecordingHost host;
    CDiagram diagram{&host};
};

} // namespace

TEST_F(Spectrum, SinusoidShowsItsAmplitudeAndMean) {
    std::vector<std::string> a;
    for (int i = 0; i < 128; ++i)
        a.push_back(FormatC("%.9f", 3 * std::sin(2 * M_PI * 5 * i / 128) + 1.5));
    Load(Table(a));
    EXPECT_EQ(diagram.spectrumSize, 128);
    ASSERT_EQ(SpectrumCells().GetSize(), 128);
    for (int k = 0; k < 128; ++k) {
        SCOPED_TRACE(k);
        const char* expected = k == 0   ? "1.500000"
                               : k == 5 ? "3.000000"
                               : k < 64 ? "0.000000"
                                        : "0.0";
        EXPECT_EQ(SpectrumCells()[k], expected);
    }
    EXPECT_EQ(ColumnName(diagram.columns[2]), "Spec. for a");
    EXPECT_GT(host.waitCalls, 0);
    EXPECT_EQ(host.waitDepth, 0);
}

TEST_F(Spectrum, ConstantColumnHasOnlyItsMean) {
    Load(Table(std::vector<std::string>(64, "-2.7")));
    EXPECT_EQ(SpectrumCells()[0], FormatC("%f", std::fabs(static_cast<double>(-2.7f))));
    for (int k = 1; k < 32; ++k)
        EXPECT_EQ(SpectrumCells()[k], "0.000000") << k;
}

TEST_F(Spectrum, UsesTheLargestPowerOfTwoOfRows) {
    std::vector<std::string> a(1000, "1");
    for (int i = 512; i < 1000; ++i)
        a[i] = "1000"; // rows from 512 on take no part
    Load(Table(a));
    EXPECT_EQ(diagram.spectrumSize, 512);
    ASSERT_EQ(SpectrumCells().GetSize(), 1000);
    EXPECT_EQ(SpectrumCells()[0], "1.000000");
    EXPECT_EQ(SpectrumCells()[255], "0.000000");
    for (int k = 256; k < 1000; ++k)
        ASSERT_EQ(SpectrumCells()[k], "0.0") << k;
}

TEST_F(Spectrum, TwoRowsGiveTheAbsoluteMeanAndOneRowNothing) {
    Load(Table({"-1", "-4"}));
    EXPECT_EQ(diagram.spectrumSize, 2);
    EXPECT_EQ(SpectrumCells()[0], "2.500000");
    EXPECT_EQ(SpectrumCells()[1], "0.0");

    Load(Table({"7"}));
    EXPECT_EQ(diagram.spectrumSize, 1);
    EXPECT_EQ(SpectrumCells()[0], "0.0");
    EXPECT_EQ(ColumnName(diagram.columns[2]), "");
}

TEST_F(Spectrum, TextCellsCountAsZero) {
    Load(Table({"4", "abc", "", "x4"}));
    EXPECT_EQ(SpectrumCells()[0], "1.000000");
}

TEST_F(Spectrum, ChosenColumnAndItsLongName) {
    const std::string longName(99, 'q');
    Load("T\nt;a;" + longName + "\n0;1;5\n1;1;5\n");
    diagram.spectrumColumn = 1;
    diagram.ComputeSpectrum();
    EXPECT_EQ(SpectrumCells()[0], "5.000000");
    EXPECT_EQ(ColumnName(diagram.columns[3]), ("Spec. for " + longName).substr(0, 99));
}

TEST_F(Spectrum, AMissingColumnIsAnInvalidArgumentAndTouchesNothing) {
    Load(Table({"1", "3"}));
    diagram.spectrumColumn = 1;
    EXPECT_THROW(diagram.ComputeSpectrum(), InvalidArgumentError);
    EXPECT_EQ(SpectrumCells()[0], "2.000000");
    EXPECT_EQ(host.waitDepth, 0);

    CDiagram empty(&host);
    EXPECT_THROW(empty.ComputeSpectrum(), InvalidArgumentError);
}

TEST(Fourier, MatchesAPlainDiscreteTransform) {
    for (int n : {2, 4, 8, 64, 1024}) {
        SCOPED_TRACE(n);
        std::mt19937 random(n);
        std::uniform_real_distribution<float> value(-10.0f, 10.0f);
        std::vector<float> x(n);
        for (float& v : x)
            v = value(random);
        CFourier fourier;
        fourier.Init(n);
        const auto amplitudes = fourier.Transform(x);
        ASSERT_EQ(static_cast<int>(amplitudes.size()), n / 2);
        for (int k = 0; k < n / 2; ++k) {
            std::complex<double> sum = 0;
            for (int i = 0; i < n; ++i)
                sum += static_cast<double>(x[i]) * std::polar(1.0, -2 * M_PI * i * k / n);
            const double expected = (k == 0 ? 1.0 : 2.0) * std::abs(sum) / n;
            EXPECT_NEAR(amplitudes[k], expected, 1e-3 * (1 + expected)) << "bin " << k;
        }
    }
}

// The transform keeps only the N/2 distinct angles; the amplitudes must stay
// those of the table of every butterfly, bit for bit, at every size a file of
// up to 10 million rows can give.
TEST(Fourier, CompactTablesGiveTheAmplitudesOfTheFullTablesBitForBit) {
#if defined(__SANITIZE_ADDRESS__)
    constexpr int largest = 1 << 18; // the sanitizers make the largest sizes slow
#else
    constexpr int largest = 1 << 23;
#endif
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-1000.0f, 1000.0f);
    CFourier fourier;
    for (int n = 2; n <= largest; n *= 2) {
        SCOPED_TRACE(n);
        std::vector<float> x(n);
        for (int i = 0; i < n; ++i)
            x[i] = 20.0f * std::sin(0.37f * i) + noise(random) * (i % 3 == 0);
        fourier.Init(n);
        const auto& actual = fourier.Transform(x);
        const std::vector<float> expected = ReferenceAmplitudes(x);
        ASSERT_EQ(actual.size(), expected.size());
        ASSERT_EQ(std::memcmp(actual.data(), expected.data(), expected.size() * sizeof(float)), 0);
    }
}

TEST(Fourier, RefusesSizesThatAreNoPowerOfTwo) {
    CFourier fourier;
    EXPECT_THROW(fourier.Init(1), InvalidArgumentError);
    EXPECT_THROW(fourier.Init(12), InvalidArgumentError);
    fourier.Init(8);
    EXPECT_THROW(fourier.Transform(std::vector<float>(4)), InvalidArgumentError);
}
