// Projection, light, materials, the three wheels' display lists, and one frame.
#include "scene/scene.h"

#include <cstdio>

namespace {

struct palette {
    GLfloat light_position[4];
    GLfloat red[4];
    GLfloat green[4];
    GLfloat blue[4];
};

const palette scene_palette = {
    {5.0f, 5.0f, 10.0f, 0.0f}, // directional: w = 0
    {0.8f, 0.1f, 0.0f, 1.0f},
    {0.0f, 0.8f, 0.2f, 1.0f},
    {0.2f, 0.2f, 1.0f, 1.0f},
};

GLuint wheel_lists[3]; // wheels 1, 2, 3; compiled once by init_scene

constexpr GLdouble near_plane = 5.0;
constexpr GLdouble far_plane = 60.0;
constexpr GLfloat view_distance = -40.0f;

void print_gl_string(const char* format, GLenum name)
{
    const GLubyte* text = glGetString(name);
    std::printf(format, text ? reinterpret_cast<const char*>(text) : "");
}

void compile_wheel(GLuint& list, const GLfloat* colour, GLint teeth, GLfloat inner_radius,
                   GLfloat outer_radius, GLfloat width)
{
    list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, colour);
    build_toothed_wheel(teeth, inner_radius, outer_radius, width);
    glEndList();
}

void draw_wheel(GLuint list, GLfloat x, GLfloat y, GLfloat angle_deg)
{
    glPushMatrix();
    glTranslatef(x, y, 0.0f);
    glRotatef(angle_deg, 0.0f, 0.0f, 1.0f);
    glCallList(list);
    glPopMatrix();
}

} // namespace

void init_scene(const run_settings& settings)
{
    reshape_view(300, 300);

    if (settings.print_info) {
        print_gl_string("GL_RENDERER   = %s\n", GL_RENDERER);
        print_gl_string("GL_VERSION    = %s\n", GL_VERSION);
        print_gl_string("GL_VENDOR     = %s\n", GL_VENDOR);
        print_gl_string("GL_EXTENSIONS = %s\n", GL_EXTENSIONS);
    }

    // Given once under the viewing translation alone, so the light stays
    // fixed to the viewer while the wheels turn beneath it.
    glLightfv(GL_LIGHT0, GL_POSITION, scene_palette.light_position);
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);

    compile_wheel(wheel_lists[0], scene_palette.red, 20, 1.0f, 4.0f, 1.0f);
    compile_wheel(wheel_lists[1], scene_palette.green, 10, 0.5f, 2.0f, 2.0f);
    compile_wheel(wheel_lists[2], scene_palette.blue, 10, 1.3f, 2.0f, 0.5f);

    // The falling-flank normals are not of unit length.
    glEnable(GL_NORMALIZE);
}

void reshape_view(int width, int height)
{
    // The server never reports a size below 1; treating one as 1 keeps an
    // infinite or NaN ratio away from glFrustum all the same.
    if (width < 1)
        width = 1;
    if (height < 1)
        height = 1;
    const GLfloat ratio = static_cast<GLfloat>(height) / static_cast<GLfloat>(width);

    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The shorter side always spans -1 to 1 at the near plane.
    if (ratio >= 1.0f) {
        glFrustum(-1.0, 1.0, -ratio, ratio, near_plane, far_plane);
    } else {
        const GLdouble wide = static_cast<GLdouble>(ratio);
        glFrustum(-1.0 / wide, 1.0 / wide, -1.0, 1.0, near_plane, far_plane);
    }
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, view_distance);
}

void draw_scene(GLfloat angle_deg)
{
    // Wheels 2 and 3 turn the other way at twice the rate; the doubling and
    // offset are done in double and narrowed once.
    const GLfloat wheel2_deg = static_cast<GLfloat>(-9.0 - 2.0 * static_cast<double>(angle_deg));
    const GLfloat wheel3_deg = static_cast<GLfloat>(-25.0 - 2.0 * static_cast<double>(angle_deg));

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    glRotatef(20.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(0.0f, 0.0f, 0.0f, 1.0f);
    draw_wheel(wheel_lists[0], -3.0f, -2.0f, angle_deg);
    draw_wheel(wheel_lists[1], 3.1f, -2.0f, wheel2_deg);
    draw_wheel(wheel_lists[2], -3.1f, 4.2f, wheel3_deg);
    glPopMatrix();
}
