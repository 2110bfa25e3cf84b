#include "analysis/Fourier.h"

#include "diagram/InvalidArgumentError.h"

#include <cmath>
#include <utility>

namespace {

// The two pi of the transform: a single-precision constant, 2 pi cut to seven
// digits.
constexpr float kTwoPi = 6.283185f;

int ReverseBits(int value, int bits) {
    int r = 0;
    for (int b = 0; b < bits; ++b) {
        r = 2 * r + value % 2;
        value /= 2;
    }
    return r;
}

} // namespace

void CFourier::Init(int size) {
    if (size < 2 || (size & (size - 1)) != 0)
        throw InvalidArgumentError("the transform size " + std::to_string(size) +
                                   " is not a power of two of at least 2");
    Release();
    n = size;
    half = n / 2;
    stages = 0;
    while ((1 << stages) < n)
        ++stages;

    re.assign(n, 0.0f);
    im.assign(n, 0.0f);
    amplitudes.assign(half, 0.0f);

    bitReversal.resize(n);
    for (int i = 0; i < n; ++i)
        bitReversal[i] = ReverseBits(i, stages);

    // Every butterfly's angle is r * 2pi / N for some m-bit r; compute each
    // distinct sine and cosine once and copy it into the tables in the order
    // of use.
    std::vector<float> sinOf(n), cosOf(n);
    for (int r = 0; r < n; ++r) {
        const double theta = static_cast<double>(r) * static_cast<double>(kTwoPi) / n;
        sinOf[r] = static_cast<float>(std::sin(theta));
        cosOf[r] = static_cast<float>(std::cos(theta));
    }
    const std::size_t entries = static_cast<std::size_t>(stages) * half;
    sines.resize(entries);
    cosines.resize(entries);
    std::size_t t = 0;
    for (int s = 1; s <= stages; ++s) {
        const int h = n >> s;
        const int shift = stages - s;
        for (int b = 0; b < n; b += 2 * h)
            for (int j = 0; j < h; ++j) {
                const int r = bitReversal[(b + j) >> shift];
                sines[t] = sinOf[r];
                cosines[t] = cosOf[r];
                ++t;
            }
    }
}

const CFourier::Floats& CFourier::Transform(const std::vector<float>& samples) {
    if (static_cast<int>(samples.size()) != n)
        throw InvalidArgumentError("the transform of size " + std::to_string(n) + " was given " +
                                   std::to_string(samples.size()) + " samples");
    for (int i = 0; i < n; ++i) {
        re[i] = samples[i];
        im[i] = 0.0f;
    }
    std::size_t t = 0;
    for (int s = 1; s <= stages; ++s) {
        const int h = n >> s;
        for (int b = 0; b < n; b += 2 * h)
            for (int j = 0; j < h; ++j, ++t) {
                const int p = b + j;
                const int q = p + h;
                const float c = cosines[t];
                const float sn = sines[t];
                const float tr = c * re[q] + sn * im[q];
                const float ti = c * im[q] - sn * re[q];
                re[q] = re[p] - tr;
                im[q] = im[p] - ti;
                re[p] = re[p] + tr;
                im[p] = im[p] + ti;
            }
    }
    for (int i = 0; i < n; ++i) {
        const int k = bitReversal[i];
        if (i < k) {
            std::swap(re[i], re[k]);
            std::swap(im[i], im[k]);
        }
    }
    amplitudes[0] = std::sqrt(re[0] * re[0] + im[0] * im[0]) / n;
    for (int k = 1; k < half; ++k)
        amplitudes[k] = 2.0f * std::sqrt(re[k] * re[k] + im[k] * im[k]) / n;
    return amplitudes;
}

void CFourier::Release() {
    *this = CFourier();
}
