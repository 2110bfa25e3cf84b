// A radix-2 fast Fourier transform for one size N, in single precision. The
// sine and cosine of every distinct butterfly angle are computed once, at
// initialisation, so a transform calls no trigonometric function.
#pragma once

#include "diagram/LargeBlockAllocator.h"

#include <vector>

class CFourier {
public:
    using Floats = std::vector<float, LargeBlockAllocator<float>>;

    // n must be a power of two, at least 2.
    void Init(int n);
    // Forward transform of n samples; returns the n/2 amplitudes of the
    // single-sided amplitude spectrum (owned by the object).
    const Floats& Transform(const std::vector<float>& samples);
    void Release();

    int Size() const { return n; }

private:
    // The butterflies of one stage whose blocks start in [from, to), of
    // each block those of the pairs low .. high - 1.
    void Butterflies(int stage, int from, int to, int low, int high);
    // The butterflies of a stage and of the next together, of each block
    // those whose first point lies low .. high - 1 past its start (below a
    // quarter of the block).
    void TwoStages(int stage, int low, int high);

    Floats re;
    Floats im;
    Floats amplitudes;
    // Sine and cosine of the angle r * 2pi / N for r = 0 .. N/2 - 1: every
    // butterfly uses one of these N/2 angles, and all butterflies of one block
    // share it.
    Floats sines;
    Floats cosines;
    std::vector<int, LargeBlockAllocator<int>> bitReversal;
    int n = 0;
    int half = 0;
    int stages = 0;
};
