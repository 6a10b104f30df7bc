// Reads each frame benchmark's fps counter as Google Benchmark reports it, so
// the ratios can be taken once every benchmark has run. The console output
// itself is left to ConsoleReporter, unchanged.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// One benchmark's frames per second over its repetitions; cv is a fraction.
struct fps_spread {
    double median_fps = 0.0;
    double min_fps = 0.0;
    double max_fps = 0.0;
    double cv = 0.0;
    long repetitions = 0;
};

class fps_reporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override;

    std::map<std::string, fps_spread> spreads; // by benchmark name
};
