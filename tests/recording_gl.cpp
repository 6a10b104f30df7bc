#include "recording_gl.h"

#include <cstdio>

std::vector<gl_call> recorded_calls;
std::map<GLenum, const char*> gl_string_answers;

namespace {

GLuint next_list = 1;

void record(const char* name, std::vector<double> args = {})
{
    recorded_calls.push_back({name, std::move(args)});
}

std::vector<double> four(const GLfloat* values)
{
    return {values[0], values[1], values[2], values[3]};
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

void glShadeModel(GLenum mode)
{
    record("glShadeModel", {double(mode)});
}
void glNormal3f(GLfloat x, GLfloat y, GLfloat z)
{
    record("glNormal3f", {x, y, z});
}
void glBegin(GLenum mode)
{
    record("glBegin", {double(mode)});
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    record("glVertex3f", {x, y, z});
}
void glEnd()
{
    record("glEnd");
}
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    record("glViewport", {double(x), double(y), double(width), double(height)});
}
void glMatrixMode(GLenum mode)
{
    record("glMatrixMode", {double(mode)});
}
void glLoadIdentity()
{
    record("glLoadIdentity");
}
void glFrustum(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble near_val,
               GLdouble far_val)
{
    record("glFrustum", {left, right, bottom, top, near_val, far_val});
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    record("glTranslatef", {x, y, z});
}
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z)
{
    record("glRotatef", {angle, x, y, z});
}
void glPushMatrix()
{
    record("glPushMatrix");
}
void glPopMatrix()
{
    record("glPopMatrix");
}
void glClear(GLbitfield mask)
{
    record("glClear", {double(mask)});
}
void glEnable(GLenum capability)
{
    record("glEnable", {double(capability)});
}
void glLightfv(GLenum light, GLenum name, const GLfloat* values)
{
    std::vector<double> args{double(light), double(name)};
    for (double v : four(values))
        args.push_back(v);
    record("glLightfv", args);
}
void glMaterialfv(GLenum face, GLenum name, const GLfloat* values)
{
    std::vector<double> args{double(face), double(name)};
    for (double v : four(values))
        args.push_back(v);
    record("glMaterialfv", args);
}
GLuint glGenLists(GLsizei range)
{
    record("glGenLists", {double(range)});
    const GLuint first = next_list;
    next_list += static_cast<GLuint>(range);
    return first;
}
void glNewList(GLuint list, GLenum mode)
{
    record("glNewList", {double(list), double(mode)});
}
void glEndList()
{
    record("glEndList");
}
void glCallList(GLuint list)
{
    record("glCallList", {double(list)});
}
const GLubyte* glGetString(GLenum name)
{
    record("glGetString", {double(name)});
    const auto answer = gl_string_answers.find(name);
    return reinterpret_cast<const GLubyte*>(answer == gl_string_answers.end() ? nullptr : answer->second);
}
