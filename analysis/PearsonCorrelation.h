// The correlation coefficient between two columns of the correlation file.
#pragma once

// Pearson's r of a[0..n) and b[0..n), in two passes: the means (each sum times
// 1/n), then the sums of products of deviations. 0.0 when n <= 1, and when
// either array holds one value throughout: such a column has no variance, and
// its mean computed as sum times 1/n may miss the value in the last bit, which
// would otherwise turn rounding noise into a coefficient of +-1.
double PearsonCorrelation(const double* a, const double* b, int n);
