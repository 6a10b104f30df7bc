// The whole program running: timed runs, and runs ended from outside, with
// the events they follow and the ones they ignore; and a timed run's result,
// which reaches standard error, or the exit status says it did not, however a
// harness set up the standard streams.
#include <gtest/gtest.h>

#include "process.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <regex>

namespace {

// A timed run's two result lines, with COUNT's number as the one group.
const std::regex result_lines(R"(COUNT\|([1-9]\d*)\|1\|fps\nTIME\|1\.\d\n)");

TEST(FrameLoop, TimedRunEndsWithResultLinesAndStatusZeroAndYieldsAfterEachFrameButTheLast)
{
    const std::string log = new_probe_log();
    const run_result result =
        run_rotavex({"-time", "1"}, {"LD_PRELOAD=" ROTAVEX_TEST_LIBRARY, "ROTAVEX_PROBE_LOG=" + log});
    EXPECT_EQ(result.exit_status, 0);
    std::smatch first;
    ASSERT_TRUE(
        std::regex_match(result.out, first,
                         std::regex(R"((\d+) frames in 5\.\d seconds = [ \d]+\.\d{3} FPS\nStart timing!\n)")))
        << result.out;
    std::smatch count;
    ASSERT_TRUE(std::regex_match(result.err, count, result_lines)) << result.err;
    // The report frame opens the timed run, so it is in both counts. The
    // probe adds its counts after the start-up calls it logged.
    const long frames = std::stol(first[1]) + std::stol(count[1]) - 1;
    const std::string counts =
        "glXSwapBuffers " + std::to_string(frames) + "\nsched_yield " + std::to_string(frames - 1) + "\n";
    const std::string logged = read_and_remove(log);
    EXPECT_EQ(logged.substr(logged.size() - std::min(logged.size(), counts.size())), counts) << logged;
}

// Resizes the window, which forgets its contents at any new size and is
// exposed whole, and waits for the program to say so.
bool resize(child_process& rotavex, Display* display, Window window, unsigned width, unsigned height)
{
    const size_t seen = rotavex.out.size();
    XResizeWindow(display, window, width, height);
    XFlush(display);
    return wait_for_output(rotavex, "Event: ConfigureNotify\n", seen) &&
           wait_for_output(rotavex, "Event: Expose\n", rotavex.out.find("Event: ConfigureNotify\n", seen));
}

// rotavex -v on a server of the test's own: it follows resizes, ignores key
// presses, shows its frame rate while it runs, times nothing, and ends when
// its server goes away.
void expect_run_until_the_server_goes(const std::vector<std::string>& time_option)
{
    child_process server;
    const std::string display_name = start_private_server(server, {"-screen", "0", "640x480x24"});
    ASSERT_NE(display_name, "") << server.err;
    std::vector<std::string> argv{ROTAVEX_PATH, "-v", "-display", display_name};
    argv.insert(argv.end(), time_option.begin(), time_option.end());
    Display* display = XOpenDisplay(display_name.c_str());
    ASSERT_NE(display, nullptr);
    child_process rotavex;
    const Window window = start_with_window(rotavex, argv, display);
    ASSERT_NE(window, 0u);
    // No window manager runs: mapping exposes the window once and nothing moves
    // it. Shrunk to one pixel and back, it goes on drawing.
    ASSERT_TRUE(wait_for_output(rotavex, "Event: Expose\n"));
    ASSERT_TRUE(resize(rotavex, display, window, 400, 200));
    ASSERT_TRUE(wait_for_output(rotavex, " FPS\n"));
    // The keys are queued before the resize, so they have been handled by the
    // time its lines come: with nothing written for them and the program still
    // running, they were ignored.
    XEvent key{};
    key.xkey.type = KeyPress;
    key.xkey.window = window;
    for (const KeySym symbol : {XK_q, XK_Escape, XK_space}) {
        key.xkey.keycode = XKeysymToKeycode(display, symbol);
        XSendEvent(display, window, False, KeyPressMask, &key);
    }
    ASSERT_TRUE(resize(rotavex, display, window, 1, 1)) << "the key presses must not end the program";
    ASSERT_TRUE(resize(rotavex, display, window, 300, 300));
    XCloseDisplay(display);
    EXPECT_TRUE(still_running(rotavex));
    const std::string& out = rotavex.out;
    const size_t extensions = out.find("GL_EXTENSIONS = ");
    const std::string shown = out.substr(0, extensions) + out.substr(out.find('\n', extensions) + 1);
    const std::string frame_rates = R"((\d+ frames in \d+\.\d seconds = [ \d]{2}\d*\.\d{3} FPS\n)*)";
    const std::string configure = "Event: ConfigureNotify\n" + frame_rates;
    const std::string expose = "Event: Expose\n" + frame_rates;
    EXPECT_TRUE(std::regex_match(
        shown, std::regex("Window x=0, y=0, width=300, height=300\nGL_MAX_VIEWPORT_DIMS=\\d+/\\d+\n"
                          "GL_RENDERER   = .*\nGL_VERSION    = .*\nGL_VENDOR     = .*\n" +
                          expose + configure + expose + configure + expose + configure + expose)))
        << shown;
    EXPECT_EQ(rotavex.err, "");

    stop_process(server);
    EXPECT_TRUE(wait_for_exit(rotavex, 10)) << "after the server went away";
    EXPECT_TRUE(rotavex.exit_status > 0 || rotavex.signal != 0) << rotavex.exit_status;
}

TEST(FrameLoop, WithoutTimeOptionRunsUntilEndedFromOutside)
{
    expect_run_until_the_server_goes({});
}

TEST(FrameLoop, TimeZeroRunsUntilEndedFromOutside)
{
    expect_run_until_the_server_goes({"-time", "0"});
}

struct stream_case {
    const char* name;
    const char* redirection; // redirections and assignments the shell makes as it starts rotavex
    bool reader_gone;        // standard output a pipe nobody reads any more
    int exit_status;         // -1: ended by SIGPIPE, as Unix programs are
    bool results;            // both result lines on the test's pipe, else nothing there
};

const stream_case cases[] = {
    {"InputClosed", "<&-", false, 0, true},
    {"OutputClosed", ">&-", false, 0, true},
    {"OutputFull", ">/dev/full", false, 0, true},
    {"OutputReaderGone", "", true, -1, false},
    // libGL writes to descriptor 2 while the display is open.
    {"ErrorClosed", "LIBGL_DEBUG=verbose 2>&-", false, 0, false},
    {"ErrorFull", "2>/dev/full", false, 1, false},
};

// The row's number: GoogleTest would show a row itself as raw bytes.
class StandardStreams : public testing::TestWithParam<int> {};

TEST_P(StandardStreams, ResultDeliveredOrStatusSaysSo)
{
    const stream_case& c = cases[GetParam()];
#ifndef __linux__
    // Not every BSD has the device; on Linux a missing one is a broken system.
    if (std::strstr(c.redirection, "/dev/full") && access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "this system has no /dev/full";
#endif
    child_process rotavex;
    start_process(rotavex,
                  {BASH_PATH, "-c", std::string(c.redirection) + " exec \"$0\" -time 1", ROTAVEX_PATH});
    if (c.reader_gone) {
        close(rotavex.out_fd);
        rotavex.out_fd = -1;
    }
    // The run takes some six seconds: five to the first report, one timed.
    ASSERT_TRUE(wait_for_exit(rotavex, 20));
    if (c.exit_status < 0) {
        EXPECT_EQ(rotavex.signal, SIGPIPE);
    } else {
        EXPECT_EQ(rotavex.exit_status, c.exit_status);
        EXPECT_EQ(rotavex.signal, 0);
    }
    if (c.results)
        EXPECT_TRUE(std::regex_match(rotavex.err, result_lines)) << rotavex.err;
    else
        EXPECT_EQ(rotavex.err, "");
}

INSTANTIATE_TEST_SUITE_P(Table, StandardStreams, testing::Range(0, static_cast<int>(std::size(cases))),
                         [](const testing::TestParamInfo<int>& info) {
                             return std::string(cases[info.param].name);
                         });

} // namespace
