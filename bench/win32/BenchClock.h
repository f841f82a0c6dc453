// The clock and the median the Windows benchmarks measure with.
#pragma once

#include <windows.h>

#include <algorithm>
#include <vector>

namespace quorvel::bench {

// Seconds on the performance counter; the same clock in every process of the machine, so times
// taken by two programs can be compared.
inline double now() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER value;
        ::QueryPerformanceFrequency(&value);
        return value.QuadPart;
    }();
    LARGE_INTEGER value;
    ::QueryPerformanceCounter(&value);
    return static_cast<double>(value.QuadPart) / static_cast<double>(frequency);
}

// The middle value, or the mean of the two middle ones; 0 for no values.
inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0.0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

} // namespace quorvel::bench
