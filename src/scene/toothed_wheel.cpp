// The toothed-wheel mesh. Singles and doubles are mixed on purpose: each
// value is rounded exactly where the code says, so that the geometry comes
// out the same bit for bit on every build.
#include "scene/scene.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr double pi = 3.14159265358979323846;

// A point at radius r and angle theta, before its rounding to single: the
// flank normals are built from these unrounded products.
struct wheel_point {
    double x;
    double y;
};

wheel_point at(GLfloat radius, double angle)
{
    return {std::cos(angle) * static_cast<double>(radius), std::sin(angle) * static_cast<double>(radius)};
}

void vertex(wheel_point p, GLfloat z)
{
    glVertex3f(static_cast<GLfloat>(p.x), static_cast<GLfloat>(p.y), z);
}

// Computed afresh from i each time, never by summing the pitch, so the last
// pass lands on 2*pi rounded to single, not on an accumulated drift.
GLfloat tooth_angle(std::int64_t i, GLint teeth)
{
    return static_cast<GLfloat>(static_cast<double>(2 * i) * pi / static_cast<double>(teeth));
}

void radial_normal(double angle)
{
    glNormal3f(static_cast<GLfloat>(std::cos(angle)), static_cast<GLfloat>(std::sin(angle)), 0.0f);
}

} // namespace

void build_toothed_wheel(GLint teeth, GLfloat inner_radius, GLfloat outer_radius, GLfloat width)
{
    const GLfloat root_radius = outer_radius + -0.35f;
    const GLfloat tip_radius = outer_radius + 0.35f;
    const GLfloat step_angle = static_cast<GLfloat>(2.0 * pi / static_cast<double>(teeth) * 0.25);
    const GLfloat half_width = 0.5f * width;
    const GLfloat back_z = -0.5f * width;
    const GLfloat s = step_angle;
    const GLfloat two_s = s + s;
    const GLfloat three_s = 3.0f * s;

    glShadeModel(GL_FLAT);

    glNormal3f(0.0f, 0.0f, 1.0f);
    glBegin(GL_QUAD_STRIP);
    for (std::int64_t i = 0; i <= teeth; ++i) {
        const GLfloat a = tooth_angle(i, teeth);
        const wheel_point hole = at(inner_radius, a);
        vertex(hole, half_width);
        vertex(at(root_radius, a), half_width);
        if (i < teeth) {
            vertex(hole, half_width);
            vertex(at(root_radius, a + three_s), half_width);
        }
    }
    glEnd();

    glBegin(GL_QUADS);
    for (std::int64_t i = 0; i < teeth; ++i) {
        const GLfloat a = tooth_angle(i, teeth);
        vertex(at(root_radius, a), half_width);
        vertex(at(tip_radius, a + s), half_width);
        vertex(at(tip_radius, a + two_s), half_width);
        vertex(at(root_radius, a + three_s), half_width);
    }
    glEnd();

    glNormal3f(0.0f, 0.0f, -1.0f);
    glBegin(GL_QUAD_STRIP);
    for (std::int64_t i = 0; i <= teeth; ++i) {
        const GLfloat a = tooth_angle(i, teeth);
        const wheel_point hole = at(inner_radius, a);
        vertex(at(root_radius, a), back_z);
        vertex(hole, back_z);
        if (i < teeth) {
            vertex(at(root_radius, a + three_s), back_z);
            vertex(hole, back_z);
        }
    }
    glEnd();

    glBegin(GL_QUADS);
    for (std::int64_t i = 0; i < teeth; ++i) {
        const GLfloat a = tooth_angle(i, teeth);
        vertex(at(root_radius, a + three_s), back_z);
        vertex(at(tip_radius, a + two_s), back_z);
        vertex(at(tip_radius, a + s), back_z);
        vertex(at(root_radius, a), back_z);
    }
    glEnd();

    // Outer surface. Each normal stands just before the pair that completes
    // its face, since flat shading takes the normal at a quad's last vertex.
    glBegin(GL_QUAD_STRIP);
    for (std::int64_t i = 0; i < teeth; ++i) {
        const GLfloat a = tooth_angle(i, teeth);
        const wheel_point p0 = at(root_radius, a);
        const wheel_point p1 = at(tip_radius, a + s);
        const wheel_point p2 = at(tip_radius, a + two_s);
        const wheel_point p3 = at(root_radius, a + three_s);

        vertex(p0, half_width);
        vertex(p0, back_z);
        const GLfloat u = static_cast<GLfloat>(p1.x - p0.x);
        const GLfloat v = static_cast<GLfloat>(p1.y - p0.y);
        const GLfloat length = std::sqrt(u * u + v * v);
        glNormal3f(v / length, -u / length, 0.0f);
        vertex(p1, half_width);
        vertex(p1, back_z);
        radial_normal(static_cast<double>(a) + 1.5 * static_cast<double>(s));
        vertex(p2, half_width);
        vertex(p2, back_z);
        // Left unnormalised: GL_NORMALIZE, enabled by the scene, scales it.
        const GLfloat fall_u = static_cast<GLfloat>(p3.x - p2.x);
        const GLfloat fall_v = static_cast<GLfloat>(p3.y - p2.y);
        glNormal3f(fall_v, -fall_u, 0.0f);
        vertex(p3, half_width);
        vertex(p3, back_z);
        radial_normal(static_cast<double>(a) + 3.5 * static_cast<double>(s));
    }
    // Closes the ring exactly on the x axis rather than at 2*pi in single.
    glVertex3f(root_radius, 0.0f * root_radius, half_width);
    glVertex3f(root_radius, 0.0f * root_radius, back_z);
    glEnd();

    glShadeModel(GL_SMOOTH);

    glBegin(GL_QUAD_STRIP);
    for (std::int64_t i = 0; i <= teeth; ++i) {
        const GLfloat a = tooth_angle(i, teeth);
        glNormal3f(-static_cast<GLfloat>(std::cos(static_cast<double>(a))),
                   -static_cast<GLfloat>(std::sin(static_cast<double>(a))), 0.0f);
        const wheel_point hole = at(inner_radius, a);
        vertex(hole, back_z);
        vertex(hole, half_width);
    }
    glEnd();
}
