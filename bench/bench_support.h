#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include <sys/resource.h>

namespace dcf::bench {

// Peak resident memory of this process, in KiB.
inline long peakKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

class Stopwatch {
public:
    [[nodiscard]] double seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// One result line, read by bench/run-staging.
inline void report(const std::string& program, const std::string& target, long long lines,
                   double seconds) {
    std::printf("%s target=%s lines=%lld seconds=%.3f peak_kib=%ld\n", program.c_str(),
                target.c_str(), lines, seconds, peakKiB());
}

} // namespace dcf::bench
