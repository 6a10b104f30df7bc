// Benchmark first: Xlib's macros would break its templates.
#include <benchmark/benchmark.h>

#include "frame_bench.h"

#include "loop/frame_loop.h"
#include "scene/scene.h"

#include <sched.h>

#include <chrono>

const char* const empty_frame_name = "empty_frame";
const char* const scene_frame_name = "scene_frame";
const char* const full_frame_name = "full_frame";

namespace {

using wall_clock = std::chrono::steady_clock;

// Long enough for the driver to have built what the frames need; the timed
// run's first five seconds play the same part before it starts counting.
constexpr std::chrono::seconds warm_up{1};

// Frames for stage.seconds of wall-clock time, after the warm-up: the GL
// work runs partly on llvmpipe's threads and in the X server, so the calling
// thread's CPU time would overstate the rate. Google Benchmark would choose
// its own span, from one to about 1.4 times the one asked for; set beside a
// timed run, both sides must cover the same seconds.
template <typename Frame>
void measure_span(benchmark::State& state, frame_bench_stage& stage, const char* name, Frame frame)
{
    for (auto _ : state) {
        for (const auto until = wall_clock::now() + warm_up; wall_clock::now() < until;)
            frame();
        const auto start = wall_clock::now();
        long frames = 0;
        std::chrono::duration<double> elapsed{};
        do {
            frame();
            ++frames;
            elapsed = wall_clock::now() - start;
        } while (elapsed.count() < stage.seconds);
        state.SetIterationTime(elapsed.count());
        const double fps = static_cast<double>(frames) / elapsed.count();
        state.counters["fps"] = fps;
        stage.measured_fps.emplace_back(name, fps);
    }
}

// The ceiling: what the display and the driver allow with nothing drawn.
void run_empty_frames(benchmark::State& state, frame_bench_stage& stage)
{
    measure_span(state, stage, empty_frame_name, [&stage] {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glXSwapBuffers(stage.window.display, stage.window.window);
    });
}

// The drawing alone, with the same angle step each frame as a 60 fps run.
void run_scene_frames(benchmark::State& state, frame_bench_stage& stage)
{
    measure_span(state, stage, scene_frame_name, [&stage] {
        draw_scene(stage.scene_angle_deg);
        glXSwapBuffers(stage.window.display, stage.window.window);
        stage.scene_angle_deg += 1.0f;
        if (stage.scene_angle_deg > 360.0f)
            stage.scene_angle_deg += -360.0f;
    });
}

// One pass of the program's own loop and its yield, as run_frame_loop makes them.
void run_full_frames(benchmark::State& state, frame_bench_stage& stage)
{
    measure_span(state, stage, full_frame_name, [&stage] {
        // Not const: newer Google Benchmark deprecates DoNotOptimize on a const value.
        bool run_over = run_frame(stage.window, stage.settings, stage.clock, stage.null_out, stage.null_out);
        benchmark::DoNotOptimize(run_over);
        sched_yield();
    });
}

} // namespace

void register_frame_benchmarks(frame_bench_stage& stage)
{
    benchmark::internal::Benchmark* const benchmarks[] = {
        benchmark::RegisterBenchmark(empty_frame_name,
                                     [&stage](benchmark::State& state) { run_empty_frames(state, stage); }),
        benchmark::RegisterBenchmark(scene_frame_name,
                                     [&stage](benchmark::State& state) { run_scene_frames(state, stage); }),
        benchmark::RegisterBenchmark(full_frame_name,
                                     [&stage](benchmark::State& state) { run_full_frames(state, stage); }),
    };
    for (benchmark::internal::Benchmark* frames : benchmarks)
        frames->Iterations(1)->UseManualTime();
}
