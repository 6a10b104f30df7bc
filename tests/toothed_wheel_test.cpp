// The wheel mesh, read back from the recorded GL calls.
#include "exact_values.h"
#include "recording_gl.h"
#include "scene/scene.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Inner radius 1, outer radius 4, width 1, as wheel 1.
std::vector<gl_call> record_wheel(GLint teeth)
{
    reset_recording();
    build_toothed_wheel(teeth, 1.0f, 4.0f, 1.0f);
    return recorded_calls;
}

// The quadrilaterals as GL assembles them, each in its drawing order, with
// the normal that flat shading gives it (the one current at its last vertex).
std::vector<std::vector<vertex>> quads_of(const primitive& p)
{
    std::vector<std::vector<vertex>> quads;
    const auto& v = p.vertices;
    const bool strip = p.mode == GL_QUAD_STRIP;
    for (size_t i = 0; i + 3 < v.size(); i += strip ? 2 : 4)
        quads.push_back({v[i], v[i + 1], v[i + (strip ? 3 : 2)], v[i + (strip ? 2 : 3)]});
    return quads;
}

// For values that pass through cos or sin, which may differ in the last bit from one platform to the
// next. The recorded arguments are floats widened to double, so narrowing them back is exact.
void expect_xy(const vec3& got, const float* want)
{
    const float xy[] = {static_cast<float>(got.x), static_cast<float>(got.y)};
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(xy[i] == want[i] || xy[i] == std::nextafter(want[i], xy[i]))
            << std::hexfloat << xy[i] << " is more than one unit in the last place from " << want[i];
}

TEST(ToothedWheel, CountsAndShadeModelsFromNoneToTwentyTeeth)
{
    const std::vector<std::string> outline(
        {"glShadeModel(7424)", "glBegin(8)", "glEnd()", "glBegin(7)", "glEnd()", "glBegin(8)", "glEnd()",
         "glBegin(7)", "glEnd()", "glBegin(8)", "glEnd()", "glShadeModel(7425)", "glBegin(8)", "glEnd()"});
    // With no teeth, each ring gets one pass and the outer surface only its closing pair.
    for (const size_t t : {0u, 1u, 10u, 20u}) {
        const std::vector<gl_call> calls = record_wheel(GLint(t));
        std::vector<size_t> vertices;
        for (const primitive& p : primitives_of(calls))
            vertices.push_back(p.vertices.size());
        EXPECT_EQ(vertices, (std::vector<size_t>{4 * t + 2, 4 * t, 4 * t + 2, 4 * t, 8 * t + 2, 2 * t + 2}));
        std::vector<std::string> others;
        size_t normals = 0;
        for (const gl_call& call : calls) {
            normals += call.name == "glNormal3f";
            if (call.name != "glNormal3f" && call.name != "glVertex3f")
                others.push_back(describe(call));
        }
        EXPECT_EQ(normals, 5 * t + 3) << t;
        EXPECT_EQ(others, outline) << t;
    }
}

TEST(ToothedWheel, ToothPointsAndNormalsInEveryStep)
{
    // Each case's xy: x and y of the hole and the root circle at a, the tip circle at a + s and a + 2s and
    // the root circle at a + 3s, then of the rising-flank, top-land, falling-flank and root-land normals.
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
    // At teeth 15 and 17 of twenty, a sum in the other precision or a tooth angle of i single pitches moves
    // some value by 2 ulps or more. With three teeth the falling flank's normal keeps the length of its
    // edge, while the rising flank's has length 1.
    for (const auto& c : tooth_cases) {
        const auto prims = primitives_of(record_wheel(c.teeth));
        for (const auto& slot : slots) {
            const size_t index = (slot.primitive < 4 ? 4 : 8) * c.tooth + slot.offset;
            SCOPED_TRACE(testing::Message()
                         << c.teeth << " teeth, primitive " << slot.primitive << ", vertex " << index);
            const vec3& position = prims[slot.primitive].vertices[index].position;
            expect_xy(position, &c.xy[2 * slot.point]);
            const bool front = slot.primitive < 2 || (slot.primitive == 4 && slot.offset % 2 == 0);
            EXPECT_EQ(position.z, front ? 0.5 : -0.5);
        }
        // Each normal of the outer surface is current at the pair that completes its face.
        for (size_t n = 0; n < 4; ++n) {
            SCOPED_TRACE(testing::Message() << c.teeth << " teeth, tooth " << c.tooth << ", normal " << n);
            const vec3& normal = prims[4].vertices[8 * c.tooth + 2 + 2 * n].normal;
            expect_xy(normal, &c.xy[10 + 2 * n]);
            EXPECT_EQ(normal.z, 0.0);
        }
    }
}

