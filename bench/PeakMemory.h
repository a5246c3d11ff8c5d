#pragma once

#include <QString>

namespace ponderix::bench {

// A figure of /proc/self/status ("VmRSS", "VmHWM") in KiB; -1 when absent.
long long statusFigureKiB(const char* key);

// The argument that turns the benchmark program into the load-only child.
inline constexpr const char* kLoadPeakArgument = "--load-peak-of";

struct LoadPeak {
    bool measured = false; // the child ran and reported
    bool loaded = false;   // and its load succeeded
    long long residentBeforeKiB = 0;
    long long peakKiB = 0; // the whole child process at its highest
};

// Loads `path` in a fresh process of this program and reports that process's
// peak resident size. A fresh process, not a fork: a forked child would carry
// the parent's memory, and the kernel's high-water marks would count it.
LoadPeak measureLoadPeak(const QString& path);

// The child's side: loads the file, writes "<before> <peak> <ok>" in KiB to
// standard output and returns the process's exit code.
int runLoadPeakChild(const char* path);

} // namespace ponderix::bench
