// The frame loop: pumps X events, advances the clock, draws, swaps, reports.
#pragma once

#include "app/run_settings.h"
#include "loop/frame_clock.h"
#include "window/gl_window.h"

// One pass: every queued event, then one frame. Returns true when a timed
// run has just written its result lines.
bool run_frame(const gl_window& window, const run_settings& settings, frame_clock& clock, std::FILE* out,
               std::FILE* err);

// Runs frames until a timed run completes, then exits: status 0 once both
// result lines are on standard error, 1 when either could not be written.
[[noreturn]] void run_frame_loop(const gl_window& window, const run_settings& settings);
