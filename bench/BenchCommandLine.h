// The command line every benchmark program shares: Google Benchmark's
// options and one data file; Qt programs draw on the offscreen platform.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

// Takes the benchmark options out of argv and returns the data file, or
// null after printing the usage when there is not exactly one.
inline const char* BenchmarkDataFile(int& argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE [benchmark options]\n", argv[0]);
        return nullptr;
    }
    return argv[1];
}

// Qt's offscreen platform unless the environment asks for another one.
inline void UseOffscreenPlatformUnlessSet() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
}
