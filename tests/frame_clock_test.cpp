// The frame bookkeeping, driven with chosen times and no display.
#include "loop/frame_clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

namespace {

// Collects what the bookkeeping writes to either stream.
struct captured_streams {
    char* out_text = nullptr;
    size_t out_size = 0;
    char* err_text = nullptr;
    size_t err_size = 0;
    std::FILE* out = open_memstream(&out_text, &out_size);
    std::FILE* err = open_memstream(&err_text, &err_size);

    ~captured_streams()
    {
        std::fclose(out);
        std::fclose(err);
        std::free(out_text);
        std::free(err_text);
    }
    std::string take_out()
    {
        return take(out, out_text, out_size);
    }
    std::string take_err()
    {
        return take(err, err_text, err_size);
    }

  private:
    static std::string take(std::FILE* stream, char*& text, size_t& size)
    {
        std::fflush(stream);
        std::string taken(text, size);
        std::rewind(stream);
        std::fflush(stream);
        size = 0;
        return taken;
    }
};

struct frame_result {
    bool ended;
    std::string out;
    std::string err;
};

frame_result frame(frame_clock& clock, std::int64_t now_us, std::int32_t limit_us, captured_streams& streams)
{
    advance_animation(clock, now_us);
    const bool ended = finish_frame(clock, now_us, limit_us, streams.out, streams.err);
    return {ended, streams.take_out(), streams.take_err()};
}

TEST(FrameClock, WorkedExampleAtFiftyFramesPerSecond)
{
    // Angles after frame k, by float32 roundings in python3 (struct.pack('<f')): the step's degrees plus
    // the angle in double, rounded once, then -360.0 in single; frame 303 would differ if summed in single.
    const std::map<int, float> angles{{0, 0x1.333334p-1f},
                                      {2, 0x1.8p+1f},
                                      {299, 0x1.67668ep+8f},
                                      {300, 0x1.3384p-1f},
                                      {303, 0x1.0cd6e6p+2f}};
    frame_clock clock{};
    captured_streams streams;
    const std::int32_t limit_us = 10000000;
    std::string out;
    for (int k = 0; k <= 751; ++k) {
        const frame_result r = frame(clock, 1000 + 20000LL * k, limit_us, streams);
        if (angles.count(k)) {
            EXPECT_EQ(clock.angle_deg, angles.at(k)) << k;
        }
        if (k == 0) {
            EXPECT_EQ(clock.last_report_us, 1000);
        }
        if (k == 250) {
            EXPECT_EQ(r.out, "251 frames in 5.0 seconds = 50.200 FPS\nStart timing!\n");
            EXPECT_EQ(clock.timing_start_us, 5001000);
            EXPECT_EQ(clock.timed_frames, 1);
        } else if (k == 500 || k == 750) {
            EXPECT_EQ(r.out, "250 frames in 5.0 seconds = 50.000 FPS\n") << k;
        } else {
            EXPECT_EQ(r.out, "") << k;
        }
        if (k == 500) {
            EXPECT_EQ(clock.timed_frames, 251);
        }
        if (k < 751) {
            EXPECT_FALSE(r.ended) << k;
            EXPECT_EQ(r.err, "") << k;
        } else {
            EXPECT_TRUE(r.ended);
            EXPECT_EQ(r.err, "COUNT|502|1|fps\nTIME|10.0\n");
        }
    }
}

TEST(FrameClock, ReportAtExactlyFiveSecondsNotOneMicrosecondBefore)
{
    frame_clock clock{};
    captured_streams streams;
    frame(clock, 100, -1, streams);
    EXPECT_EQ(frame(clock, 100 + 4999999, -1, streams).out, "");
    EXPECT_EQ(frame(clock, 100 + 5000000, -1, streams).out, "3 frames in 5.0 seconds =  0.600 FPS\n");
    EXPECT_EQ(clock.frames_since_report, 0);
    EXPECT_EQ(clock.last_report_us, 5000100);
}

TEST(FrameClock, SlowReportShowsTheMeasuredInterval)
{
    frame_clock clock{};
    captured_streams streams;
    frame(clock, 1, -1, streams);
    EXPECT_EQ(frame(clock, 1 + 12345678, -1, streams).out, "2 frames in 12.3 seconds =  0.162 FPS\n");
}

TEST(FrameClock, EqualReadingsStillAdvanceByTheFallbackStep)
{
    frame_clock clock{};
    captured_streams streams;
    // 0.6 degrees a frame, by float32 roundings in python3 as in the worked example.
    frame(clock, 5000, -1, streams);
    EXPECT_EQ(clock.angle_deg, 0x1.333334p-1f);
    frame(clock, 5000, -1, streams);
    EXPECT_EQ(clock.angle_deg, 0x1.333334p+0f);
    frame(clock, 15000, -1, streams);
    EXPECT_EQ(clock.angle_deg, 0x1.cccccep+0f);
}

TEST(FrameClock, WrapsOnlyAboveThreeSixtyAndOnlyOnce)
{
    frame_clock clock{};
    captured_streams streams;
    frame(clock, 1, -1, streams);
    clock.angle_deg = 359.4f;
    // Angles by float32 roundings in python3, as in the worked example.
    // 0.6 degrees more: the single-precision sum is exactly 360.0 and stays.
    frame(clock, 10001, -1, streams);
    EXPECT_EQ(clock.angle_deg, 360.0f);
    frame(clock, 20001, -1, streams);
    EXPECT_EQ(clock.angle_deg, 0x1.3334p-1f);
    // Thirteen seconds in one frame: over two turns, wrapped once only.
    frame(clock, 13020001, -1, streams);
    EXPECT_EQ(clock.angle_deg, 0x1.a49998p+8f);
    frame(clock, 13030001, -1, streams);
    EXPECT_EQ(clock.angle_deg, 0x1.e9999p+5f);
    // A clock that steps back turns the wheels back, below 0 if need be (summed in single:
    // -0x1.333334p-2f).
    clock.angle_deg = 0.3f;
    frame(clock, 13020001, -1, streams);
    EXPECT_EQ(clock.angle_deg, -0x1.333332p-2f);
}

TEST(FrameClock, NoTimedRunForALimitOfZeroOrLess)
{
    for (std::int32_t limit_us : {0, -1, -2147000000}) {
        frame_clock clock{};
        captured_streams streams;
        std::string out;
        for (int k = 0; k < 40; ++k) {
            const frame_result r = frame(clock, 1 + 1000000LL * k, limit_us, streams);
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
        captured_streams streams;
        frame(clock, 10, run.limit_us, streams);
        EXPECT_EQ(frame(clock, 10 + 5000000, run.limit_us, streams).out,
                  "2 frames in 5.0 seconds =  0.400 FPS\nStart timing!\n");
        const frame_result last = frame(clock, 10 + 5000000 + run.elapsed_us, run.limit_us, streams);
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
