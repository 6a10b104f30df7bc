// The floor that rotavex's memory and start-up are set beside: the same
// window, visual and direct context (opened by rotavex's own code), and the
// same lit GL state, but one small lit triangle a frame instead of the wheels,
// drawn for the given seconds. What rotavex needs beyond this is its own, or
// its scene's; what this needs too is the display's and the driver's.
//
//   bare_program SECONDS
//
// Prints "startup_ms MS", from before the display is opened until the first
// frame is drawn, shown and finished, and "fps FPS" over the run.
#include "app/run_settings.h"
#include "window/gl_window.h"

#include <sched.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

using wall_clock = std::chrono::steady_clock;

// rotavex's projection, light and switches; one material.
void set_lit_state()
{
    const GLfloat light_position[] = {5.0f, 5.0f, 10.0f, 0.0f};
    const GLfloat red[] = {0.8f, 0.1f, 0.0f, 1.0f};
    glViewport(0, 0, 300, 300);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1.0, 1.0, -1.0, 1.0, 5.0, 60.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -40.0f);
    glLightfv(GL_LIGHT0, GL_POSITION, light_position);
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_NORMALIZE);
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, red);
}

void draw_frame(const gl_window& window)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBegin(GL_TRIANGLES);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glVertex3f(-1.0f, -1.0f, 0.0f);
    glVertex3f(1.0f, -1.0f, 0.0f);
    glVertex3f(0.0f, 1.0f, 0.0f);
    glEnd();
    glXSwapBuffers(window.display, window.window);
}

} // namespace

int main(int argc, char* argv[])
{
    program_name = argv[0];
    char* end = nullptr;
    const double seconds = argc == 2 ? std::strtod(argv[1], &end) : 0.0;
    if (argc != 2 || *end != '\0' || !(seconds > 0.0)) {
        std::fprintf(stderr, "usage: %s SECONDS\n", argv[0]);
        return 2;
    }

    const auto start = wall_clock::now();
    const gl_window window = open_gl_window(run_settings{});
    set_lit_state();
    draw_frame(window);
    glFinish();
    const std::chrono::duration<double, std::milli> startup = wall_clock::now() - start;

    long frames = 0;
    const auto run_start = wall_clock::now();
    std::chrono::duration<double> elapsed{};
    do {
        sched_yield();
        draw_frame(window);
        ++frames;
        elapsed = wall_clock::now() - run_start;
    } while (elapsed.count() < seconds);
    std::printf("startup_ms %.1f\nfps %.1f\n", startup.count(),
                static_cast<double>(frames) / elapsed.count());
    return std::fflush(stdout) == 0 ? 0 : 1;
}
