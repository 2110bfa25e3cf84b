#include "analysis/PearsonCorrelation.h"

#include <cmath>

namespace {

bool AllEqual(const double* v, int n) {
    for (int k = 1; k < n; ++k)
        if (!(v[k] == v[0]))
            return false;
    return true;
}

double Mean(const double* v, int n) {
    double sum = 0.0;
    for (int k = 0; k < n; ++k)
        sum += v[k];
    return sum * (1.0 / n);
}

} // namespace

double PearsonCorrelation(const double* a, const double* b, int n) {
    if (n <= 1 || AllEqual(a, n) || AllEqual(b, n))
        return 0.0;
    const double ma = Mean(a, n);
    const double mb = Mean(b, n);
    double sab = 0.0;
    double saa = 0.0;
    double sbb = 0.0;
    for (int k = 0; k < n; ++k) {
        const double da = a[k] - ma;
        const double db = b[k] - mb;
        sab += da * db;
        saa += da * da;
        sbb += db * db;
    }
    if (saa == 0.0 || sbb == 0.0)
        return 0.0;
    return sab / (std::sqrt(sbb) * std::sqrt(saa));
}