TEST(ToothedWheel, RingsCloseAtTwoPiInSingleAndTheOuterSurfaceOnTheAxis)
{
    // One tooth: a + 3s is three quarters of a turn; the last pair stands at 2*pi rounded to single, a
    // little past the axis, so its y are not 0.
    const primitive front = primitives_of(record_wheel(1))[0];
    ASSERT_EQ(front.vertices.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        expect_xy(front.vertices[i].position, one_tooth_front[i]);
    }
    // Whatever the tooth count, the last pass of the front face, the back face and the hole's wall stands
    // there too, at the root circle or the hole; the outer surface closes on the x axis at the root radius.
    const auto prims = primitives_of(record_wheel(20));
    expect_xy(prims[0].vertices.back().position, one_tooth_front[5]);
    expect_xy(prims[2].vertices.back().position, one_tooth_front[4]);
    expect_xy(prims[5].vertices.back().position, one_tooth_front[4]);
    const auto& outer = prims[4].vertices;
    for (size_t i = outer.size() - 2; i < outer.size(); ++i) {
        EXPECT_EQ(outer[i].position.x, one_tooth_front[1][0]);
        EXPECT_EQ(outer[i].position.y, 0.0);
        EXPECT_FALSE(std::signbit(outer[i].position.y));
    }
}

TEST(ToothedWheel, NegativeToothCountGivesOnlyTheFixedCalls)
{
    const std::vector<std::string> expected(
        {"glShadeModel(7424)", "glNormal3f(0, 0, 1)", "glBegin(8)", "glEnd()", "glBegin(7)", "glEnd()",
         "glNormal3f(0, 0, -1)", "glBegin(8)", "glEnd()", "glBegin(7)", "glEnd()", "glBegin(8)",
         "glVertex3f(3.6500001, 0, 0.5)", "glVertex3f(3.6500001, 0, -0.5)", "glEnd()", "glShadeModel(7425)",
         "glBegin(8)", "glEnd()"});
    EXPECT_EQ(describe_all(record_wheel(-2)), expected);
}

TEST(ToothedWheel, NoTeethGivesOnePassOfNotANumber)
{
    const auto prims = primitives_of(record_wheel(0));
    for (size_t strip : {0u, 2u, 5u}) {
        for (const vertex& v : prims[strip].vertices) {
            EXPECT_TRUE(std::isnan(v.position.x) && std::isnan(v.position.y));
            EXPECT_EQ(std::fabs(v.position.z), 0.5);
        }
    }
    EXPECT_TRUE(std::isnan(prims[5].vertices[0].normal.x));
    EXPECT_EQ(prims[4].vertices[0].position.y, 0.0);
}

TEST(ToothedWheel, EveryPolygonFacesItsNormalAndTheRightWay)
{
    const auto dot = [](vec3 a, vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
    // From three teeth on; with one, a + 3s is three quarters of a turn and
    // the front face's triangle folds over itself.
    for (GLint teeth : {3, 10, 20}) {
        const auto prims = primitives_of(record_wheel(teeth));
        for (size_t p = 0; p < prims.size(); ++p) {
            SCOPED_TRACE(testing::Message() << teeth << " teeth, primitive " << p);
            for (const auto& quad : quads_of(prims[p])) {
                // Twice the area, as a vector: the sum of the cross products of the corners in turn.
                vec3 area{0, 0, 0};
                for (size_t i = 0; i < 4; ++i) {
                    const vec3 a = quad[i].position, b = quad[(i + 1) % 4].position;
                    area = {area.x + a.y * b.z - a.z * b.y, area.y + a.z * b.x - a.x * b.z,
                            area.z + a.x * b.y - a.y * b.x};
                }
                if (dot(area, area) < 1e-10)
                    continue; // a strip's degenerate joint draws nothing
                const vec3 normal = quad.back().normal;
                // Counterclockwise seen from where the normal points: culling keeps it.
                EXPECT_GT(dot(area, normal), 0);
                // The outer surface faces out, the hole's wall the axis.
                const vec3 centre{quad[0].position.x + quad[2].position.x,
                                  quad[0].position.y + quad[2].position.y, 0};
                if (p >= 4) {
                    EXPECT_GT(dot(normal, centre) * (p == 4 ? 1 : -1), 0);
                }
            }
            for (const vertex& v : prims[p].vertices)
                EXPECT_TRUE(p >= 4 || v.position.z == (p < 2 ? 0.5 : -0.5)) << "z of a face";
        }
    }
}

} // namespace
