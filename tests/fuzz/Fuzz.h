#pragma once

#include "RiffWave.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <span>
#include <unistd.h>

/// A broken invariant is a crash for the fuzzer, which then keeps the input.
[[noreturn]] inline void Fallo(const char* what) {
    std::fprintf(stderr, "invariante rota: %s\n", what);
    std::abort();
}

/// The lowest free descriptor number; it grows from one run to the next when a run leaves a
/// descriptor open.
inline int PrimerDescriptorLibre() {
    const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
    }
    return fd;
}

/// Walks `image` and checks what the walker promises of a playable result.
inline void ComprobarOnda(std::span<const std::byte> image) {
    const auto wave = ParseRiffWave(image);
    if (!wave) {
        return;
    }
    const auto inicio = reinterpret_cast<std::uintptr_t>(image.data());
    const auto muestras = reinterpret_cast<std::uintptr_t>(wave->Samples.data());
    if (muestras < inicio || muestras - inicio > image.size() ||
        wave->Samples.size() > image.size() - (muestras - inicio)) {
        Fallo("the samples lie outside the image");
    }
    if (wave->Format.FormatTag != WaveFormatPcm) {
        Fallo("a compressed format was accepted");
    }
}
