// Frame loop and measurement: the animation clock, the five-second frame-rate
// lines and the timed run. The bookkeeping here needs neither X nor GL, so it
// can be driven with chosen times; frame_loop.h is the driver around it.
#pragma once

#include <sys/time.h>

#include <cstdint>
#include <cstdio>

// Every time but start_time is microseconds since start_time; 0 means not set.
struct frame_clock {
    timeval start_time;
    std::int64_t last_frame_us;
    std::int64_t last_report_us;
    std::int64_t timing_start_us;
    std::int32_t frames_since_report;
    std::int64_t timed_frames;
    float angle_deg;
};

// A monotonic reading, so a change of the system time cannot stretch or cut a run.
timeval read_clock();

// now - start as timevals, with a borrow from the seconds.
std::int64_t microseconds_since(const timeval& start, const timeval& now);

// The first-frame rules, the step and the new angle_deg, before the frame is drawn.
void advance_animation(frame_clock& clock, std::int64_t now_us);

// After the frame is shown: counts it, prints the frame-rate line and runs the
// timed run. Returns true once the run is over and its result lines written.
bool finish_frame(frame_clock& clock, std::int64_t now_us, std::int32_t time_limit_us, std::FILE* out,
                  std::FILE* err);
