// The interpolant of the interpolation file: one flat array of doubles holding
// polynomial pieces of up to third degree between sorted knots.
//
//   [0]                    total length of the array, 5n - 1
//   [1]                    order tag, 3.0 (cubic pieces)
//   [2]                    knot count n
//   [3 .. n + 2]           knots x0 .. x(n-1), ascending
//   [n + 3 + 4j .. n + 6 + 4j]  c0, c1, c2, c3 of piece j (j = 0 .. n - 2)
//
// Piece j covers x(j) .. x(j+1); its value at x is c0 + c1 d + c2 d^2 + c3 d^3
// with d = x - x(j).
#pragma once

// The order tag of a built table. A table whose tag (truncated to an integer)
// is anything else evaluates to 0.0 everywhere, so a zero-filled array that was
// never built is a valid empty interpolant.
constexpr double kPiecewiseOrderTag = 3.0;

// The number of doubles a table of n knots needs (n >= 2).
constexpr long long PiecewiseTableLength(long long n) {
    return 5 * n - 1;
}

// Sorts x and y by x (SortByX) and fills table with straight-line pieces:
// c0 = y(j), c1 = the slope to the next row, c2 = c3 = 0. Two rows with the
// same x make a piece of zero width; it gets slope 0, so it holds the value of
// its left row and no infinite or undefined number enters the table. With
// n < 2 nothing is done. table must have room for PiecewiseTableLength(n).
void BuildPiecewiseTable(double* x, double* y, int n, double* table);

// The table's value at x: the piece found by binary search over the knots,
// evaluated by Horner's rule. x at or below the first knot uses the first
// piece and x above the last knot the last one (both extend the end pieces); x
// on an inner knot x(k) uses piece k - 1 at its right end. 0.0 when the order
// tag is not 3 or the table has fewer than two knots.
double EvaluatePiecewise(const double* table, double x);
