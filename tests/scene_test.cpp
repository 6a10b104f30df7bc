// Scene set-up, projection and drawing, as recorded GL calls.
#include "recording_gl.h"
#include "scene/scene.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <unistd.h>

namespace {

const std::vector<std::string> square_projection{
    "glViewport(0, 0, 300, 300)",     "glMatrixMode(5889)", "glLoadIdentity()",
    "glFrustum(-1, 1, -1, 1, 5, 60)", "glMatrixMode(5888)", "glLoadIdentity()",
    "glTranslatef(0, 0, -40)"};

// Calls init_scene with standard output captured.
std::string init_scene_output(bool print_info)
{
    run_settings settings;
    settings.print_info = print_info;
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    init_scene(settings);
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

// The calls outside the three display lists.
std::vector<std::string> outside_lists(const std::vector<gl_call>& calls)
{
    std::vector<std::string> outside;
    bool in_list = false;
    for (const gl_call& call : calls) {
        if (call.name == "glNewList" || call.name == "glEndList") {
            outside.push_back(describe(call));
            in_list = call.name == "glNewList";
        } else if (!in_list) {
            outside.push_back(describe(call));
        }
    }
    return outside;
}

TEST(InitScene, CallsInOrderWithoutInfo)
{
    reset_recording();
    EXPECT_EQ(init_scene_output(false), "");
    std::vector<std::string> expected = square_projection;
    for (const char* call : {"glLightfv(16384, 4611, 5, 5, 10, 0)", "glEnable(2884)", "glEnable(2896)",
                             "glEnable(16384)", "glEnable(2929)", "glGenLists(1)", "glNewList(1, 4864)",
                             "glEndList()", "glGenLists(1)", "glNewList(2, 4864)", "glEndList()",
                             "glGenLists(1)", "glNewList(3, 4864)", "glEndList()", "glEnable(2977)"})
        expected.push_back(call);
    EXPECT_EQ(outside_lists(recorded_calls), expected);
}

TEST(InitScene, EachListOpensWithItsMaterialAndHoldsItsWheel)
{
    const std::vector<std::string> materials{"glMaterialfv(1028, 5634, 0.800000012, 0.100000001, 0, 1)",
                                             "glMaterialfv(1028, 5634, 0, 0.800000012, 0.200000003, 1)",
                                             "glMaterialfv(1028, 5634, 0.200000003, 0.200000003, 1, 1)"};
    // A wheel is told by its vertices per primitive (from its tooth count), its first front-face vertex (the
    // hole at angle 0, at +half width) and the outer surface's closing pair (the root circle on the x axis).
    // Root radii 4 + -0.35f and 2 + -0.35f rounded to single in python3 (struct.pack('<f')).
    const struct {
        size_t teeth;
        float inner_radius, root_radius, half_width;
    } wheels[] = {{20, 1.0f, 0x1.d33334p+1f, 0.5f},
                  {10, 0.5f, 0x1.a66666p+0f, 1.0f},
                  {10, 1.3f, 0x1.a66666p+0f, 0.25f}};
    reset_recording();
    init_scene_output(false);
    size_t at = 0;
    for (size_t n = 0; n < 3; ++n) {
        const auto& w = wheels[n];
        while (recorded_calls[at].name != "glNewList")
            ++at;
        EXPECT_EQ(describe(recorded_calls[++at]), materials[n]);
        std::vector<std::vector<std::vector<double>>> primitives;
        for (++at; recorded_calls[at].name != "glEndList"; ++at) {
            if (recorded_calls[at].name == "glBegin")
                primitives.emplace_back();
            if (recorded_calls[at].name == "glVertex3f")
                primitives.back().push_back(recorded_calls[at].args);
        }
        std::vector<size_t> vertices;
        for (const auto& p : primitives)
            vertices.push_back(p.size());
        const size_t t = w.teeth;
        ASSERT_EQ(vertices, (std::vector<size_t>{4 * t + 2, 4 * t, 4 * t + 2, 4 * t, 8 * t + 2, 2 * t + 2}))
            << n;
        const double inner = w.inner_radius, root = w.root_radius, h = w.half_width;
        EXPECT_EQ(primitives[0].front(), (std::vector<double>{inner, 0, h})) << n;
        const auto& outer = primitives[4];
        EXPECT_EQ(outer[outer.size() - 2], (std::vector<double>{root, 0, h})) << n;
        EXPECT_EQ(outer.back(), (std::vector<double>{root, 0, -h})) << n;
    }
}

TEST(InitScene, InfoLinesEachFetchedJustBeforeItIsPrinted)
{
    reset_recording();
    gl_string_answers = {{GL_RENDERER, "soft pixels"}, {GL_VERSION, "1.4 test"}, {GL_VENDOR, "nobody"}};
    const std::string output = init_scene_output(true);
    gl_string_answers.clear();
    // A null answer (here GL_EXTENSIONS) prints as empty.
    EXPECT_EQ(output, "GL_RENDERER   = soft pixels\nGL_VERSION    = 1.4 test\nGL_VENDOR     = nobody\n"
                      "GL_EXTENSIONS = \n");
    const std::vector<std::string> calls = outside_lists(recorded_calls);
    const std::vector<std::string> queries(calls.begin() + 7, calls.begin() + 11);
    EXPECT_EQ(queries, (std::vector<std::string>{"glGetString(7937)", "glGetString(7938)",
                                                 "glGetString(7936)", "glGetString(7939)"}));
    EXPECT_EQ(calls[11], "glLightfv(16384, 4611, 5, 5, 10, 0)");
}

TEST(ReshapeView, FrustumKeepsTheShorterSideAtOne)
{
    const struct {
        int width, height;
        const char* frustum;
    } cases[] = {
        {300, 300, "glFrustum(-1, 1, -1, 1, 5, 60)"},
        {600, 300, "glFrustum(-2, 2, -1, 1, 5, 60)"},
        {300, 600, "glFrustum(-1, 1, -2, 2, 5, 60)"},
        {301, 300, "glFrustum(-1.00333332, 1.00333332, -1, 1, 5, 60)"},
        {77, 77, "glFrustum(-1, 1, -1, 1, 5, 60)"},
        {0, 0, "glFrustum(-1, 1, -1, 1, 5, 60)"},
        {0, 300, "glFrustum(-1, 1, -300, 300, 5, 60)"},
        {-5, 1, "glFrustum(-1, 1, -1, 1, 5, 60)"},
    };
    for (const auto& c : cases) {
        reset_recording();
        reshape_view(c.width, c.height);
        const std::vector<std::string> calls = describe_all(recorded_calls);
        ASSERT_EQ(calls.size(), 7u);
        EXPECT_EQ(calls[3], c.frustum) << c.width << "x" << c.height;
        EXPECT_EQ(std::vector<std::string>(calls.begin() + 4, calls.end()),
                  std::vector<std::string>(square_projection.begin() + 4, square_projection.end()));
    }
    reset_recording();
    reshape_view(300, 300);
    EXPECT_EQ(describe_all(recorded_calls), square_projection);
    reset_recording();
    reshape_view(301, 300);
    // The ratio is single precision, widened before the two quotients: in python3, 300 / 301 rounded to
    // float32 with struct.pack('<f') is 0x1.fe4c8cp-1, and 1 / that in double is 0x1.00da73cadf188p+0.
    EXPECT_EQ(recorded_calls[3].args[0], -0x1.00da73cadf188p+0);
    EXPECT_EQ(recorded_calls[3].args[1], 0x1.00da73cadf188p+0);
    EXPECT_EQ(describe(recorded_calls[0]), "glViewport(0, 0, 301, 300)");
}

std::vector<std::string> draw(float angle_deg)
{
    reset_recording();
    draw_scene(angle_deg);
    return describe_all(recorded_calls);
}

TEST(DrawScene, TwentyOneCallsPlacingTheWheels)
{
    reset_recording();
    init_scene_output(false);
    const std::vector<std::string> at_zero = draw(0.0f);
    const std::vector<std::string> expected{"glClear(16640)",
                                            "glPushMatrix()",
                                            "glRotatef(20, 1, 0, 0)",
                                            "glRotatef(30, 0, 1, 0)",
                                            "glRotatef(0, 0, 0, 1)",
                                            "glPushMatrix()",
                                            "glTranslatef(-3, -2, 0)",
                                            "glRotatef(0, 0, 0, 1)",
                                            "glCallList(1)",
                                            "glPopMatrix()",
                                            "glPushMatrix()",
                                            "glTranslatef(3.0999999, -2, 0)",
                                            "glRotatef(-9, 0, 0, 1)",
                                            "glCallList(2)",
                                            "glPopMatrix()",
                                            "glPushMatrix()",
                                            "glTranslatef(-3.0999999, 4.19999981, 0)",
                                            "glRotatef(-25, 0, 0, 1)",
                                            "glCallList(3)",
                                            "glPopMatrix()",
                                            "glPopMatrix()"};
    EXPECT_EQ(at_zero, expected);

    const std::vector<std::string> at_ninety = draw(90.0f);
    EXPECT_EQ(at_ninety[7], "glRotatef(90, 0, 0, 1)");
    EXPECT_EQ(at_ninety[12], "glRotatef(-189, 0, 0, 1)");
    EXPECT_EQ(at_ninety[17], "glRotatef(-205, 0, 0, 1)");

    const std::vector<std::string> at_full_turn = draw(360.0f);
    EXPECT_EQ(at_full_turn[12], "glRotatef(-729, 0, 0, 1)");
    EXPECT_EQ(at_full_turn[17], "glRotatef(-745, 0, 0, 1)");

    // Angles whose doubled value, taken from -9 and -25 in double, needs rounding to single; narrowed in
    // python3 with struct.pack('<f').
    for (const auto& c : {std::array<float, 3>{0.6f, -0x1.466666p+3f, -0x1.a33334p+4f},
                          std::array<float, 3>{1.8f, -0x1.933334p+3f, -0x1.c9999ap+4f}}) {
        draw(c[0]);
        EXPECT_EQ(recorded_calls[7].args[0], c[0]);
        EXPECT_EQ(recorded_calls[12].args[0], c[1]) << c[0];
        EXPECT_EQ(recorded_calls[17].args[0], c[2]) << c[0];
    }
}

TEST(DrawScene, LeavesTheStackBalanced)
{
    for (float angle : {0.0f, 45.5f, 359.9f}) {
        draw(angle);
        int depth = 0, lowest = 0;
        for (const gl_call& call : recorded_calls) {
            depth += call.name == "glPushMatrix";
            depth -= call.name == "glPopMatrix";
            lowest = std::min(lowest, depth);
            EXPECT_NE(call.name, "glMatrixMode");
        }
        EXPECT_EQ(depth, 0);
        EXPECT_EQ(lowest, 0);
    }
}

} // namespace
