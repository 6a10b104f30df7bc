// The window and its context, on a private Xvfb.
#include "process.h"
#include "x_tools.h"

#include <gtest/gtest.h>

namespace {

const std::string window_line = "Window x=0, y=0, width=300, height=300\n";

std::string probe_env()
{
    return "LD_PRELOAD=" + test_library_path();
}

bool has_line(const child_process& child, const std::string& prefix)
{
    return contains(child.out, prefix) && child.out.find('\n', child.out.find(prefix)) != std::string::npos;
}

TEST(Window, NamedSizedAndHintedAsAsked)
{
    child_process rotavex;
    start_process(rotavex, {rotavex_path()});
    const std::string id = wait_for_rotavex_window();
    ASSERT_NE(id, "") << rotavex.err;
    const std::string geometry = tool_output({XWININFO_PATH, "-id", id});
    EXPECT_TRUE(contains(geometry, "Absolute upper-left X:  0\n")) << geometry;
    EXPECT_TRUE(contains(geometry, "Absolute upper-left Y:  0\n")) << geometry;
    EXPECT_TRUE(contains(geometry, "Width: 300\n")) << geometry;
    EXPECT_TRUE(contains(geometry, "Height: 300\n")) << geometry;
    EXPECT_TRUE(contains(geometry, "Border width: 0\n")) << geometry;
    EXPECT_TRUE(contains(geometry, "Map State: IsViewable\n")) << geometry;
    const std::string properties =
        tool_output({XPROP_PATH, "-id", id, "WM_NAME", "WM_ICON_NAME", "WM_NORMAL_HINTS"});
    EXPECT_TRUE(contains(properties, "WM_NAME(STRING) = \"rotavex\"\n")) << properties;
    EXPECT_TRUE(contains(properties, "WM_ICON_NAME(STRING) = \"rotavex\"\n")) << properties;
    EXPECT_TRUE(contains(properties, "user specified location: 0, 0\n")) << properties;
    EXPECT_TRUE(contains(properties, "user specified size: 300 by 300\n")) << properties;
    EXPECT_FALSE(contains(properties, "minimum size")) << properties;
    stop_process(rotavex);
}

TEST(Window, ServerWithoutGlxIsFailureTwo)
{
    child_process server;
    const std::string display =
        start_private_server(server, {"-extension", "GLX", "-screen", "0", "640x480x24"});
    ASSERT_NE(display, "") << server.err;
    const run_result result = run_rotavex({"-display", display, "-v"}, {}, 60);
    stop_process(server);
    EXPECT_EQ(result.out, window_line);
    // Xlib may say first that the extension is missing; the program's line ends it.
    const std::string line = rotavex_path() + ": Error: couldn't get an RGB, Double-buffered visual.\n";
    ASSERT_GE(result.err.size(), line.size());
    EXPECT_EQ(result.err.substr(result.err.size() - line.size()), line) << result.err;
    EXPECT_EQ(result.exit_status, 1);
}

TEST(Window, ViewportLimitBelowTheWindowIsFailureFour)
{
    for (const std::string forced : {"299/300", "300/299", "0/0"}) {
        const run_result result = run_rotavex({"-info"}, {probe_env(), "ROTAVEX_PROBE_VIEWPORT=" + forced});
        EXPECT_EQ(result.out, "GL_MAX_VIEWPORT_DIMS=" + forced + "\n");
        EXPECT_EQ(result.err,
                  rotavex_path() +
                      ": Error: Requested window size (300/300) larger than maximum supported by GL "
                      "engine (" +
                      forced + ").\n");
        EXPECT_EQ(result.exit_status, 1);
    }
    // Without -info or -v the failure comes alone.
    const run_result quiet = run_rotavex({}, {probe_env(), "ROTAVEX_PROBE_VIEWPORT=299/299"});
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(quiet.exit_status, 1);
}

TEST(Window, StartUpCallsInOrderAndAViewportLimitOfExactlyTheWindowPasses)
{
    const std::string log = new_probe_log();
    const std::vector<std::string> env{probe_env(), "ROTAVEX_PROBE_LOG=" + log,
                                       "ROTAVEX_PROBE_VIEWPORT=300/300"};
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
        std::vector<std::string> args{rotavex_path()};
        args.insert(args.end(), run.args.begin(), run.args.end());
        args.push_back("-v");
        child_process rotavex;
        start_process(rotavex, args, env);
        read_until(rotavex, 30, [&] { return has_line(rotavex, "GL_RENDERER"); });
        stop_process(rotavex);
        EXPECT_EQ(read_and_remove(log), run.calls) << testing::PrintToString(run.args);
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
    EXPECT_EQ(failed.err, rotavex_path() + ": XInitThreads() failure.\n");
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(failed.exit_status, 1);
    EXPECT_EQ(read_and_remove(log), "XInitThreads\n");
}

} // namespace
