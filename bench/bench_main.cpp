// The benchmark program: opens rotavex's window and scene once, timing that
// start-up up to the first finished frame, runs the frame benchmarks on that
// window, then prints the figures and ratios that script/bench tabulates.
// Benchmark first: Xlib's macros would break its templates.
#include <benchmark/benchmark.h>

#include "fps_reporter.h"
#include "frame_bench.h"

#include "scene/scene.h"

#include <chrono>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Suited to frames on a noisy two-core machine, where a frame's wall time swings
// by 10 % or more from one second to the next: many repetitions of a couple of
// seconds, those of the three benchmarks shuffled together so that a slow
// spell is shared out rather than landing on one of them, and the median taken.
// Flags on the command line come after these and win.
const char* const default_flags[] = {
    ROTAVEX_BENCH_MIN_TIME_FLAG,
    "--benchmark_repetitions=10",
    "--benchmark_enable_random_interleaving=true",
    "--benchmark_display_aggregates_only=true",
};

// From before the display is opened until the first frame is drawn, shown
// and finished: what a user waits before the wheels appear.
double open_and_show_first_frame_ms(frame_bench_stage& stage)
{
    const auto start = std::chrono::steady_clock::now();
    stage.window = open_gl_window(stage.settings);
    init_scene(stage.settings);
    draw_scene(0.0f);
    glXSwapBuffers(stage.window.display, stage.window.window);
    glFinish();
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count();
}

// A benchmark left out by --benchmark_filter shows as "-", as do its ratios.
void print_ratio(const char* name, const fps_spread& numerator, const fps_spread& denominator)
{
    if (numerator.repetitions == 0 || denominator.repetitions == 0)
        std::printf("%-18s %10s\n", name, "-");
    else
        std::printf("%-18s %10.3f\n", name, numerator.median_fps / denominator.median_fps);
}

void print_fps(const char* name, const fps_spread& spread)
{
    if (spread.repetitions == 0) {
        std::printf("%-18s %10s\n", name, "-");
        return;
    }
    std::printf("%-18s %10.1f fps  (median of %ld; min %.1f, max %.1f, cv %.1f%%)\n", name, spread.median_fps,
                spread.repetitions, spread.min_fps, spread.max_fps, 100.0 * spread.cv);
}

} // namespace

int main(int argc, char* argv[])
{
    program_name = argv[0];

    std::vector<std::string> words(default_flags, default_flags + std::size(default_flags));
    words.insert(words.begin(), argv[0]);
    words.insert(words.end(), argv + 1, argv + argc);
    std::vector<char*> args;
    for (std::string& word : words)
        args.push_back(word.data());
    int arg_count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&arg_count, args.data());
    if (benchmark::ReportUnrecognizedArguments(arg_count, args.data()))
        return 1;

    frame_bench_stage stage{};
    stage.null_out = std::fopen("/dev/null", "w");
    if (!stage.null_out) {
        std::perror("/dev/null");
        return 1;
    }
    const double startup_ms = open_and_show_first_frame_ms(stage);
    const GLubyte* renderer = glGetString(GL_RENDERER);
    stage.clock.start_time = read_clock();

    register_frame_benchmarks(stage);
    fps_reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const fps_spread& empty = reporter.spreads[empty_frame_name];
    const fps_spread& scene = reporter.spreads[scene_frame_name];
    const fps_spread& full = reporter.spreads[full_frame_name];
    const fps_spread& loop = reporter.spreads[loop_work_name];
    std::printf("\nrenderer           %s\n", renderer ? reinterpret_cast<const char*>(renderer) : "");
    std::printf("startup            %10.1f ms\n", startup_ms);
    print_fps(empty_frame_name, empty);
    print_fps(scene_frame_name, scene);
    print_fps(full_frame_name, full);
    print_fps(loop_work_name, loop);
    print_ratio("full/scene", full, scene);
    print_ratio("scene/empty", scene, empty);
    print_ratio("loop/scene", loop, scene);
}
