// Scene set-up, projection and drawing, as recorded GL calls.
#include "capture.h"
#include "exact_values.h"
#include "recording_gl.h"
#include "scene/scene.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::string init_scene_output(bool print_info)
{
    run_settings settings;
    settings.print_info = print_info;
    reset_recording();
    const captured output = capture([&] { init_scene(settings); });
    EXPECT_EQ(output.err, "");
    return output.out;
}

// The calls outside the display lists, their glNewList and glEndList among them, then those in each list.
std::vector<std::vector<gl_call>> split_at_lists(const std::vector<gl_call>& calls)
{
    std::vector<std::vector<gl_call>> parts(1);
    size_t part = 0;
    for (const gl_call& call : calls) {
        part = call.name == "glEndList" ? 0 : part;
        parts[part].push_back(call);
        if (call.name == "glNewList") {
            parts.emplace_back();
            part = parts.size() - 1;
        }
    }
    return parts;
}

std::vector<std::string> projection(int width, int height, const std::string& frustum)
{
    const std::string viewport =
        "glViewport(0, 0, " + std::to_string(width) + ", " + std::to_string(height) + ")";
    return std::vector<std::string>({viewport, "glMatrixMode(5889)", "glLoadIdentity()", frustum,
                                     "glMatrixMode(5888)", "glLoadIdentity()", "glTranslatef(0, 0, -40)"});
}

TEST(InitScene, CallsInOrderAndTheInfoLinesEachFetchedJustBeforeItIsPrinted)
{
    gl_string_answers = {{GL_RENDERER, "soft pixels"}, {GL_VERSION, "1.4 test"}, {GL_VENDOR, "nobody"}};
    for (const bool info : {false, true}) {
        const std::string output = init_scene_output(info);
        // A null answer (here GL_EXTENSIONS) prints as empty.
        EXPECT_EQ(output,
                  info ? "GL_RENDERER   = soft pixels\nGL_VERSION    = 1.4 test\nGL_VENDOR     = nobody\n"
                         "GL_EXTENSIONS = \n"
                       : "");
        std::vector<std::string> expected = projection(300, 300, "glFrustum(-1, 1, -1, 1, 5, 60)");
        if (info)
            expected.insert(expected.end(), {"glGetString(7937)", "glGetString(7938)", "glGetString(7936)",
                                             "glGetString(7939)"});
        expected.insert(expected.end(),
                        {"glLightfv(16384, 4611, 5, 5, 10, 0)", "glEnable(2884)", "glEnable(2896)",
                         "glEnable(16384)", "glEnable(2929)", "glGenLists(1)", "glNewList(1, 4864)",
                         "glEndList()", "glGenLists(1)", "glNewList(2, 4864)", "glEndList()", "glGenLists(1)",
                         "glNewList(3, 4864)", "glEndList()", "glEnable(2977)"});
        EXPECT_EQ(describe_all(split_at_lists(recorded_calls)[0]), expected) << info;
    }
    gl_string_answers.clear();
}

TEST(InitScene, EachListHoldsItsMaterialThenItsWheel)
{
    const struct {
        const char* material;
        GLint teeth;
        GLfloat inner, outer, width;
    } wheels[] = {{"glMaterialfv(1028, 5634, 0.800000012, 0.100000001, 0, 1)", 20, 1.0f, 4.0f, 1.0f},
                  {"glMaterialfv(1028, 5634, 0, 0.800000012, 0.200000003, 1)", 10, 0.5f, 2.0f, 2.0f},
                  {"glMaterialfv(1028, 5634, 0.200000003, 0.200000003, 1, 1)", 10, 1.3f, 2.0f, 0.5f}};
    init_scene_output(false);
    const std::vector<std::vector<gl_call>> lists = split_at_lists(recorded_calls);
    ASSERT_EQ(lists.size(), 4u);
    for (size_t n = 0; n < 3; ++n) {
        const auto& w = wheels[n];
        reset_recording();
        build_toothed_wheel(w.teeth, w.inner, w.outer, w.width);
        std::vector<std::string> expected = describe_all(recorded_calls);
        expected.insert(expected.begin(), w.material);
        EXPECT_TRUE(describe_all(lists[n + 1]) == expected) << "list " << n + 1 << " is not its wheel";
    }
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
        // A size below 1, which X never reports, is taken as 1.
        EXPECT_EQ(describe_all(recorded_calls),
                  projection(std::max(c.width, 1), std::max(c.height, 1), c.frustum));
    }
    // The ratio is single precision, widened before the two quotients.
    reset_recording();
    reshape_view(301, 300);
    EXPECT_EQ(recorded_calls[3].args[0], -frustum_right_301x300);
    EXPECT_EQ(recorded_calls[3].args[1], frustum_right_301x300);
}

std::vector<std::string> draw(float angle_deg)
{
    reset_recording();
    draw_scene(angle_deg);
    return describe_all(recorded_calls);
}

TEST(DrawScene, TwentyOneCallsPlacingTheWheels)
{
    init_scene_output(false);
    // The view's rotation, then each wheel under its own translation and rotation.
    std::vector<std::string> expected({"glClear(16640)", "glPushMatrix()", "glRotatef(20, 1, 0, 0)",
                                       "glRotatef(30, 0, 1, 0)", "glRotatef(0, 0, 0, 1)"});
    expected.insert(expected.end(),
                    {"glPushMatrix()", "glTranslatef(-3, -2, 0)", "glRotatef(0, 0, 0, 1)", "glCallList(1)",
                     "glPopMatrix()", "glPushMatrix()", "glTranslatef(3.0999999, -2, 0)",
                     "glRotatef(-9, 0, 0, 1)", "glCallList(2)", "glPopMatrix()", "glPushMatrix()",
                     "glTranslatef(-3.0999999, 4.19999981, 0)", "glRotatef(-25, 0, 0, 1)", "glCallList(3)",
                     "glPopMatrix()", "glPopMatrix()"});
    EXPECT_EQ(draw(0.0f), expected);
    // Only the wheels' own rotations follow the angle; those at 360 stand as at 0. Some need the doubled
    // angle, taken from -9 and -25 in double, rounded to single.
    for (const auto& angles : wheel_angles) {
        std::vector<std::string> calls = draw(angles[0]);
        for (size_t wheel = 0; wheel < 3; ++wheel) {
            EXPECT_EQ(recorded_calls[7 + 5 * wheel].args[0], angles[wheel])
                << angles[0] << ", wheel " << wheel;
            calls[7 + 5 * wheel] = expected[7 + 5 * wheel];
        }
        EXPECT_EQ(calls, expected) << angles[0];
    }
}

} // namespace
