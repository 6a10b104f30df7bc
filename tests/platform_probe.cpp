// Preloaded into rotavex by the end-to-end tests. It forces the viewport
// limit that GL reports (ROTAVEX_PROBE_VIEWPORT="width/height") and a failing
// XInitThreads (ROTAVEX_PROBE_XINITTHREADS=0), and logs the program's
// XInitThreads, XOpenDisplay, glXChooseVisual and XCreateWindow calls, in
// order and with the arguments that matter, to ROTAVEX_PROBE_LOG; at a normal
// exit it adds how often the program swapped buffers and yielded.
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <link.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

template <typename function>
function next(const char* name)
{
    return reinterpret_cast<function>(dlsym(RTLD_NEXT, name));
}

// The loader reports the main program first, on Linux and FreeBSD alike.
int note_first_object(dl_phdr_info* info, size_t, void* headers)
{
    *static_cast<const void**>(headers) = info->dlpi_phdr;
    return 1;
}

const void* program_base()
{
    static const void* const base = [] {
        const void* headers = nullptr;
        dl_iterate_phdr(note_first_object, &headers);
        Dl_info program{};
        return dladdr(headers, &program) != 0 ? program.dli_fbase : nullptr;
    }();
    return base;
}

// Libraries call XInitThreads too, some while they load; a call counts only
// when it returns into the main program.
bool called_by_program(const void* return_address)
{
    Dl_info caller{};
    return dladdr(return_address, &caller) != 0 && caller.dli_fbase == program_base();
}

void append_to_log(const std::string& text)
{
    const char* path = std::getenv("ROTAVEX_PROBE_LOG");
    if (std::FILE* log = path ? std::fopen(path, "a") : nullptr) {
        std::fputs(text.c_str(), log);
        std::fclose(log);
    }
}

void log_call(const void* return_address, const std::string& line)
{
    if (called_by_program(return_address))
        append_to_log(line + "\n");
}

// Per-frame calls are only counted, and the counts written once as the
// process ends, so that the probe does not slow the frames it counts.
long swaps = 0, yields = 0;

__attribute__((destructor)) void log_frame_counts()
{
    if (swaps > 0 || yields > 0)
        append_to_log("glXSwapBuffers " + std::to_string(swaps) + "\nsched_yield " + std::to_string(yields) +
                      "\n");
}

} // namespace

extern "C" {

void glGetIntegerv(GLenum name, GLint* values)
{
    const char* forced = std::getenv("ROTAVEX_PROBE_VIEWPORT");
    int width = 0, height = 0;
    if (name == GL_MAX_VIEWPORT_DIMS && forced && std::sscanf(forced, "%d/%d", &width, &height) == 2) {
        values[0] = width;
        values[1] = height;
        return;
    }
    next<void (*)(GLenum, GLint*)>("glGetIntegerv")(name, values);
}

Status XInitThreads()
{
    const void* caller = __builtin_return_address(0);
    log_call(caller, "XInitThreads");
    const char* forced = std::getenv("ROTAVEX_PROBE_XINITTHREADS");
    if (forced && std::strcmp(forced, "0") == 0 && called_by_program(caller))
        return 0;
    return next<Status (*)()>("XInitThreads")();
}

Display* XOpenDisplay(const char* name)
{
    log_call(__builtin_return_address(0), "XOpenDisplay");
    return next<Display* (*)(const char*)>("XOpenDisplay")(name);
}

// The list as numbers, up to the None that ends it.
XVisualInfo* glXChooseVisual(Display* display, int screen, int* attributes)
{
    std::string line = "glXChooseVisual";
    const int* entry = attributes;
    do
        line += " " + std::to_string(*entry);
    while (*entry++ != None);
    log_call(__builtin_return_address(0), line);
    return next<decltype(&glXChooseVisual)>("glXChooseVisual")(display, screen, attributes);
}

// The value mask, then the event mask of the attributes.
Window XCreateWindow(Display* display, Window parent, int x, int y, unsigned int width, unsigned int height,
                     unsigned int border_width, int depth, unsigned int window_class, Visual* visual,
                     unsigned long value_mask, XSetWindowAttributes* attributes)
{
    char line[64];
    std::snprintf(line, sizeof line, "XCreateWindow 0x%lx 0x%lx", value_mask,
                  static_cast<unsigned long>(attributes->event_mask));
    log_call(__builtin_return_address(0), line);
    return next<decltype(&XCreateWindow)>("XCreateWindow")(display, parent, x, y, width, height, border_width,
                                                           depth, window_class, visual, value_mask,
                                                           attributes);
}

void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    static const auto swap = next<decltype(&glXSwapBuffers)>("glXSwapBuffers");
    swaps += called_by_program(__builtin_return_address(0));
    swap(display, drawable);
}

int sched_yield()
{
    static const auto yield = next<int (*)()>("sched_yield");
    yields += called_by_program(__builtin_return_address(0));
    return yield();
}
}
