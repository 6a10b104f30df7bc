// The whole program running: timed runs, events and output through a pipe.
#include "process.h"
#include "x_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

namespace {

const std::string frame_rate = R"(\d+ frames in \d+\.\d seconds = [ \d]{2}\d*\.\d{3} FPS\n)";
const std::regex frame_rate_line(frame_rate);
const std::string any_frame_rates = "(" + frame_rate + ")*";

TEST(FrameLoop, TimedRunEndsWithResultLinesAndStatusZeroAndYieldsAfterEachFrameButTheLast)
{
    const std::string log = new_probe_log();
    const run_result result =
        run_rotavex({"-time", "1"}, {"LD_PRELOAD=" + test_library_path(), "ROTAVEX_PROBE_LOG=" + log}, 60);
    EXPECT_EQ(result.exit_status, 0);
    std::smatch first;
    ASSERT_TRUE(
        std::regex_match(result.out, first,
                         std::regex(R"((\d+) frames in 5\.\d seconds = [ \d]+\.\d{3} FPS\nStart timing!\n)")))
        << result.out;
    std::smatch count;
    ASSERT_TRUE(
        std::regex_match(result.err, count, std::regex(R"(COUNT\|([1-9]\d*)\|1\|fps\nTIME\|1\.\d\n)")))
        << result.err;
    // The report frame opens the timed run, so it is in both counts. The
    // probe adds its counts after the start-up calls it logged.
    const long frames = std::stol(first[1]) + std::stol(count[1]) - 1;
    const std::string counts =
        "glXSwapBuffers " + std::to_string(frames) + "\nsched_yield " + std::to_string(frames - 1) + "\n";
    const std::string logged = read_and_remove(log);
    EXPECT_EQ(logged.substr(logged.size() - std::min(logged.size(), counts.size())), counts) << logged;
}

TEST(FrameLoop, FrameRateLineComesWhileTheProgramRunsAndNoTimedRunWithoutALimit)
{
    const std::vector<std::vector<std::string>> command_lines = {{rotavex_path()},
                                                                 {rotavex_path(), "-time", "0"}};
    for (const std::vector<std::string>& argv : command_lines) {
        child_process rotavex;
        start_process(rotavex, argv);
        ASSERT_TRUE(read_until(rotavex, 30, [&] { return contains(rotavex.out, " FPS\n"); }));
        read_until(rotavex, 0.5, [] { return false; });
        EXPECT_TRUE(still_running(rotavex)) << "the line must come while the program runs";
        // The line alone: no "Start timing!" after it.
        EXPECT_TRUE(std::regex_match(rotavex.out, frame_rate_line)) << rotavex.out;
        stop_process(rotavex);
        EXPECT_EQ(rotavex.err, "");
    }
}

TEST(FrameLoop, EventLinesOfMappingAndResizingAndNoneForKeys)
{
    child_process rotavex;
    start_process(rotavex, {rotavex_path(), "-v"});
    const std::string id = wait_for_rotavex_window();
    ASSERT_NE(id, "") << rotavex.err;
    read_until(rotavex, 10, [&] { return contains(rotavex.out, "Event: "); });
    read_until(rotavex, 1.0, [] { return false; });
    // No window manager runs: mapping exposes the window once and nothing moves it.
    const size_t extensions = rotavex.out.find("GL_EXTENSIONS = ");
    ASSERT_NE(extensions, std::string::npos) << rotavex.out;
    EXPECT_TRUE(
        std::regex_match(rotavex.out.substr(0, extensions),
                         std::regex("Window x=0, y=0, width=300, height=300\nGL_MAX_VIEWPORT_DIMS=\\d+/\\d+\n"
                                    "GL_RENDERER   = .*\nGL_VERSION    = .*\nGL_VENDOR     = .*\n")))
        << rotavex.out.substr(0, extensions);
    const std::string after_info = rotavex.out.substr(rotavex.out.find('\n', extensions) + 1);
    EXPECT_TRUE(std::regex_match(after_info, std::regex("Event: Expose\n" + any_frame_rates))) << after_info;

    // Growing wider, the window forgets its contents and is exposed whole.
    size_t length = rotavex.out.size();
    tool_output({XDOTOOL_PATH, "windowsize", id, "400", "200"});
    read_until(rotavex, 1.0, [] { return false; });
    EXPECT_TRUE(contains(tool_output({XWININFO_PATH, "-id", id}), "Width: 400\n"));
    const std::string resized = rotavex.out.substr(length);
    EXPECT_TRUE(std::regex_match(resized, std::regex(any_frame_rates + "Event: ConfigureNotify\n" +
                                                     any_frame_rates + "Event: Expose\n" + any_frame_rates)))
        << resized;

    length = rotavex.out.size();
    tool_output({XDOTOOL_PATH, "key", "--window", id, "q", "Escape", "space"});
    read_until(rotavex, 1.5, [] { return false; });
    EXPECT_TRUE(still_running(rotavex)) << "a key press must not end the program";
    const std::string keyed = rotavex.out.substr(length);
    EXPECT_TRUE(std::regex_match(keyed, std::regex(any_frame_rates))) << keyed;
    stop_process(rotavex);
    EXPECT_EQ(rotavex.err, "");
}

} // namespace
