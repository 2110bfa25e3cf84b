// Sorts paired X and Y arrays into ascending order of X before a piecewise
// table is built from them.
#pragma once

// Sorts x[0..n) ascending, moving every y[i] with its x[i]. A strictly
// increasing x is left as it is and a strictly decreasing one is reversed;
// anything else is heap-sorted, so rows with equal x keep no particular order.
void SortByX(double* x, double* y, int n);
