// What the bench programs share: a clock, medians, and figures printed as
// "name=value", one a line, flushed so that a slow step shows where it is.
#pragma once

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

inline LARGE_INTEGER now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter;
}

inline double msBetween(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

class Stopwatch {
public:
    Stopwatch() : last_(now()) {}

    // Milliseconds since the start or the previous lap.
    double lap() {
        LARGE_INTEGER lapEnd = now();
        double ms = msBetween(last_, lapEnd);
        last_ = lapEnd;
        return ms;
    }

private:
    LARGE_INTEGER last_;
};

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

inline void figure(const std::string& name, const std::string& value) {
    std::printf("%s=%s\n", name.c_str(), value.c_str());
    std::fflush(stdout);
}

inline void figure(const std::string& name, double value, int decimals = 1) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    figure(name, std::string(text));
}

inline void figure(const std::string& name, long long value) {
    figure(name, std::to_string(value));
}

inline void figure(const std::string& name, std::size_t value) {
    figure(name, std::to_string(value));
}

// The bytes the process's heaps have handed out and not taken back, block by
// block: what the objects alive hold, unlike the private bytes, which keep
// what a heap once took. The difference across a step weighs what it keeps.
inline std::size_t heapBytes() {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    std::size_t busy = 0;
    for (HANDLE heap : heaps) {
        if (!HeapLock(heap))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                busy += entry.cbData;
        HeapUnlock(heap);
    }
    return busy;
}

// The process's private bytes now and at their peak.
inline PROCESS_MEMORY_COUNTERS_EX processMemory() {
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                         sizeof memory);
    return memory;
}

// Checks print their outcome among the figures and decide the exit code: a
// fast wrong result proves nothing.
class Checks {
public:
    void equal(const std::string& name, std::size_t actual, std::size_t expected) {
        if (actual == expected) {
            figure("check_" + name, std::string("ok"));
            return;
        }
        figure("check_" + name, "FAILED (" + std::to_string(actual) + ", expected " +
                                    std::to_string(expected) + ")");
        ok_ = false;
    }
    bool ok() const { return ok_; }

private:
    bool ok_ = true;
};

} // namespace bench
