// A stand-in for libGL in the unit tests: every GL function that the scene
// calls is defined here and records its name and arguments instead of drawing.
#pragma once

#include <GL/gl.h>

#include <map>
#include <string>
#include <vector>

struct gl_call {
    std::string name;
    std::vector<double> args; // pointer arguments are recorded as the values they point to
};

extern std::vector<gl_call> recorded_calls;

// What glGetString answers; a name missing from the map answers null.
extern std::map<GLenum, const char*> gl_string_answers;

// Forgets the calls and restarts display-list names at 1.
void reset_recording();

// A call written out as "name(arg, arg, ...)", floats with every digit they hold.
std::string describe(const gl_call& call);
std::vector<std::string> describe_all(const std::vector<gl_call>& calls);

struct vec3 {
    double x, y, z;
};

struct vertex {
    vec3 position;
    vec3 normal; // current when the vertex was given
};

struct primitive {
    GLenum mode;
    std::vector<vertex> vertices;
};

// The glBegin/glEnd pairs among the calls, in order, each vertex with the normal current at it
// ((0, 0, 1) before any glNormal3f, as in a new GL context).
std::vector<primitive> primitives_of(const std::vector<gl_call>& calls);
