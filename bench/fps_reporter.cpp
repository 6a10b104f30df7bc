#include "fps_reporter.h"

void fps_reporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        // Every run of ours sets the counter: none skips, so none needs telling
        // apart by error_occurred, which Google Benchmark 1.8 renamed skipped.
        const auto fps = run.counters.find("fps");
        if (fps == run.counters.end())
            continue;
        fps_spread& spread = spreads[run.run_name.function_name];
        const double value = fps->second.value;
        spread.repetitions = static_cast<long>(run.repetitions);
        if (run.run_type == Run::RT_Iteration) {
            // A single repetition has no aggregates: it is its own median.
            if (run.repetitions <= 1)
                spread = fps_spread{value, value, value, 0.0, 1};
        } else if (run.aggregate_name == "median") {
            spread.median_fps = value;
        } else if (run.aggregate_name == "min") {
            spread.min_fps = value;
        } else if (run.aggregate_name == "max") {
            spread.max_fps = value;
        } else if (run.aggregate_name == "cv") {
            spread.cv = value;
        }
    }
}
