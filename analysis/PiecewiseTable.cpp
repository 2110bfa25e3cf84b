#include "analysis/PiecewiseTable.h"

#include "analysis/SortByX.h"

namespace {

constexpr long long kKnotsAt = 3;

long long CoefficientsAt(long long n, long long piece) {
    return kKnotsAt + n + 4 * piece;
}

// The tag taken as an integer by truncation is 3; compared as a range so that
// no value, however large or undefined, is converted to an integer.
bool HasOrderTag(const double* table) {
    return table[1] >= kPiecewiseOrderTag && table[1] < kPiecewiseOrderTag + 1.0;
}

} // namespace

void BuildPiecewiseTable(double* x, double* y, int n, double* table) {
    if (n < 2)
        return;
    SortByX(x, y, n);
    table[0] = static_cast<double>(PiecewiseTableLength(n));
    table[1] = kPiecewiseOrderTag;
    table[2] = n;
    for (int i = 0; i < n; ++i)
        table[kKnotsAt + i] = x[i];
    for (int j = 0; j + 1 < n; ++j) {
        double* c = table + CoefficientsAt(n, j);
        c[0] = y[j];
        c[1] = x[j + 1] != x[j] ? (y[j + 1] - y[j]) / (x[j + 1] - x[j]) : 0.0;
        c[2] = 0.0;
        c[3] = 0.0;
    }
}

double EvaluatePiecewise(const double* table, double x) {
    if (!HasOrderTag(table) || !(table[2] >= 2.0))
        return 0.0;
    const long long n = static_cast<long long>(table[2]);
    const double* knots = table + kKnotsAt;
    long long lo = 0;
    long long hi = n - 1;
    while (hi - lo > 1) {
        const long long mid = (lo + hi) / 2;
        if (knots[mid] < x)
            lo = mid;
        else
            hi = mid;
    }
    const double* c = table + CoefficientsAt(n, lo);
    const double d = x - knots[lo];
    return ((c[3] * d + c[2]) * d + c[1]) * d + c[0];
}
