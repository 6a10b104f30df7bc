#include "recording_gl.h"

#include <cstdio>

std::vector<gl_call> recorded_calls;
std::map<GLenum, const char*> gl_string_answers;

namespace {

GLuint next_list = 1;

template <typename... Args>
void record(const char* name, Args... args)
{
    recorded_calls.push_back({name, {double(args)...}});
}

} // namespace

void reset_recording()
{
    recorded_calls.clear();
    next_list = 1;
}

std::string describe(const gl_call& call)
{
    std::string text = call.name + "(";
    for (size_t i = 0; i < call.args.size(); ++i) {
        char number[64];
        std::snprintf(number, sizeof number, "%.9g", call.args[i]);
        text += (i ? ", " : "") + std::string(number);
    }
    return text + ")";
}

std::vector<std::string> describe_all(const std::vector<gl_call>& calls)
{
    std::vector<std::string> texts;
    for (const gl_call& call : calls)
        texts.push_back(describe(call));
    return texts;
}

std::vector<primitive> primitives_of(const std::vector<gl_call>& calls)
{
    std::vector<primitive> result;
    vec3 normal{0, 0, 1};
    for (const gl_call& call : calls) {
        const std::vector<double>& a = call.args;
        if (call.name == "glNormal3f")
            normal = {a[0], a[1], a[2]};
        else if (call.name == "glBegin")
            result.push_back({static_cast<GLenum>(a[0]), {}});
        else if (call.name == "glVertex3f")
            result.back().vertices.push_back({{a[0], a[1], a[2]}, normal});
    }
    return result;
}

// clang-format off
void glShadeModel(GLenum mode) { record("glShadeModel", mode); }
void glNormal3f(GLfloat x, GLfloat y, GLfloat z) { record("glNormal3f", x, y, z); }
void glBegin(GLenum mode) { record("glBegin", mode); }
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) { record("glVertex3f", x, y, z); }
void glEnd() { record("glEnd"); }
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) { record("glViewport", x, y, width, height); }
void glMatrixMode(GLenum mode) { record("glMatrixMode", mode); }
void glLoadIdentity() { record("glLoadIdentity"); }
void glFrustum(double l, double r, double b, double t, double n, double f) { record("glFrustum", l, r, b, t, n, f); }
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) { record("glTranslatef", x, y, z); }
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) { record("glRotatef", angle, x, y, z); }
void glPushMatrix() { record("glPushMatrix"); }
void glPopMatrix() { record("glPopMatrix"); }
void glClear(GLbitfield mask) { record("glClear", mask); }
void glEnable(GLenum capability) { record("glEnable", capability); }
void glLightfv(GLenum l, GLenum name, const GLfloat* v) { record("glLightfv", l, name, v[0], v[1], v[2], v[3]); }
void glMaterialfv(GLenum f, GLenum name, const GLfloat* v) { record("glMaterialfv", f, name, v[0], v[1], v[2], v[3]); }
void glNewList(GLuint list, GLenum mode) { record("glNewList", list, mode); }
void glEndList() { record("glEndList"); }
void glCallList(GLuint list) { record("glCallList", list); }
GLuint glGenLists(GLsizei range) { record("glGenLists", range); next_list += range; return next_list - range; }
// A name missing from gl_string_answers is added to it, answering null.
const GLubyte* glGetString(GLenum n) { record("glGetString", n); return (const GLubyte*)gl_string_answers[n]; }
// clang-format on
