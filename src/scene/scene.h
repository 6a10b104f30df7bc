// The scene: emits the toothed wheels, sets up projection, light and
// materials, compiles the wheels into display lists and draws one frame.
// It speaks only GL; the window and the frame loop are elsewhere.
#pragma once

#include <GL/gl.h>

// Emits one wheel, centred on the origin with its axis along z, as
// immediate-mode GL calls; meant to be recorded into a display list.
void build_toothed_wheel(GLint teeth, GLfloat inner_radius, GLfloat outer_radius, GLfloat width);
