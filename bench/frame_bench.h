// The per-frame benchmarks: an empty frame (clear and swap), a scene frame
// (draw_scene and swap), one whole pass of the frame loop, and that pass
// without its yield, all on the one
// window and display the program opened. Reading the figures is fps_reporter's.
// Include <benchmark/benchmark.h> before this header: Xlib's macros (None,
// Bool, Status) break its templates.
#pragma once

#include "app/run_settings.h"
#include "loop/frame_clock.h"
#include "window/gl_window.h"

#include <cstdio>

// Everything the three benchmarks share, opened once before any of them runs.
struct frame_bench_stage {
    gl_window window;
    run_settings settings; // time_limit_us stays -1, so no pass ever ends a run
    frame_clock clock;     // the full frame's, carried across its repetitions
    std::FILE* null_out;   // the full frame's report lines go nowhere
    float scene_angle_deg; // the scene frame's own angle, so the picture moves
};

// Names under which the benchmarks are registered and reported.
extern const char* const empty_frame_name;
extern const char* const scene_frame_name;
extern const char* const full_frame_name;
extern const char* const loop_work_name;

void register_frame_benchmarks(frame_bench_stage& stage);
