// The window and its context, on a private Xvfb.
#include <gtest/gtest.h>

#include "process.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

const std::string window_line = "Window x=0, y=0, width=300, height=300\n";
const std::string probe = "LD_PRELOAD=" ROTAVEX_TEST_LIBRARY;

TEST(Window, NamedSizedAndHintedAsAsked)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    child_process rotavex;
    const Window window = start_with_window(rotavex, {ROTAVEX_PATH}, display);
    ASSERT_NE(window, 0u);
    XWindowAttributes at;
    XGetWindowAttributes(display, window, &at);
    // x, y, width, height, border width
    EXPECT_EQ(std::vector<int>({at.x, at.y, at.width, at.height, at.border_width}),
              std::vector<int>({0, 0, 300, 300, 0}));
    char* icon_name = nullptr;
    ASSERT_TRUE(XGetIconName(display, window, &icon_name));
    EXPECT_STREQ(icon_name, "rotavex");
    XFree(icon_name);
    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(display, window, &hints, &supplied));
    // flags, x, y, width, height
    EXPECT_EQ(std::vector<long>({hints.flags, hints.x, hints.y, hints.width, hints.height}),
              std::vector<long>({USPosition | USSize, 0, 0, 300, 300}));
    XCloseDisplay(display);
}

TEST(Window, ServerWithoutGlxIsFailureTwo)
{
    child_process server;
    const std::string display =
        start_private_server(server, {"-extension", "GLX", "-screen", "0", "640x480x24"});
    ASSERT_NE(display, "") << server.err;
    const run_result result = run_rotavex({"-display", display, "-v"});
    EXPECT_EQ(result.out, window_line);
    // Xlib may say first that the extension is missing; the program's line ends it.
    EXPECT_EQ(result.err.substr(result.err.rfind('\n', result.err.size() - 2) + 1),
              ROTAVEX_PATH ": Error: couldn't get an RGB, Double-buffered visual.\n");
    EXPECT_EQ(result.exit_status, 1);
}

TEST(Window, ViewportLimitBelowTheWindowIsFailureFour)
{
    for (const std::string forced : {"299/300", "300/299", "0/0"}) {
        const run_result result = run_rotavex({"-info"}, {probe, "ROTAVEX_PROBE_VIEWPORT=" + forced});
        EXPECT_EQ(result.out, "GL_MAX_VIEWPORT_DIMS=" + forced + "\n");
        EXPECT_EQ(result.err, ROTAVEX_PATH ": Error: Requested window size (300/300) larger than maximum "
                                           "supported by GL engine (" +
                                  forced + ").\n");
        EXPECT_EQ(result.exit_status, 1);
    }
    // Without -info or -v the failure comes alone.
    const run_result quiet = run_rotavex({}, {probe, "ROTAVEX_PROBE_VIEWPORT=299/299"});
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(quiet.exit_status, 1);
}

TEST(Window, StartUpCallsInOrderAndAViewportLimitOfExactlyTheWindowPasses)
{
    const std::string log = new_probe_log();
    const std::vector<std::string> env{probe, "ROTAVEX_PROBE_LOG=" + log, "ROTAVEX_PROBE_VIEWPORT=300/300"};
    // GLX_RGBA, RED 1, GREEN 1, BLUE 1, DOUBLEBUFFER, DEPTH 1, None; then
    // CWBackPixel|CWBorderPixel|CWEventMask|CWColormap and
    // StructureNotifyMask|ExposureMask|KeyPressMask.
    const std::string window_calls =
        "glXChooseVisual 4 8 1 9 1 10 1 5 12 1 0\nXCreateWindow 0x280a 0x28001\n";
    const struct {
        std::vector<std::string> args;
        std::string calls;
    } cases[] = {
        {{"-d", "-debug_use_threadsafe_api"}, "XInitThreads\nXOpenDisplay\n" + window_calls},
        {{"-debug"}, "XInitThreads\nXOpenDisplay\n" + window_calls},
        {{}, "XOpenDisplay\n" + window_calls},
    };
    for (const auto& run : cases) {
        SCOPED_TRACE(testing::PrintToString(run.args));
        std::vector<std::string> argv{ROTAVEX_PATH, "-v"};
        argv.insert(argv.end(), run.args.begin(), run.args.end());
        child_process rotavex;
        start_process(rotavex, argv, env);
        // The line after GL_RENDERER's: that one is whole.
        EXPECT_TRUE(wait_for_output(rotavex, "GL_VERSION"));
        stop_process(rotavex);
        EXPECT_EQ(read_and_remove(log), run.calls);
        EXPECT_EQ(rotavex.out.rfind(window_line + "GL_MAX_VIEWPORT_DIMS=300/300\nGL_RENDERER   = ", 0), 0u)
            << rotavex.out;
        EXPECT_EQ(rotavex.err, "");
    }
    // Refused before anything of X is touched.
    const run_result refused = run_rotavex({"-debug_use_threadsafe_api", "-zzz"}, env);
    EXPECT_EQ(refused.exit_status, 1);
    EXPECT_EQ(read_and_remove(log), "");

    std::vector<std::string> failing = env;
    failing.push_back("ROTAVEX_PROBE_XINITTHREADS=0");
    const run_result failed = run_rotavex({"-d", "-v"}, failing);
    EXPECT_EQ(failed.err, ROTAVEX_PATH ": XInitThreads() failure.\n");
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(failed.exit_status, 1);
    EXPECT_EQ(read_and_remove(log), "XInitThreads\n");
}

} // namespace
