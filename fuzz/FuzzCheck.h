#pragma once
// The fuzz targets' assertion: a broken property aborts (so libFuzzer keeps the input) after
// naming the line that failed.

#include <cstdio>
#include <cstdlib>

inline void check(bool condition, const char* file = __builtin_FILE(),
                  int line = __builtin_LINE()) {
    if (!condition) {
        std::fprintf(stderr, "property broken at %s:%d\n", file, line);
        std::abort();
    }
}
