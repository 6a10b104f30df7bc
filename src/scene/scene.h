// The scene: emits the toothed wheels, sets up projection, light and
// materials, compiles the wheels into display lists and draws one frame.
// It speaks only GL; the window and the frame loop are elsewhere.
#pragma once

#include "app/run_settings.h"

#include <GL/gl.h>

// Emits one wheel, centred on the origin with its axis along z, as
// immediate-mode GL calls; meant to be recorded into a display list.
void build_toothed_wheel(GLint teeth, GLfloat inner_radius, GLfloat outer_radius, GLfloat width);

// Needs the context current. Leaves GL_MODELVIEW current with the viewing
// translation alone on the modelview stack, as reshape_view does.
void init_scene(const run_settings& settings);
void reshape_view(int width, int height);
void draw_scene(GLfloat angle_deg);
