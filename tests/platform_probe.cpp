// Preloaded into rotavex by the end-to-end tests. It forces the viewport
// limit that GL reports (ROTAVEX_PROBE_VIEWPORT="width/height") and logs
// the program's XInitThreads and XOpenDisplay calls, in order, to
// ROTAVEX_PROBE_LOG.
#include <GL/gl.h>
#include <X11/Xlib.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

namespace {

template <typename function>
function next(const char* name)
{
    return reinterpret_cast<function>(dlsym(RTLD_NEXT, name));
}

// Libraries may call XInitThreads while they load; only the program's own
// calls count, and this library's constructor runs just before the program's.
bool program_started = false;
__attribute__((constructor)) void note_program_start()
{
    program_started = true;
}

void log_call(const char* name)
{
    if (!program_started)
        return;
    if (const char* path = std::getenv("ROTAVEX_PROBE_LOG")) {
        if (std::FILE* log = std::fopen(path, "a")) {
            std::fprintf(log, "%s\n", name);
            std::fclose(log);
        }
    }
}

} // namespace

extern "C" {

void glGetIntegerv(GLenum name, GLint* values)
{
    const char* forced = std::getenv("ROTAVEX_PROBE_VIEWPORT");
    int width = 0;
    int height = 0;
    if (name == GL_MAX_VIEWPORT_DIMS && forced && std::sscanf(forced, "%d/%d", &width, &height) == 2) {
        values[0] = width;
        values[1] = height;
        return;
    }
    next<void (*)(GLenum, GLint*)>("glGetIntegerv")(name, values);
}

Status XInitThreads()
{
    log_call("XInitThreads");
    return next<Status (*)()>("XInitThreads")();
}

Display* XOpenDisplay(const char* name)
{
    log_call("XOpenDisplay");
    return next<Display* (*)(const char*)>("XOpenDisplay")(name);
}
}
