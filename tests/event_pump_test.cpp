// One pass of the real frame loop on a private X display, with the scene's GL
// calls and the buffer swap recorded instead of drawn: what each queued event
// does before the frame, and that the frame is shown once it is drawn.
// GoogleTest first: Xlib's macros (None, Bool, Status) would break its headers.
#include <gtest/gtest.h>

#include "capture.h"
#include "loop/frame_loop.h"
#include "recording_gl.h"

void glXSwapBuffers(Display*, GLXDrawable drawable)
{
    recorded_calls.push_back({"glXSwapBuffers", {double(drawable)}});
}

namespace {

TEST(EventPump, QueuedEventsAreHandledInOrderThenOneFrameIsDrawnAndShown)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr) << "DISPLAY=" << XDisplayName(nullptr);
    const Window window = XCreateSimpleWindow(display, XDefaultRootWindow(display), 0, 0, 300, 300, 0, 0, 0);
    const std::string swap = "glXSwapBuffers(" + std::to_string(window) + ")";
    for (const bool verbose : {true, false}) {
        // Put back at the head of the queue, so the last one put back comes out first.
        // Each as a configure event 400 wide and 200 high; the other two have their window where it has.
        for (const int type : {KeyPress, Expose, ConfigureNotify}) {
            XEvent event{};
            event.xconfigure = {type, 0, False, display, window, window, 0, 0, 400, 200, 0, None, False};
            XPutBackEvent(display, &event);
        }
        run_settings settings;
        settings.verbose = verbose;
        frame_clock clock{};
        clock.start_time = read_clock();
        reset_recording();
        const gl_window shown{display, window, nullptr};
        bool ended = true;
        // The streams handed over crossed: a line written to stdout itself, not to the stream given, shows.
        const captured output = capture([&] { ended = run_frame(shown, settings, clock, stderr, stdout); });
        EXPECT_FALSE(ended);
        // The event lines are all that either stream gets.
        EXPECT_EQ(output.err, verbose ? "Event: ConfigureNotify\nEvent: Expose\n" : "");
        EXPECT_EQ(output.out, "");
        EXPECT_EQ(XPending(display), 0);
        // 400 wide, 200 high: the height spans -1 to 1, the width -2 to 2.
        const std::vector<std::string> reshape_then_clear = {
            "glViewport(0, 0, 400, 200)",     "glMatrixMode(5889)", "glLoadIdentity()",
            "glFrustum(-2, 2, -1, 1, 5, 60)", "glMatrixMode(5888)", "glLoadIdentity()",
            "glTranslatef(0, 0, -40)",        "glClear(16640)"};
        const std::vector<std::string> calls = describe_all(recorded_calls);
        // One reshape of 7 calls, the frame's 21 from glClear on, then the swap.
        ASSERT_EQ(calls.size(), 7 + 21 + 1) << testing::PrintToString(calls);
        EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 8), reshape_then_clear);
        EXPECT_EQ(calls.back(), swap);
    }
}

} // namespace
