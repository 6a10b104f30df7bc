#include "window/gl_window.h"

#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int window_x = 0;
constexpr int window_y = 0;
constexpr int window_width = 300;
constexpr int window_height = 300;

[[noreturn]] void fail(const char* message)
{
    std::fprintf(stderr, "%s: Error: %s\n", program_name, message);
    std::exit(1);
}

} // namespace

gl_window open_gl_window(const run_settings& settings)
{
    Display* display = XOpenDisplay(settings.display_name);
    if (!display) {
        // Without -display, name what Xlib fell back to (DISPLAY, or nothing).
        const char* name = settings.display_name ? settings.display_name : XDisplayName(nullptr);
        std::fprintf(stderr, "%s: Error: couldn't open display '%s'\n", program_name, name);
        std::exit(1);
    }
    Screen* screen = XDefaultScreenOfDisplay(display);

    if (settings.verbose)
        std::printf("Window x=%d, y=%d, width=%d, height=%d\n", window_x, window_y, window_width,
                    window_height);

    const int screen_number = XScreenNumberOfScreen(screen);
    const Window root = XRootWindow(display, screen_number);

    // At least one bit each of red, green, blue and depth; no alpha or stencil.
    // clang-format off
    int visual_attributes[] = {GLX_RGBA,
                               GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1,
                               GLX_DOUBLEBUFFER,
                               GLX_DEPTH_SIZE, 1,
                               None};
    // clang-format on
    XVisualInfo* visual = glXChooseVisual(display, screen_number, visual_attributes);
    if (!visual)
        fail("couldn't get an RGB, Double-buffered visual.");

    XSetWindowAttributes attributes;
    attributes.background_pixel = 0;
    attributes.border_pixel = 0;
    attributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    attributes.event_mask = StructureNotifyMask | ExposureMask | KeyPressMask;
    const unsigned long value_mask = CWBackPixel | CWBorderPixel | CWEventMask | CWColormap;
    const Window window = XCreateWindow(display, root, window_x, window_y, window_width, window_height, 0,
                                        visual->depth, InputOutput, visual->visual, value_mask, &attributes);

    XSizeHints hints{};
    hints.flags = USPosition | USSize;
    hints.x = window_x;
    hints.y = window_y;
    hints.width = window_width;
    hints.height = window_height;
    XSetNormalHints(display, window, &hints);
    XSetStandardProperties(display, window, "rotavex", "rotavex", None, nullptr, 0, &hints);

    const GLXContext context = glXCreateContext(display, visual, nullptr, True);
    if (!context)
        fail("glXCreateContext failed.");
    XFree(visual);

    XMapWindow(display, window);
    glXMakeCurrent(display, window, context);

    // Preset to 0 so that a query that fills nothing fails the check below.
    GLint max_viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, max_viewport);
    if (settings.print_info)
        std::printf("GL_MAX_VIEWPORT_DIMS=%d/%d\n", max_viewport[0], max_viewport[1]);
    if (max_viewport[0] < window_width || max_viewport[1] < window_height) {
        std::fprintf(stderr,
                     "%s: Error: Requested window size (%d/%d) larger than maximum supported by GL "
                     "engine (%d/%d).\n",
                     program_name, window_width, window_height, max_viewport[0], max_viewport[1]);
        std::exit(1);
    }
    return gl_window{display, window, context};
}
