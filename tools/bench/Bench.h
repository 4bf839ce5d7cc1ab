#pragma once

#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

// Benchmarks of the program's hot paths. Each part of the program adds one function here
// and calls it from main.cpp; timings are medians so one slow run does not skew them.

template <class F> double MedianSeconds(int runs, F&& f) {
    std::vector<double> times;
    times.reserve(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        f();
        times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline void Report(const char* what, double seconds) {
    if (seconds < 1e-3) {
        std::printf("%-48s median %9.2f us\n", what, seconds * 1e6);
    } else {
        std::printf("%-48s median %9.3f ms\n", what, seconds * 1e3);
    }
}

/// A figure with the most it may take beside it, and whether it keeps to it.
inline void Report(const char* what, double seconds, double targetSeconds) {
    const char* verdict = seconds <= targetSeconds ? "ok" : "OVER";
    if (targetSeconds < 1e-3) {
        std::printf("%-48s median %9.2f us   target <= %7.2f us  %s\n", what, seconds * 1e6,
                    targetSeconds * 1e6, verdict);
    } else {
        std::printf("%-48s median %9.3f ms   target <= %7.3f ms  %s\n", what, seconds * 1e3,
                    targetSeconds * 1e3, verdict);
    }
}

/// A ratio of two figures with its target.
inline void ReportRatio(const char* what, double ratio, double target) {
    std::printf("%-48s        %9.2f x    target <= %7.2f x   %s\n", what, ratio, target,
                ratio <= target ? "ok" : "OVER");
}

/// Writes the 5000-reading table the start-up figures load.
void EscribirTabla5000(const QString& path);

void RunSamplingBenchmarks();
void RunStartupBenchmarks();
void RunSamplefilesBenchmarks();
void RunVoiceBenchmarks();
