// X11 window and GLX context: opens the display, creates the 300 x 300 window
// with a direct GLX context current on it, and checks the viewport limit.
// Everything made here lives until the process exits.
#pragma once

#include "app/run_settings.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

struct gl_window {
    Display* display;
    Window window;
    GLXContext context;
};

// Returns only on success; each failure writes its line to standard error
// and exits with status 1.
gl_window open_gl_window(const run_settings& settings);
