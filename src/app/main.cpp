// The entry routine: reads the command line, then hands over to the window,
// the scene and the frame loop, in that order, on the process's one thread.
#include "app/run_settings.h"
#include "scene/scene.h"
#include "window/gl_window.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    program_name = argv[0];
    const run_settings settings = parse_command_line(argc, argv);

    // Only once the whole command line is accepted, and before any other Xlib call.
    if (settings.use_threadsafe_x && XInitThreads() == 0) {
        std::fprintf(stderr, "%s: XInitThreads() failure.\n", program_name);
        std::exit(1);
    }

    open_gl_window(settings);
    init_scene(settings);
    return 0;
}
