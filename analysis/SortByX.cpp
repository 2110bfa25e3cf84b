#include "analysis/SortByX.h"

#include <algorithm>
#include <utility>

namespace {

bool StrictlyIncreasing(const double* x, int n) {
    for (int i = 1; i < n; ++i)
        if (!(x[i] > x[i - 1]))
            return false;
    return true;
}

bool StrictlyDecreasing(const double* x, int n) {
    for (int i = 1; i < n; ++i)
        if (!(x[i] < x[i - 1]))
            return false;
    return true;
}

// The arrays seen as a 1-based binary heap on x: node k is element k - 1, its
// parent is node k / 2 and its children nodes 2k and 2k + 1 (in 64 bits, so
// that 2k cannot overflow for the largest tables).
class PairHeap {
public:
    PairHeap(double* x, double* y) : x(x), y(y) {}

    // Moves node k up while its parent is smaller.
    void SiftUp(long long k) {
        while (k > 1 && X(k / 2) < X(k)) {
            Swap(k / 2, k);
            k /= 2;
        }
    }

    // Moves the root down within the first size nodes while a child is larger;
    // of two children the right one is taken only when it is strictly larger.
    void SiftDown(long long size) {
        long long parent = 1;
        while (2 * parent <= size) {
            long long child = 2 * parent;
            if (child + 1 <= size && X(child + 1) > X(child))
                ++child;
            if (!(X(parent) < X(child)))
                return;
            Swap(parent, child);
            parent = child;
        }
    }

    void Swap(long long a, long long b) {
        std::swap(x[a - 1], x[b - 1]);
        std::swap(y[a - 1], y[b - 1]);
    }

private:
    double X(long long node) const { return x[node - 1]; }

    double* x;
    double* y;
};

} // namespace

void SortByX(double* x, double* y, int n) {
    if (n < 2 || StrictlyIncreasing(x, n))
        return;
    if (StrictlyDecreasing(x, n)) {
        std::reverse(x, x + n);
        std::reverse(y, y + n);
        return;
    }
    PairHeap heap(x, y);
    for (int k = 2; k <= n; ++k)
        heap.SiftUp(k);
    for (int m = n - 1; m >= 1; --m) {
        heap.Swap(1, m + 1);
        heap.SiftDown(m);
    }
}
