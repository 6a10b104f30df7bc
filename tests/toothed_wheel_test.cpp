// The wheel mesh, read back from the recorded GL calls.
#include "recording_gl.h"
#include "scene/scene.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct vec3 {
    double x, y, z;
};

vec3 cross(vec3 a, vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(vec3 a, vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

struct vertex {
    vec3 position;
    vec3 normal; // current when the vertex was given
};

struct primitive {
    GLenum mode;
    std::vector<vertex> vertices;
};

std::vector<gl_call> record_wheel(GLint teeth, GLfloat inner, GLfloat outer, GLfloat width)
{
    reset_recording();
    build_toothed_wheel(teeth, inner, outer, width);
    return recorded_calls;
}

std::vector<primitive> primitives_of(const std::vector<gl_call>& calls)
{
    std::vector<primitive> result;
    vec3 normal{0, 0, 1};
    for (const gl_call& call : calls) {
        if (call.name == "glNormal3f")
            normal = {call.args[0], call.args[1], call.args[2]};
        else if (call.name == "glBegin")
            result.push_back({static_cast<GLenum>(call.args[0]), {}});
        else if (call.name == "glVertex3f")
            result.back().vertices.push_back({{call.args[0], call.args[1], call.args[2]}, normal});
    }
    return result;
}

// The quadrilaterals as GL assembles them, each in its drawing order, with
// the normal that flat shading gives it (the one current at its last vertex).
std::vector<std::vector<vertex>> quads_of(const primitive& p)
{
    std::vector<std::vector<vertex>> quads;
    const auto& v = p.vertices;
    if (p.mode == GL_QUADS) {
        for (size_t i = 0; i + 3 < v.size(); i += 4)
            quads.push_back({v[i], v[i + 1], v[i + 2], v[i + 3]});
    } else {
        for (size_t i = 0; i + 3 < v.size(); i += 2)
            quads.push_back({v[i], v[i + 1], v[i + 3], v[i + 2]});
    }
    return quads;
}

vec3 area_normal(const std::vector<vertex>& quad)
{
    vec3 sum{0, 0, 0};
    for (size_t i = 0; i < quad.size(); ++i) {
        const vec3 c = cross(quad[i].position, quad[(i + 1) % quad.size()].position);
        sum = {sum.x + c.x, sum.y + c.y, sum.z + c.z};
    }
    return sum;
}

void expect_xyz(const gl_call& call, const char* name, double x, double y, double z, double tolerance = 5e-5)
{
    EXPECT_EQ(call.name, name);
    ASSERT_EQ(call.args.size(), 3u);
    EXPECT_NEAR(call.args[0], x, tolerance);
    EXPECT_NEAR(call.args[1], y, tolerance);
    EXPECT_NEAR(call.args[2], z, tolerance);
}

TEST(ToothedWheel, CountsForTheThreeWheels)
{
    struct wheel {
        GLint teeth;
        GLfloat inner, outer, width;
        std::vector<size_t> vertices;
        size_t normals;
    };
    const std::vector<size_t> small{42, 40, 42, 40, 82, 22};
    for (const wheel& w : {wheel{20, 1.0f, 4.0f, 1.0f, {82, 80, 82, 80, 162, 42}, 103},
                           wheel{10, 0.5f, 2.0f, 2.0f, small, 53}, wheel{10, 1.3f, 2.0f, 0.5f, small, 53}}) {
        const auto calls = record_wheel(w.teeth, w.inner, w.outer, w.width);
        std::vector<size_t> vertices;
        for (const primitive& p : primitives_of(calls))
            vertices.push_back(p.vertices.size());
        EXPECT_EQ(vertices, w.vertices);
        size_t normals = 0, shade_models = 0;
        for (const gl_call& call : calls) {
            normals += call.name == "glNormal3f";
            shade_models += call.name == "glShadeModel";
        }
        EXPECT_EQ(normals, w.normals);
        EXPECT_EQ(shade_models, 2u);
        EXPECT_EQ(describe(calls.front()), "glShadeModel(7424)"); // GL_FLAT
    }
}

TEST(ToothedWheel, WheelOneOuterSurfaceValues)
{
    const auto calls = record_wheel(20, 1.0f, 4.0f, 1.0f);
    // The outer surface is the fifth glBegin.
    size_t begins = 0, at = 0;
    while (begins < 5)
        begins += calls[at++].name == "glBegin";
    const gl_call* c = &calls[at];
    expect_xyz(c[0], "glVertex3f", 3.65, 0, 0.5);
    expect_xyz(c[1], "glVertex3f", 3.65, 0, -0.5);
    expect_xyz(c[2], "glNormal3f", 0.4451, -0.8955, 0);
    expect_xyz(c[3], "glVertex3f", 4.3366, 0.3413, 0.5);
    expect_xyz(c[4], "glVertex3f", 4.3366, 0.3413, -0.5);
    expect_xyz(c[5], "glNormal3f", 0.9931, 0.1175, 0);
    expect_xyz(c[6], "glVertex3f", 4.2964, 0.6805, 0.5);
    expect_xyz(c[8], "glNormal3f", 0.1716, 0.7473, 0);
    EXPECT_NEAR(std::hypot(c[8].args[0], c[8].args[1]), 0.767, 5e-4);
    expect_xyz(c[9], "glVertex3f", 3.5492, 0.8521, 0.5);
    expect_xyz(c[11], "glNormal3f", 0.9625, 0.2714, 0);
    // The rising flank's normal is a unit vector, unlike the falling one.
    EXPECT_NEAR(std::hypot(c[2].args[0], c[2].args[1]), 1.0, 1e-6);
}

TEST(ToothedWheel, ThreeTeethExample)
{
    const auto calls = record_wheel(3, 1.0f, 4.0f, 1.0f);
    const primitive front_teeth = primitives_of(calls)[1];
    ASSERT_EQ(front_teeth.mode, static_cast<GLenum>(GL_QUADS));
    const double deg = M_PI / 180;
    const std::vector<vec3> expected{{3.65, 0, 0.5},
                                     {4.35 * std::cos(30 * deg), 4.35 * std::sin(30 * deg), 0.5},
                                     {4.35 * std::cos(60 * deg), 4.35 * std::sin(60 * deg), 0.5},
                                     {0, 3.65, 0.5}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(front_teeth.vertices[i].position.x, expected[i].x, 5e-5) << i;
        EXPECT_NEAR(front_teeth.vertices[i].position.y, expected[i].y, 5e-5) << i;
        EXPECT_EQ(front_teeth.vertices[i].position.z, 0.5) << i;
    }
    std::vector<gl_call> outer_normals;
    for (const gl_call& call : calls)
        if (call.name == "glNormal3f")
            outer_normals.push_back(call);
    // After the front and back normals: rising, top land, falling, root land.
    expect_xyz(outer_normals[2], "glNormal3f", 0.9986, -0.0538, 0);
    expect_xyz(outer_normals[4], "glNormal3f", -0.1172, 2.175, 0, 5e-4);
}

TEST(ToothedWheel, OneToothFrontStripAndTheClosingAngle)
{
    const auto calls = record_wheel(1, 1.0f, 4.0f, 1.0f);
    const primitive front = primitives_of(calls)[0];
    ASSERT_EQ(front.vertices.size(), 6u);
    const float two_pi = static_cast<float>(2 * M_PI);
    const double radii[] = {1.0, 3.65, 1.0, 3.65, 1.0, 3.65};
    const double angles[] = {0, 0, 0, 3 * M_PI / 2, two_pi, two_pi};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_NEAR(front.vertices[i].position.x, radii[i] * std::cos(angles[i]), 1e-5) << i;
        EXPECT_NEAR(front.vertices[i].position.y, radii[i] * std::sin(angles[i]), 1e-5) << i;
    }
    // 2*pi rounded to single lies a little past the axis, so y is not 0...
    EXPECT_EQ(front.vertices[5].position.y, static_cast<float>(std::sin(double(two_pi)) * 3.65f));
    EXPECT_GT(front.vertices[5].position.y, 0.0);
}

TEST(ToothedWheel, LastPassesUseTwoPiInSingleWhileOuterClosesOnTheAxis)
{
    const auto prims = primitives_of(record_wheel(20, 1.0f, 4.0f, 1.0f));
    const double two_pi_single = static_cast<float>(2 * M_PI);
    const auto y_at = [](GLfloat r, double angle) { return double(static_cast<float>(std::sin(angle) * r)); };
    EXPECT_EQ(prims[0].vertices.back().position.y, y_at(3.65f, two_pi_single));
    EXPECT_EQ(prims[2].vertices.back().position.y, y_at(1.0f, two_pi_single));
    EXPECT_EQ(prims[5].vertices.back().position.y, y_at(1.0f, two_pi_single));
    EXPECT_NE(prims[0].vertices.back().position.y, 0.0);
    const auto& outer = prims[4].vertices;
    for (size_t i = outer.size() - 2; i < outer.size(); ++i) {
        EXPECT_EQ(outer[i].position.x, double(4.0f + -0.35f));
        EXPECT_EQ(outer[i].position.y, 0.0);
        EXPECT_FALSE(std::signbit(outer[i].position.y));
    }
}

TEST(ToothedWheel, NegativeToothCountGivesOnlyTheFixedCalls)
{
    const auto calls = describe_all(record_wheel(-2, 1.0f, 4.0f, 1.0f));
    const std::vector<std::string> expected{"glShadeModel(7424)",
                                            "glNormal3f(0, 0, 1)",
                                            "glBegin(8)",
                                            "glEnd()",
                                            "glBegin(7)",
                                            "glEnd()",
                                            "glNormal3f(0, 0, -1)",
                                            "glBegin(8)",
                                            "glEnd()",
                                            "glBegin(7)",
                                            "glEnd()",
                                            "glBegin(8)",
                                            "glVertex3f(3.6500001, 0, 0.5)",
                                            "glVertex3f(3.6500001, 0, -0.5)",
                                            "glEnd()",
                                            "glShadeModel(7425)",
                                            "glBegin(8)",
                                            "glEnd()"};
    EXPECT_EQ(calls, expected);
}

TEST(ToothedWheel, NoTeethGivesOnePassOfNotANumber)
{
    const auto prims = primitives_of(record_wheel(0, 1.0f, 4.0f, 1.0f));
    std::vector<size_t> sizes;
    for (const primitive& p : prims)
        sizes.push_back(p.vertices.size());
    EXPECT_EQ(sizes, (std::vector<size_t>{2, 0, 2, 0, 2, 2}));
    for (size_t strip : {0u, 2u, 5u}) {
        for (const vertex& v : prims[strip].vertices) {
            EXPECT_TRUE(std::isnan(v.position.x));
            EXPECT_TRUE(std::isnan(v.position.y));
            EXPECT_EQ(std::fabs(v.position.z), 0.5);
        }
    }
    EXPECT_TRUE(std::isnan(prims[5].vertices[0].normal.x));
    EXPECT_EQ(prims[4].vertices[0].position.y, 0.0);
}

TEST(ToothedWheel, EveryPolygonFacesItsNormalAndTheRightWay)
{
    // From three teeth on; with one, a + 3s is three quarters of a turn and
    // the front face's triangle folds over itself.
    for (GLint teeth : {3, 10, 20}) {
        const auto prims = primitives_of(record_wheel(teeth, 1.0f, 4.0f, 1.0f));
        for (size_t p = 0; p < prims.size(); ++p) {
            for (const auto& quad : quads_of(prims[p])) {
                const vec3 area = area_normal(quad);
                if (dot(area, area) < 1e-10)
                    continue; // a strip's degenerate joint draws nothing
                const vec3 normal = quad.back().normal;
                // Counterclockwise seen from where the normal points: culling keeps it.
                EXPECT_GT(dot(area, normal), 0) << "teeth " << teeth << ", primitive " << p;
                const vec3 centre{(quad[0].position.x + quad[2].position.x) / 2,
                                  (quad[0].position.y + quad[2].position.y) / 2, 0};
                if (p == 4) {
                    EXPECT_GT(dot(normal, centre), 0) << "outer surface faces out, teeth " << teeth;
                }
                if (p == 5) {
                    EXPECT_LT(dot(normal, centre), 0) << "hole wall faces the axis, teeth " << teeth;
                }
            }
            for (const vertex& v : prims[p].vertices) {
                if (p == 0 || p == 1) {
                    EXPECT_EQ(v.position.z, 0.5);
                }
                if (p == 2 || p == 3) {
                    EXPECT_EQ(v.position.z, -0.5);
                }
            }
        }
    }
}

} // namespace
