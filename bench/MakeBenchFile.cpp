// Writes a data file of N rows for the benchmarks: a numeric X counting rows
// and four data columns of smooth curves with some noise, about 40 bytes a
// row (1,000,000 rows make about 40 MB).
//   kelvaro-bench-file ROWS OUT
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ROWS OUT\n", argv[0]);
        return 2;
    }
    const long rows = std::atol(argv[1]);
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out || rows < 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    std::fprintf(out, "X=number\nIntervals=100\nBenchmark %ld rows\nt;pressure;flow;temp;level\n",
                 rows);
    std::mt19937 random(42);
    std::uniform_real_distribution<double> noise(-0.5, 0.5);
    for (long i = 0; i < rows; ++i) {
        const double t = i * 0.001;
        std::fprintf(out, "%ld;%.4f;%.3f;%.3f;%.2f\n", i, 10.0 + 5.0 * std::sin(t) + noise(random),
                     100.0 + 20.0 * std::cos(t / 3) + noise(random), 20.0 + noise(random),
                     50.0 * std::sin(t / 7) + noise(random));
    }
    const bool ok = std::fclose(out) == 0;
    return ok ? 0 : 1;
}
