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

struct xy {
    float x, y;
};

// For values that pass through cos or sin, which may differ in the last bit from one platform to the
// next. The recorded arguments are floats widened to double, so narrowing them back is exact.
void expect_within_one_ulp(double got, float want)
{
    const float value = static_cast<float>(got);
    EXPECT_TRUE(value == want || value == std::nextafter(want, value))
        << std::hexfloat << value << " is more than one unit in the last place from " << want;
}

void expect_xy(const vec3& got, xy want)
{
    expect_within_one_ulp(got.x, want.x);
    expect_within_one_ulp(got.y, want.y);
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

TEST(ToothedWheel, ToothPointsAndNormalsInEveryStep)
{
    // Teeth 0, 15 and 17 of wheel 1, then tooth 0 of a wheel of three teeth (steps of 30 degrees), each with
    // inner radius 1, outer radius 4 and width 1.
    const struct {
        GLint teeth;
        size_t tooth;
    } cases[] = {{20, 0}, {20, 15}, {20, 17}, {3, 0}};
    // x and y of the hole at a, the root circle at a, the tip circle at a + s and at a + 2s, the root circle
    // at a + 3s, then of the rising-flank, top-land, falling-flank and root-land normals. float32 roundings
    // done step by step in python3 (struct.pack('<f')) wherever the wheel rounds; cos and sin in double. At
    // teeth 15 and 17, a sum in the other precision or a tooth angle of i single pitches moves some value
    // by 2 ulps or more.
    const float values[][18] = {
        {1, 0, 0x1.d33334p+1f, 0, 0x1.158ab2p+2f, 0x1.5d7cfap-2f, 0x1.12f8f2p+2f, 0x1.5c692cp-1f,
         0x1.c64a8ep+1f, 0x1.b44342p-1f, 0x1.c7cf8cp-2f, -0x1.ca7aaap-1f, 0x1.fc7378p-1f, 0x1.e16ee6p-4f,
         0x1.5f6852p-3f, 0x1.7e9d4ep-1f, 0x1.ecc6eep-1f, 0x1.15f47cp-2f},
        {0x1.99bc5cp-27f, -1, 0x1.75e248p-25f, -0x1.d33334p+1f, 0x1.5d7d06p-2f, -0x1.158ab2p+2f,
         0x1.5c6938p-1f, -0x1.12f8f0p+2f, 0x1.b4434ep-1f, -0x1.c64a8ep+1f, -0x1.ca7aa8p-1f, -0x1.c7cf96p-2f,
         0x1.e16ee8p-4f, -0x1.fc7378p-1f, 0x1.7e9d50p-1f, -0x1.5f685ap-3f, 0x1.15f47ep-2f, -0x1.ecc6eep-1f},
        {0x1.2cf22ap-1f, -0x1.9e377ep-1f, 0x1.129cfap+1f, -0x1.79f90ap+1f, 0x1.699cd2p+1f, -0x1.a764e4p+1f,
         0x1.89b78cp+1f, -0x1.89b794p+1f, 0x1.6342fap+1f, -0x1.2f6c14p+1f, -0x1.d9ea86p-2f, -0x1.c5dddap-1f,
         0x1.5b8bc0p-1f, -0x1.77f924p-1f, 0x1.692e02p-1f, 0x1.33a48ep-2f, 0x1.92150cp-1f, -0x1.3cf9e8p-1f},
        // The falling flank's normal keeps the length of its edge; the rising flank's has length 1.
        {1, 0, 0x1.d33334p+1f, 0, 0x1.e233f4p+1f, 0x1.166666p+1f, 0x1.166666p+1f, 0x1.e233f4p+1f,
         -0x1.569fa8p-23f, 0x1.d33334p+1f, 0x1.ff4216p-1f, -0x1.b8d358p-5f, 0x1.6a09e6p-1f, 0x1.6a09e6p-1f,
         -0x1.e018p-4f, 0x1.166666p+1f, -0x1.0907e0p-2f, 0x1.ee8dd4p-1f}};
    enum { hole, root_a, tip_s, tip_2s, root_3s };
    // Where each point stands: in the front face, the teeth's front faces, the back face and the teeth's back
    // faces from vertex 4i on, in the outer surface from vertex 8i on.
    const struct {
        size_t primitive, offset;
        int point;
    } slots[] = {{0, 0, hole},    {0, 1, root_a}, {0, 2, hole},    {0, 3, root_3s}, {1, 0, root_a},
                 {1, 1, tip_s},   {1, 2, tip_2s}, {1, 3, root_3s}, {2, 0, root_a},  {2, 1, hole},
                 {2, 2, root_3s}, {2, 3, hole},   {3, 0, root_3s}, {3, 1, tip_2s},  {3, 2, tip_s},
                 {3, 3, root_a},  {4, 0, root_a}, {4, 1, root_a},  {4, 2, tip_s},   {4, 3, tip_s},
                 {4, 4, tip_2s},  {4, 5, tip_2s}, {4, 6, root_3s}, {4, 7, root_3s}};
    for (size_t c = 0; c < 4; ++c) {
        const auto prims = primitives_of(record_wheel(cases[c].teeth, 1.0f, 4.0f, 1.0f));
        const auto xy_of = [&](int k) { return xy{values[c][2 * k], values[c][2 * k + 1]}; };
        for (const auto& slot : slots) {
            const size_t index = (slot.primitive < 4 ? 4 : 8) * cases[c].tooth + slot.offset;
            SCOPED_TRACE(testing::Message()
                         << "case " << c << ", primitive " << slot.primitive << ", vertex " << index);
            const vec3& position = prims[slot.primitive].vertices[index].position;
            expect_xy(position, xy_of(slot.point));
            const bool front = slot.primitive < 2 || (slot.primitive == 4 && slot.offset % 2 == 0);
            EXPECT_EQ(position.z, front ? 0.5 : -0.5);
        }
        // Each normal of the outer surface is current at the pair that completes its face.
        for (int n = 0; n < 4; ++n) {
            SCOPED_TRACE(testing::Message() << "case " << c << ", normal " << n);
            const vec3& normal = prims[4].vertices[8 * cases[c].tooth + 2 + 2 * size_t(n)].normal;
            expect_xy(normal, xy_of(5 + n));
            EXPECT_EQ(normal.z, 0.0);
        }
    }
}

TEST(ToothedWheel, OneToothFrontStripAndTheClosingAngle)
{
    const primitive front = primitives_of(record_wheel(1, 1.0f, 4.0f, 1.0f))[0];
    ASSERT_EQ(front.vertices.size(), 6u);
    // float32 roundings in python3 as above: a + 3s is 3 * float32(pi / 2), rounded again; the last pair
    // stands at 2*pi rounded to single, a little past the axis, so its y are not 0.
    const xy expected[] = {{1, 0},
                           {0x1.d33334p+1f, 0},
                           {1, 0},
                           {0x1.75e248p-25f, -0x1.d33334p+1f},
                           {1, 0x1.777a5cp-23f},
                           {0x1.d33334p+1f, 0x1.569fa8p-21f}};
    for (size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        expect_xy(front.vertices[i].position, expected[i]);
    }
}

TEST(ToothedWheel, LastPassesUseTwoPiInSingleWhileOuterClosesOnTheAxis)
{
    const auto prims = primitives_of(record_wheel(20, 1.0f, 4.0f, 1.0f));
    // 2*pi in single on the root circle and on the hole, from python3 as above.
    expect_xy(prims[0].vertices.back().position, {0x1.d33334p+1f, 0x1.569fa8p-21f});
    expect_xy(prims[2].vertices.back().position, {1, 0x1.777a5cp-23f});
    expect_xy(prims[5].vertices.back().position, {1, 0x1.777a5cp-23f});
    const auto& outer = prims[4].vertices;
    for (size_t i = outer.size() - 2; i < outer.size(); ++i) {
        EXPECT_EQ(outer[i].position.x, 0x1.d33334p+1f); // 4 + -0.35f rounded to single in python3
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
