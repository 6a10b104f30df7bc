// The entry routine: reads the command line, then hands over to the window,
// the scene and the frame loop, in that order, on the process's one thread.
#include "app/run_settings.h"
#include "loop/frame_loop.h"
#include "scene/scene.h"
#include "window/gl_window.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    // Line by line, so that a harness reading a pipe sees each report as it
    // is made and a run ended from outside loses nothing it printed.
    std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);

    program_name = argv[0];
    const run_settings settings = parse_command_line(argc, argv);

    // Only once the whole command line is accepted, and before any other Xlib call.
    if (settings.use_threadsafe_x && XInitThreads() == 0) {
        std::fprintf(stderr, "%s: XInitThreads() failure.\n", program_name);
        std::exit(1);
    }

    const gl_window window = open_gl_window(settings);
    init_scene(settings);
    run_frame_loop(window, settings);
}
