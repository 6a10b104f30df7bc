#include "loop/frame_clock.h"

#include <time.h>

namespace {

constexpr std::int64_t us_per_s = 1000000;
// A frame whose reading equals the previous one still moves the wheels.
constexpr std::int64_t fallback_step_us = 10000;
constexpr double degrees_per_s = 60.0;
constexpr std::int64_t report_interval_us = 5000000;

void print_frame_rate(const frame_clock& clock, std::int64_t now_us, std::FILE* out)
{
    const float seconds = static_cast<float>(static_cast<double>(now_us - clock.last_report_us) / 1000000.0);
    const float fps = static_cast<float>(clock.frames_since_report) / seconds;
    std::fprintf(out, "%d frames in %3.1f seconds = %6.3f FPS\n", clock.frames_since_report,
                 static_cast<double>(seconds), static_cast<double>(fps));
}

} // namespace

timeval read_clock()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    timeval reading;
    reading.tv_sec = now.tv_sec;
    reading.tv_usec = now.tv_nsec / 1000;
    return reading;
}

std::int64_t microseconds_since(const timeval& start, const timeval& now)
{
    std::int64_t seconds = static_cast<std::int64_t>(now.tv_sec) - start.tv_sec;
    std::int64_t micros = static_cast<std::int64_t>(now.tv_usec) - start.tv_usec;
    if (micros < 0) {
        seconds -= 1;
        micros += us_per_s;
    }
    return seconds * us_per_s + micros;
}

void advance_animation(frame_clock& clock, std::int64_t now_us)
{
    if (clock.last_frame_us == 0)
        clock.last_frame_us = now_us;
    if (clock.last_report_us == 0)
        clock.last_report_us = now_us;

    std::int64_t step_us = now_us - clock.last_frame_us;
    if (step_us == 0)
        step_us = fallback_step_us;

    // Summed in double, kept in single; one wrap only, nothing below 0.
    float angle = static_cast<float>(static_cast<double>(step_us) * degrees_per_s / 1000000.0 +
                                     static_cast<double>(clock.angle_deg));
    if (angle > 360.0f)
        angle += -360.0f;
    clock.angle_deg = angle;
}

bool finish_frame(frame_clock& clock, std::int64_t now_us, std::int32_t time_limit_us, std::FILE* out,
                  std::FILE* err)
{
    clock.last_frame_us = now_us;
    clock.frames_since_report += 1;

    if (now_us - clock.last_report_us >= report_interval_us) {
        print_frame_rate(clock, now_us, out);
        clock.last_report_us = now_us;
        clock.frames_since_report = 0;
        // A timed run can begin only here, so it begins on the first report or never.
        if (time_limit_us > 0 && clock.timing_start_us == 0) {
            std::fputs("Start timing!\n", out);
            clock.timing_start_us = now_us;
        }
    }

    if (clock.timing_start_us > 0) {
        clock.timed_frames += 1;
        const std::int64_t elapsed_us = now_us - clock.timing_start_us;
        if (elapsed_us > static_cast<std::int64_t>(time_limit_us)) {
            std::fprintf(err, "COUNT|%ld|1|fps\n", static_cast<long>(clock.timed_frames));
            std::fprintf(err, "TIME|%.1f\n", static_cast<double>(elapsed_us) / 1000000.0);
            return true;
        }
    }
    return false;
}
