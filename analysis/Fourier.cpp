#include "analysis/Fourier.h"

#include "diagram/InvalidArgumentError.h"
#include "diagram/LoadProgress.h"
#include "diagram/TwoThreads.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// The two pi of the transform: a single-precision constant, 2 pi cut to seven
// digits.
constexpr float kTwoPi = 6.283185f;

// Points of real and imaginary parts that fit in the cache together (64 KiB).
constexpr int kCacheSpan = 8192;

// Below this many angles, butterflies or bins one thread does the work.
constexpr std::size_t kPerThread = std::size_t{1} << 15;

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

    // Float and int are both four bytes: the arrays follow each other
    // without padding.
    static_assert(sizeof(float) == sizeof(int) && alignof(float) == alignof(int));
    const std::size_t count = static_cast<std::size_t>(n);
    storage.resize((2 * count + 4 * (count / 2)) * sizeof(float));
    float* const floats = reinterpret_cast<float*>(storage.data());
    re = floats;
    im = re + count;
    amplitudes = im + count;
    sines = amplitudes + count / 2;
    cosines = sines + count / 2;
    halfReversal = reinterpret_cast<int*>(cosines + count / 2);
    std::uninitialized_default_construct_n(floats, 2 * count + 3 * (count / 2));
    std::uninitialized_default_construct_n(halfReversal, count / 2);

    // The reversal of j's stages - 1 bits is that of j/2 moved down one bit,
    // with the low bit of j on top.
    halfReversal[0] = 0;
    for (int j = 1; j < half; ++j)
        halfReversal[j] = (halfReversal[j >> 1] >> 1) | ((j & 1) << (stages - 2));

    // The butterflies of stage s use the angles r * 2pi / N with r the m-bit
    // reversal of an even block number, so r < N/2: N/2 sines and cosines serve
    // the whole transform. The angle is exact in double (r and the constant
    // have 24 bits each, N is a power of two) before its sine is rounded.
    SplitInTwo(half, kPerThread, [this](std::size_t from, std::size_t to) {
        for (std::size_t r = from; r < to; ++r) {
            const double theta = static_cast<double>(r) * static_cast<double>(kTwoPi) / n;
            sines[r] = static_cast<float>(std::sin(theta));
            cosines[r] = static_cast<float>(std::cos(theta));
        }
    });
}

std::span<const float> CFourier::Transform(std::span<const float> samples) {
    return TransformOf(samples);
}

std::span<const float> CFourier::Transform(std::span<const double> samples) {
    return TransformOf(samples);
}

template <class Sample>
std::span<const float> CFourier::TransformOf(std::span<const Sample> samples) {
    if (static_cast<int>(samples.size()) != n)
        throw InvalidArgumentError("the transform of size " + std::to_string(n) + " was given " +
                                   std::to_string(samples.size()) + " samples");
    for (int i = 0; i < n; ++i) {
        re[i] = static_cast<float>(samples[static_cast<std::size_t>(i)]);
        im[i] = 0.0f;
    }
    RunStages();
    // Only the first half of the reordered bins is kept: read them in place
    // through the bit reversal rather than swapping all N.
    const auto magnitude = [this](int k) {
        const int i = Reversed(k);
        return std::sqrt(re[i] * re[i] + im[i] * im[i]);
    };
    amplitudes[0] = magnitude(0) / n;
    SplitInTwo(half, kPerThread, [this, &magnitude](std::size_t from, std::size_t to) {
        for (std::size_t k = std::max<std::size_t>(from, 1); k < to; ++k)
            amplitudes[k] = 2.0f * magnitude(static_cast<int>(k)) / n;
    });
    return {amplitudes, static_cast<std::size_t>(half)};
}

