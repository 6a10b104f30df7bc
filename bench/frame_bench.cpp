// Benchmark first: Xlib's macros would break its templates.
#include <benchmark/benchmark.h>

#include "frame_bench.h"

#include "loop/frame_loop.h"
#include "scene/scene.h"

#include <sched.h>

#include <algorithm>
#include <vector>

const char* const empty_frame_name = "empty_frame";
const char* const scene_frame_name = "scene_frame";
const char* const full_frame_name = "full_frame";
const char* const loop_work_name = "loop_work";

namespace {

// Frames per wall-clock second: the GL work runs partly on llvmpipe's threads
// and in the X server, so the calling thread's CPU time would overstate it.
void report_fps(benchmark::State& state)
{
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The ceiling: what the display and the driver allow with nothing drawn.
void run_empty_frames(benchmark::State& state, frame_bench_stage& stage)
{
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glXSwapBuffers(stage.window.display, stage.window.window);
    }
    report_fps(state);
}

// The drawing alone, with the same angle step each frame as a 60 fps run.
void run_scene_frames(benchmark::State& state, frame_bench_stage& stage)
{
    for (auto _ : state) {
        draw_scene(stage.scene_angle_deg);
        glXSwapBuffers(stage.window.display, stage.window.window);
        stage.scene_angle_deg += 1.0f;
        if (stage.scene_angle_deg > 360.0f)
            stage.scene_angle_deg += -360.0f;
    }
    report_fps(state);
}

// One pass of the program's own loop, as run_frame_loop makes it; without
// the yield, what the event pump, clock and bookkeeping add to the drawing
// apart from giving up the processor.
void run_loop_passes(benchmark::State& state, frame_bench_stage& stage, bool yield)
{
    for (auto _ : state) {
        // Not const: newer Google Benchmark deprecates DoNotOptimize on a const value.
        bool run_over = run_frame(stage.window, stage.settings, stage.clock, stage.null_out, stage.null_out);
        benchmark::DoNotOptimize(run_over);
        if (yield)
            sched_yield();
    }
    report_fps(state);
}

double min_of(const std::vector<double>& values)
{
    return *std::min_element(values.begin(), values.end());
}

double max_of(const std::vector<double>& values)
{
    return *std::max_element(values.begin(), values.end());
}

} // namespace

void register_frame_benchmarks(frame_bench_stage& stage)
{
    benchmark::internal::Benchmark* const benchmarks[] = {
        benchmark::RegisterBenchmark(empty_frame_name,
                                     [&stage](benchmark::State& state) { run_empty_frames(state, stage); }),
        benchmark::RegisterBenchmark(scene_frame_name,
                                     [&stage](benchmark::State& state) { run_scene_frames(state, stage); }),
        benchmark::RegisterBenchmark(
            full_frame_name, [&stage](benchmark::State& state) { run_loop_passes(state, stage, true); }),
        benchmark::RegisterBenchmark(
            loop_work_name, [&stage](benchmark::State& state) { run_loop_passes(state, stage, false); }),
    };
    for (benchmark::internal::Benchmark* frames : benchmarks)
        frames->UseRealTime()->ComputeStatistics("min", min_of)->ComputeStatistics("max", max_of);
}
