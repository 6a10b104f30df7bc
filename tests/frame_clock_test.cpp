// The frame bookkeeping, driven with chosen times and no display.
#include "capture.h"
#include "exact_values.h"
#include "loop/frame_clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct frame_result {
    bool ended;
    std::string out, err;
};

frame_result frame(frame_clock& clock, std::int64_t now_us, std::int32_t limit_us = -1)
{
    bool ended = false;
    // The streams handed over crossed: a line written to stdout itself, not to the stream given, shows.
    const captured output = capture([&] {
        advance_animation(clock, now_us);
        ended = finish_frame(clock, now_us, limit_us, stderr, stdout);
    });
    return {ended, output.err, output.out};
}

TEST(FrameClock, WorkedExampleAtFiftyFramesPerSecond)
{
    frame_clock clock{};
    const std::int32_t limit_us = 10000000;
    std::vector<float> angles;
    for (int k = 0; k <= 751; ++k) {
        const frame_result r = frame(clock, 1000 + 20000LL * k, limit_us);
        angles.push_back(clock.angle_deg);
        const char* report = k == 250 ? "251 frames in 5.0 seconds = 50.200 FPS\nStart timing!\n"
                             : k == 500 || k == 750 ? "250 frames in 5.0 seconds = 50.000 FPS\n"
                                                    : "";
        EXPECT_EQ(r.out, report) << k;
        EXPECT_EQ(r.err, k == 751 ? "COUNT|502|1|fps\nTIME|10.0\n" : "") << k;
        EXPECT_EQ(r.ended, k == 751) << k;
        // The first frame opens the first report's interval; the timed run counts from its own frame on.
        if (k == 0 || k == 250 || k == 500) {
            EXPECT_EQ(clock.last_report_us, 1000 + 20000 * k) << k;
            EXPECT_EQ(clock.timing_start_us, k < 250 ? 0 : 5001000) << k;
            EXPECT_EQ(clock.timed_frames, k < 250 ? 0 : k - 249) << k;
        }
    }
    // Frame 300 wraps; frame 303 would differ with the angle summed in single.
    for (const auto& after : fifty_fps_angles)
        EXPECT_EQ(angles[after.k], after.angle_deg) << "frame " << after.k;
}

TEST(FrameClock, ReportAtExactlyFiveSecondsNotBeforeAndForTheIntervalMeasured)
{
    frame_clock clock{};
    frame(clock, 100);
    EXPECT_EQ(frame(clock, 100 + 4999999).out, "");
    EXPECT_EQ(frame(clock, 100 + 5000000).out, "3 frames in 5.0 seconds =  0.600 FPS\n");
    EXPECT_EQ(clock.frames_since_report, 0);
    EXPECT_EQ(clock.last_report_us, 5000100);
    // A slow frame's line shows the interval measured, and counts from the report before.
    EXPECT_EQ(frame(clock, 5000100 + 12345678).out, "1 frames in 12.3 seconds =  0.081 FPS\n");
}

TEST(FrameClock, EqualReadingsAdvanceByTheFallbackStepAndTheAngleWrapsOnlyAboveThreeSixtyAndOnce)
{
    frame_clock clock{};
    const std::int64_t equal_us[] = {5000, 5000, 15000};
    for (size_t i = 0; i < 3; ++i) {
        frame(clock, equal_us[i]);
        EXPECT_EQ(clock.angle_deg, fallback_angles[i]) << i;
    }
    // From 359.4, 0.6 degrees more make 360.0 in single, which stays; 0.6 more wrap. Then thirteen seconds
    // in one frame, over two turns, wrap once only. Last, a clock that steps back turns the wheels back,
    // from 0.3 to below 0.
    clock.angle_deg = 359.4f;
    const std::int64_t wrap_us[] = {25000, 35000, 13035000, 13045000, 13035000};
    for (size_t i = 0; i < 5; ++i) {
        clock.angle_deg = i == 4 ? 0.3f : clock.angle_deg;
        frame(clock, wrap_us[i]);
        EXPECT_EQ(clock.angle_deg, wrap_angles[i]) << i;
    }
}

TEST(FrameClock, NoTimedRunForALimitOfZeroOrLess)
{
    for (std::int32_t limit_us : {0, -1, -2147000000}) {
        frame_clock clock{};
        std::string out;
        for (int k = 0; k < 40; ++k) {
            const frame_result r = frame(clock, 1 + 1000000LL * k, limit_us);
            EXPECT_FALSE(r.ended);
            EXPECT_EQ(r.err, "");
            out += r.out;
        }
        EXPECT_EQ(out.find("Start timing!"), std::string::npos);
        EXPECT_EQ(clock.timing_start_us, 0);
        EXPECT_NE(out.find("5 frames in 5.0 seconds"), std::string::npos);
    }
}

TEST(FrameClock, LastFrameThatIsAlsoAReportFrameReportsFirst)
{
    // The run ends on the next report frame; TIME keeps the tenths of the elapsed seconds.
    const struct {
        std::int32_t limit_us, elapsed_us;
        const char *report, *result;
    } runs[] = {
        {4000000, 5000000, "1 frames in 5.0 seconds =  0.200 FPS\n", "COUNT|2|1|fps\nTIME|5.0\n"},
        {10000000, 10060000, "1 frames in 10.1 seconds =  0.099 FPS\n", "COUNT|2|1|fps\nTIME|10.1\n"}};
    for (const auto& run : runs) {
        frame_clock clock{};
        frame(clock, 10, run.limit_us);
        EXPECT_EQ(frame(clock, 10 + 5000000, run.limit_us).out,
                  "2 frames in 5.0 seconds =  0.400 FPS\nStart timing!\n");
        const frame_result last = frame(clock, 10 + 5000000 + run.elapsed_us, run.limit_us);
        EXPECT_TRUE(last.ended);
        EXPECT_EQ(last.out, run.report);
        EXPECT_EQ(last.err, run.result);
    }
}

TEST(FrameClock, ElapsedTimeWithBorrow)
{
    EXPECT_EQ(microseconds_since({10, 900000}, {12, 100000}), 1200000);
    EXPECT_EQ(microseconds_since({10, 100000}, {10, 100000}), 0);
    EXPECT_EQ(microseconds_since({10, 500000}, {9, 600000}), -900000);
}

// A coarse clock (a tick of a millisecond or more) would give most frames of a
// fast loop the reading of the frame before, and so the fallback step.
TEST(FrameClock, ReadingsNeverGoBackAndResolveMicroseconds)
{
    std::int64_t finest_step_us = 1000000;
    timeval last = read_clock();
    for (int i = 0; i < 10000000 && finest_step_us > 10; ++i) {
        const timeval now = read_clock();
        const std::int64_t step_us = microseconds_since(last, now);
        ASSERT_GE(step_us, 0);
        if (step_us > 0)
            finest_step_us = std::min(finest_step_us, step_us);
        last = now;
    }
    EXPECT_LE(finest_step_us, 10);
}

} // namespace
