// The benchmark program: opens rotavex's window and scene, timing that
// start-up up to the first finished frame, runs the frame benchmarks that
// the flags select on that window, then prints what script/bench reads:
//
//   rotavex_bench SECONDS [Google Benchmark flags, e.g. --benchmark_filter=^full_frame$]
//
// Google Benchmark's own report goes to standard error; standard output gets
// the renderer, "startup_ms MS", and a "NAME FPS" line for each benchmark run.
// Benchmark first: Xlib's macros would break its templates.
#include <benchmark/benchmark.h>

#include "frame_bench.h"

#include "scene/scene.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace {

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

} // namespace

int main(int argc, char* argv[])
{
    program_name = argv[0];
    char* end = nullptr;
    const double seconds = argc > 1 ? std::strtod(argv[1], &end) : 0.0;
    if (argc < 2 || *end != '\0' || !(seconds > 0.0)) {
        std::fprintf(stderr, "usage: %s SECONDS [benchmark flags]\n", argv[0]);
        return 2;
    }
    argv[1] = argv[0];
    int benchmark_argc = argc - 1;
    benchmark::Initialize(&benchmark_argc, argv + 1);
    if (benchmark::ReportUnrecognizedArguments(benchmark_argc, argv + 1))
        return 2;

    frame_bench_stage stage{};
    stage.seconds = seconds;
    stage.null_out = std::fopen("/dev/null", "w");
    if (!stage.null_out) {
        std::perror("/dev/null");
        return 1;
    }
    const double startup_ms = open_and_show_first_frame_ms(stage);
    const GLubyte* renderer = glGetString(GL_RENDERER);
    stage.clock.start_time = read_clock();

    register_frame_benchmarks(stage);
    benchmark::ConsoleReporter report;
    report.SetOutputStream(&std::cerr);
    report.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&report);
    benchmark::Shutdown();

    std::printf("renderer %s\nstartup_ms %.1f\n", renderer ? reinterpret_cast<const char*>(renderer) : "",
                startup_ms);
    for (const auto& [name, fps] : stage.measured_fps)
        std::printf("%s %.1f\n", name, fps);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
