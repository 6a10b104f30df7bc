// The whole program running: timed runs, events and output through a pipe.
#include "process.h"
#include "x_tools.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

const std::regex frame_rate_line(R"(\d+ frames in \d+\.\d seconds = [ \d]{2}\d*\.\d{3} FPS\n)");

TEST(FrameLoop, TimedRunEndsWithResultLinesAndStatusZero)
{
    const run_result result = run_rotavex({"-time", "1"}, {}, 60);
    EXPECT_EQ(result.exit_status, 0);
    std::smatch match;
    EXPECT_TRUE(
        std::regex_match(result.out, match,
                         std::regex(R"((\d+) frames in 5\.\d seconds = [ \d]+\.\d{3} FPS\nStart timing!\n)")))
        << result.out;
    EXPECT_TRUE(std::regex_match(result.err, std::regex(R"(COUNT\|[1-9]\d*\|1\|fps\nTIME\|1\.\d\n)")))
        << result.err;
}

TEST(FrameLoop, FrameRateLineCanBeReadWhileTheProgramRuns)
{
    child_process rotavex;
    start_process(rotavex, {rotavex_path()});
    ASSERT_TRUE(read_until(
        rotavex, [&] { return contains(rotavex.out, " FPS\n"); }, 30));
    EXPECT_GT(rotavex.pid, 0) << "still running";
    EXPECT_TRUE(std::regex_match(rotavex.out, frame_rate_line)) << rotavex.out;
    stop_process(rotavex);
    EXPECT_EQ(rotavex.err, "");
}

TEST(FrameLoop, ResizeIsReportedAndKeyPressesChangeNothing)
{
    child_process rotavex;
    start_process(rotavex, {rotavex_path(), "-v"});
    ASSERT_TRUE(read_until(
        rotavex, [&] { return contains(rotavex.out, "GL_EXTENSIONS = "); }, 30));
    const std::string id = wait_for_rotavex_window();
    ASSERT_NE(id, "");
    // Let the start-up events pass before counting.
    read_until(
        rotavex, [] { return false; }, 1.0);
    const size_t before = count_of(rotavex.out, "Event: ConfigureNotify\n");

    tool_output({XDOTOOL_PATH, "windowsize", id, "400", "200"});
    EXPECT_TRUE(read_until(
        rotavex, [&] { return count_of(rotavex.out, "Event: ConfigureNotify\n") > before; }, 10))
        << rotavex.out;
    EXPECT_TRUE(contains(tool_output({XWININFO_PATH, "-id", id}), "Width: 400\n"));

    read_until(
        rotavex, [] { return false; }, 1.0);
    const size_t length = rotavex.out.size();
    tool_output({XDOTOOL_PATH, "key", "--window", id, "q", "Escape", "space"});
    read_until(
        rotavex, [] { return false; }, 1.5);
    EXPECT_GT(rotavex.pid, 0) << "a key press must not end the program";
    const std::string after = rotavex.out.substr(length);
    // Only frame-rate lines, and a late exposure from the resize, may have come since.
    EXPECT_TRUE(std::regex_match(after, std::regex(R"(((\d+ frames in [^\n]* FPS|Event: Expose)\n)*)")))
        << after;
    stop_process(rotavex);
}

TEST(FrameLoop, NoTimedRunForAZeroLimit)
{
    child_process rotavex;
    start_process(rotavex, {rotavex_path(), "-time", "0"});
    ASSERT_TRUE(read_until(
        rotavex, [&] { return contains(rotavex.out, " FPS\n"); }, 30));
    read_until(
        rotavex, [] { return false; }, 0.5);
    EXPECT_GT(rotavex.pid, 0);
    EXPECT_FALSE(contains(rotavex.out, "Start timing!"));
    stop_process(rotavex);
    EXPECT_EQ(rotavex.err, "");
}

} // namespace
