// The window and its context, on a private Xvfb.
#include <gtest/gtest.h>

#include "process.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

const std::string window_line = "Window x=0, y=0, width=300, height=300\n";
const std::string probe = "LD_PRELOAD=" ROTAVEX_TEST_LIBRARY;

// A viewport limit of exactly the window's size passes.
TEST(Window, NamedSizedAndHintedAsAskedWithAViewportLimitOfItsSize)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    child_process rotavex;
    const Window window =
        start_with_window(rotavex, {ROTAVEX_PATH, "-v"}, display, {probe, "ROTAVEX_PROBE_VIEWPORT=300/300"});
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
    // The line after GL_RENDERER's: that one is whole.
    EXPECT_TRUE(wait_for_output(rotavex, "GL_VERSION"));
    stop_process(rotavex);
    EXPECT_EQ(rotavex.out.rfind(window_line + "GL_MAX_VIEWPORT_DIMS=300/300\nGL_RENDERER   = ", 0), 0u)
        << rotavex.out;
    EXPECT_EQ(rotavex.err, "");
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

// Runs that end at start-up: the probe forces the viewport limit below the
// window, or XInitThreads to fail, and logs the start-up calls made, in order.
TEST(Window, StartUpCallsInOrderAndEachStartUpFailure)
{
    // GLX_RGBA, RED 1, GREEN 1, BLUE 1, DOUBLEBUFFER, DEPTH 1, None; then
    // CWBackPixel|CWBorderPixel|CWEventMask|CWColormap and
    // StructureNotifyMask|ExposureMask|KeyPressMask.
    const std::string window_calls =
        "XOpenDisplay\nglXChooseVisual 4 8 1 9 1 10 1 5 12 1 0\nXCreateWindow 0x280a 0x28001\n";
    const auto too_small = [](const std::string& limit) {
        return ROTAVEX_PATH ": Error: Requested window size (300/300) larger than maximum supported by GL "
                            "engine (" +
               limit + ").\n";
    };
    const struct {
        std::vector<std::string> args;
        std::string forced, calls, out, err; // err "": the command-line table's text
    } runs[] = {
        {{"-info"}, "VIEWPORT=299/300", window_calls, "GL_MAX_VIEWPORT_DIMS=299/300\n", too_small("299/300")},
        {{"-info"}, "VIEWPORT=300/299", window_calls, "GL_MAX_VIEWPORT_DIMS=300/299\n", too_small("300/299")},
        // Without -info or -v the failure comes alone.
        {{}, "VIEWPORT=0/0", window_calls, "", too_small("0/0")},
        {{"-d", "-debug_use_threadsafe_api", "-v"},
         "VIEWPORT=0/0",
         "XInitThreads\n" + window_calls,
         window_line + "GL_MAX_VIEWPORT_DIMS=0/0\n",
         too_small("0/0")},
        {{"-debug"}, "VIEWPORT=0/0", "XInitThreads\n" + window_calls, "", too_small("0/0")},
        {{"-d", "-v"}, "XINITTHREADS=0", "XInitThreads\n", "", ROTAVEX_PATH ": XInitThreads() failure.\n"},
        // Refused before anything of X is touched.
        {{"-debug_use_threadsafe_api", "-zzz"}, "XINITTHREADS=0", "", "", ""},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(testing::PrintToString(run.args) + " " + run.forced);
        const std::string log = new_probe_log();
        const run_result result =
            run_rotavex(run.args, {probe, "ROTAVEX_PROBE_LOG=" + log, "ROTAVEX_PROBE_" + run.forced});
        EXPECT_EQ(read_and_remove(log), run.calls);
        EXPECT_EQ(result.out, run.out);
        if (!run.err.empty()) {
            EXPECT_EQ(result.err, run.err);
        }
        EXPECT_EQ(result.exit_status, 1);
    }
}

} // namespace
