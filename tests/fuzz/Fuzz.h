#pragma once

#include <cstdio>
#include <cstdlib>

/// A broken invariant is a crash for the fuzzer, which then keeps the input.
[[noreturn]] inline void Fallo(const char* what) {
    std::fprintf(stderr, "invariante rota: %s\n", what);
    std::abort();
}