void CFourier::RunStages() {
    // Once a stage's blocks fit in the cache, every later stage stays within
    // them: run all remaining stages on one such span before the next. Every
    // butterfly does the same arithmetic on the same values as in stage order.
    // The butterflies of one stage, and the spans, are independent of each
    // other: two threads share them.
    // Two such stages at a time are done in one pass over the arrays.
    const auto outOfCache = [this](int stage) {
        return stage <= stages && (2 << (stages - stage)) > kCacheSpan;
    };
    // A cancel is looked for between passes, and between spans by both
    // threads, which then leave the rest undone.
    const auto cancelled = [this] { return progress && progress->Cancelled(); };
    int s = 1;
    for (; outOfCache(s + 1) && !cancelled(); s += 2)
        SplitInTwo(n >> (s + 1), kPerThread, [this, s](std::size_t low, std::size_t high) {
            TwoStages(s, static_cast<int>(low), static_cast<int>(high));
        });
    for (; outOfCache(s) && !cancelled(); ++s)
        SplitInTwo(n >> s, kPerThread, [this, s](std::size_t low, std::size_t high) {
            Butterflies(s, 0, n, static_cast<int>(low), static_cast<int>(high));
        });
    const int span = 2 << (stages - s);
    SplitInTwo(n / span, 2, [&](std::size_t first, std::size_t last) {
        for (int from = static_cast<int>(first) * span;
             from < static_cast<int>(last) * span && !cancelled(); from += span)
            for (int t = s; t <= stages; ++t)
                Butterflies(t, from, from + span, 0, n >> t);
    });
    if (progress)
        progress->ThrowIfCancelled();
}

// The butterflies of one pass over a block never share a point (their pairs
// lie apart by the block's half), so their loop may be vectorised. Clang
// cannot vectorise the loop with UBSan's checks in it and warns that it did
// not: there the hint is left out.
#if defined(__clang__)
#if __has_feature(undefined_behavior_sanitizer)
#define INDEPENDENT_ITERATIONS
#else
#define INDEPENDENT_ITERATIONS _Pragma("clang loop vectorize(assume_safety)")
#endif
#else
#define INDEPENDENT_ITERATIONS _Pragma("GCC ivdep")
#endif

namespace {

// One butterfly: the pair (p, q) with the twiddle (c, sn).
inline void Butterfly(float* real, float* imag, int p, int q, float c, float sn) {
    const float tr = c * real[q] + sn * imag[q];
    const float ti = c * imag[q] - sn * real[q];
    real[q] = real[p] - tr;
    imag[q] = imag[p] - ti;
    real[p] = real[p] + tr;
    imag[p] = imag[p] + ti;
}

} // namespace

void CFourier::Butterflies(int stage, int from, int to, int low, int high) {
    const int h = n >> stage;
    const int shift = stages - stage;
    float* const real = re;
    float* const imag = im;
    for (int b = from; b < to; b += 2 * h) {
        const int r = halfReversal[b >> (shift + 1)];
        const float c = cosines[r];
        const float sn = sines[r];
        INDEPENDENT_ITERATIONS
        for (int p = b + low; p < b + high; ++p)
            Butterfly(real, imag, p, p + h, c, sn);
    }
}

// Stage `stage` and the next on the quadruples p, p + h/2, p + h, p + 3h/2:
// each butterfly of the next stage needs only two of the four, so taking the
// four together does every butterfly on the same values as stage by stage.
void CFourier::TwoStages(int stage, int low, int high) {
    const int h = n >> stage;
    const int quarter = h / 2;
    const int shift = stages - stage;
    float* const real = re;
    float* const imag = im;
    for (int b = 0; b < n; b += 2 * h) {
        // Block starts are even multiples of the block size: only the
        // reversals of even numbers are needed.
        const int r = halfReversal[b >> (shift + 1)];
        const int upper = halfReversal[b >> shift];
        const int lower = halfReversal[(b + h) >> shift];
        const float c = cosines[r], sn = sines[r];
        const float cu = cosines[upper], su = sines[upper];
        const float cl = cosines[lower], sl = sines[lower];
        INDEPENDENT_ITERATIONS
        for (int p = b + low; p < b + high; ++p) {
            Butterfly(real, imag, p, p + h, c, sn);
            Butterfly(real, imag, p + quarter, p + h + quarter, c, sn);
            Butterfly(real, imag, p, p + quarter, cu, su);
            Butterfly(real, imag, p + h, p + h + quarter, cl, sl);
        }
    }
}

void CFourier::Release() {
    // An empty block of its own: assigning {} would keep the capacity.
    decltype(storage)().swap(storage);
    re = im = amplitudes = sines = cosines = nullptr;
    halfReversal = nullptr;
    n = half = stages = 0;
}
