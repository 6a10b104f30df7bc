// The entry routine: reads the command line, then hands over to the window,
// the scene and the frame loop, in that order, on the process's one thread.
#include "app/run_settings.h"
#include "loop/frame_loop.h"
#include "scene/scene.h"
#include "window/gl_window.h"

#include <X11/Xlib.h>
#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace {

// A harness may start the program with a standard stream closed. The X
// connection opened later would then take that number, and the lines meant
// for the stream would go into the X protocol. Each closed one is given
// /dev/null instead; open takes the lowest free number, which is the one
// missing, since those below it are open by now.
void fill_closed_standard_streams()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        if (open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd)
            std::_Exit(1); // no safe stream left, and nowhere to say so
    }
}

} // namespace

int main(int argc, char* argv[])
{
    fill_closed_standard_streams();

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
