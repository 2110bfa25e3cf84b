// A radix-2 fast Fourier transform for one size N, in single precision. The
// sine and cosine of every distinct butterfly angle are computed once, at
// initialisation, so a transform calls no trigonometric function.
#pragma once

#include "diagram/LargeBlockAllocator.h"

#include <cstddef>
#include <span>
#include <vector>

class LoadProgress;

class CFourier {
public:
    CFourier() = default;
    // The arrays point into the object's own block.
    CFourier(const CFourier&) = delete;
    CFourier& operator=(const CFourier&) = delete;

    // n must be a power of two, at least 2.
    void Init(int n);
    // Forward transform of n samples; returns the n/2 amplitudes of the
    // single-sided amplitude spectrum (owned by the object). Samples given in
    // double precision are rounded to single precision first.
    std::span<const float> Transform(std::span<const float> samples);
    std::span<const float> Transform(std::span<const double> samples);
    void Release();

    int Size() const { return n; }
    // A transform on behalf of a load that may be cancelled: it looks between
    // its passes over the samples and raises LoadCancelled.
    void StopWhenCancelled(const LoadProgress* loadProgress) { progress = loadProgress; }

private:
    template <class Sample> std::span<const float> TransformOf(std::span<const Sample> samples);
    // The stages on the samples already in re and im.
    void RunStages();
    // Index i (below N) with its bits in reverse order.
    int Reversed(int i) const { return halfReversal[i >> 1] | ((i & 1) << (stages - 1)); }
    // The butterflies of one stage whose blocks start in [from, to), of
    // each block those of the pairs low .. high - 1.
    void Butterflies(int stage, int from, int to, int low, int high);
    // The butterflies of a stage and of the next together, of each block
    // those whose first point lies low .. high - 1 past its start (below a
    // quarter of the block).
    void TwoStages(int stage, int low, int high);

    // Every array below lives in this one block: a handful of large pages
    // instead of thousands of small ones, each touched first by the transform.
    std::vector<std::byte, LargeBlockAllocator<std::byte>> storage;
    float* re = nullptr;
    float* im = nullptr;
    float* amplitudes = nullptr;
    // Sine and cosine of the angle r * 2pi / N for r = 0 .. N/2 - 1: every
    // butterfly uses one of these N/2 angles, and all butterflies of one block
    // share it.
    float* sines = nullptr;
    float* cosines = nullptr;
    // Entry j is j < N/2 with its stages - 1 low bits reversed: the reversal
    // of 2j, and that of 2j + 1 less N/2.
    int* halfReversal = nullptr;
    int n = 0;
    int half = 0;
    int stages = 0;
    const LoadProgress* progress = nullptr;
};
