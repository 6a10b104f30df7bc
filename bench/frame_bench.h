// The per-frame benchmarks: an empty frame (clear and swap), a scene frame
// (draw_scene and swap) and a full frame (one pass of the program's own loop,
// then its yield), all on the one window and display the program opened. Each
// draws for a fixed span after a warm-up, so that it covers as many seconds
// as the timed run it is set beside.
// Include <benchmark/benchmark.h> before this header: Xlib's macros (None,
// Bool, Status) break its templates.
#pragma once

#include "app/run_settings.h"
#include "loop/frame_clock.h"
#include "window/gl_window.h"

#include <cstdio>
#include <utility>
#include <vector>

// Everything the benchmarks share, opened once before any of them runs.
struct frame_bench_stage {
    gl_window window;
    run_settings settings; // time_limit_us stays -1, so no pass ever ends a run
    frame_clock clock;     // the full frame's, carried across its runs
    std::FILE* null_out;   // the full frame's report lines go nowhere
    float scene_angle_deg; // the scene frame's own angle, so the picture moves
    double seconds;        // the span each benchmark measures
    std::vector<std::pair<const char*, double>> measured_fps; // by benchmark name, in the order run
};

// Names under which the benchmarks are registered and reported.
extern const char* const empty_frame_name;
extern const char* const scene_frame_name;
extern const char* const full_frame_name;

void register_frame_benchmarks(frame_bench_stage& stage);
