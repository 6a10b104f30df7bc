// One frame drawn by the real GL (Mesa's software renderer under Xvfb), and the
// running program's window, read back: wrong winding, culling, lighting, depth,
// materials, placement or frames never shown all show.
// gtest first: Xlib's macros (None, Bool) would break its templates.
#include <gtest/gtest.h>

#include "process.h"
#include "scene/scene.h"
#include "window/gl_window.h"

#include <X11/Xutil.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

using frame = std::vector<unsigned char>; // 300x300 RGB, rows from the bottom as GL reads them

struct dominant_counts {
    int red = 0, green = 0, blue = 0;
};

// Pixels of a region, by which channel clearly dominates.
dominant_counts count_region(const frame& rgb, int x0, int y0, int x1, int y1)
{
    dominant_counts counts;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const unsigned char* p = &rgb[3 * static_cast<size_t>(y * 300 + x)];
            const bool lit = p[0] + p[1] + p[2] >= 30;
            counts.red += lit && p[0] > p[1] && p[0] > p[2];
            counts.green += lit && p[1] > p[0] && p[1] > p[2];
            counts.blue += lit && p[2] > p[0] && p[2] > p[1];
        }
    }
    return counts;
}

// Red wheel lower left, green lower right, blue upper left, whatever their turn.
void expect_wheels_in_places(const frame& rgb)
{
    // The top corners, away from the wheels, are background.
    for (const size_t at : {3 * (299 * 300 + 0), 3 * (299 * 300 + 299)})
        EXPECT_EQ(rgb[at] + rgb[at + 1] + rgb[at + 2], 0) << "corner " << at / 3 % 300 << ",299";
    const dominant_counts lower_left = count_region(rgb, 0, 0, 150, 150);
    const dominant_counts lower_right = count_region(rgb, 150, 0, 300, 150);
    const dominant_counts upper_left = count_region(rgb, 0, 150, 150, 300);
    EXPECT_GT(lower_left.red, 3000);
    EXPECT_GT(lower_left.red, 5 * (lower_left.green + lower_left.blue));
    EXPECT_GT(lower_right.green, 1000);
    EXPECT_GT(lower_right.green, lower_right.red + lower_right.blue);
    EXPECT_GT(upper_left.blue, 1000);
    EXPECT_GT(upper_left.blue, upper_left.red + upper_left.green);
}

using vec3 = std::array<double, 3>;
const double pi = std::acos(-1.0);

// v turned by angle_deg about the x (0), y (1) or z (2) axis, counterclockwise
// as seen from the axis' positive end.
vec3 turned(vec3 v, double angle_deg, int axis)
{
    const double c = std::cos(angle_deg * pi / 180.0), s = std::sin(angle_deg * pi / 180.0);
    const int i = (axis + 1) % 3, j = (axis + 2) % 3;
    const vec3 old = v;
    v[i] = c * old[i] - s * old[j];
    v[j] = s * old[i] + c * old[j];
    return v;
}

// The pixel where a point of wheel 1, 2 or 3 (in its own coordinates) lands,
// against its face's colour for a normal of any length, worked out apart from
// GL: the wheel's place and turn at angle 0, the view's turns, 40 units to the
// eye, 1 to 5 at the near plane; the light model's ambient 0.2 plus the diffuse
// term of a light from (5, 5, 10) in eye space, times the wheel's colour.
void expect_lit(const frame& rgb, int wheel, vec3 point, vec3 normal, const char* where)
{
    const double poses[3][6] = {// x, y, angle_deg, red, green, blue
                                {-3.0, -2.0, 0.0, 0.8, 0.1, 0.0},
                                {3.1, -2.0, -9.0, 0.0, 0.8, 0.2},
                                {-3.1, 4.2, -25.0, 0.2, 0.2, 1.0}};
    const double* pose = poses[wheel - 1];
    point = turned(point, pose[2], 2);
    const vec3 eye = turned(turned({point[0] + pose[0], point[1] + pose[1], point[2]}, 30.0, 1), 20.0, 0);
    const vec3 n = turned(turned(turned(normal, pose[2], 2), 30.0, 1), 20.0, 0);
    const int x = static_cast<int>(150.0 * (1.0 + 5.0 * eye[0] / (40.0 - eye[2])));
    const int y = static_cast<int>(150.0 * (1.0 + 5.0 * eye[1] / (40.0 - eye[2])));
    const double facing = (5.0 * n[0] + 5.0 * n[1] + 10.0 * n[2]) /
                          (std::sqrt(150.0) * std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]));
    const unsigned char* p = &rgb[3 * static_cast<size_t>(y * 300 + x)];
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(p[c], 255.0 * std::min(1.0, pose[3 + c] * (0.2 + std::max(0.0, facing))), 3.0)
            << where << " at " << x << "," << y << ", channel " << c;
}

TEST(Render, ThreeWheelsInTheirColoursAndPlaces)
{
    program_name = "render_tests";
    const run_settings settings;
    const gl_window window = open_gl_window(settings);
    init_scene(settings);
    draw_scene(0.0f);
    glFinish();

    frame rgb(300 * 300 * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 300, 300, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    expect_wheels_in_places(rgb);
    // Points three or more pixels inside their faces. The second and third lie
    // in front of other parts and show only with depth testing; the flank's
    // shade is right only with its normal scaled to unit length.
    const vec3 front = {0.0, 0.0, 1.0};
    expect_lit(rgb, 1, turned({2.3, 0.0, 0.5}, 180.0, 2), front, "front of wheel 1");
    expect_lit(rgb, 1, turned({3.5, 0.0, 0.5}, 7.0, 2), front, "wheel 1 in front of wheel 2's teeth");
    expect_lit(rgb, 2, turned({1.1, 0.0, 1.0}, 150.0, 2), front, "wheel 2 before its far inner wall");
    expect_lit(rgb, 3, turned({1.5, 0.0, 0.25}, 90.0, 2), front, "front of wheel 3");
    // Wheel 2's tooth 2 falls from the tip at 90 degrees to the root at 99; the
    // flank's normal is that edge turned a quarter turn clockwise.
    const vec3 tip = turned({2.35, 0.0, 0.0}, 90.0, 2), root = turned({1.65, 0.0, 0.0}, 99.0, 2);
    expect_lit(rgb, 2, {(tip[0] + root[0]) / 2, (tip[1] + root[1]) / 2, 0.0},
               {root[1] - tip[1], tip[0] - root[0], 0.0}, "falling flank of wheel 2's tooth 2");

    // Gone, so that it cannot hide the running program's window in the next test.
    glXMakeCurrent(window.display, None, nullptr);
    XDestroyWindow(window.display, window.window);
    XSync(window.display, False);
}

// What the server holds in the program's own window once a frame-rate line
// proves that frames went by: frames drawn but never swapped leave it black.
TEST(Render, RunningProgramShowsTheWheelsInItsWindow)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    child_process rotavex;
    const Window id = start_with_window(rotavex, {ROTAVEX_PATH}, display);
    ASSERT_TRUE(id != 0 && wait_for_output(rotavex, " FPS\n"));
    XImage* image = XGetImage(display, id, 0, 0, 300, 300, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    frame rgb(300 * 300 * 3);
    const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x)
            for (int c = 0; c < 3; ++c) // X's rows start at the top
                rgb[3 * static_cast<size_t>(y * 300 + x) + c] =
                    static_cast<unsigned char>((XGetPixel(image, x, 299 - y) & masks[c]) / (masks[c] / 255));
    XDestroyImage(image);
    XCloseDisplay(display);
    stop_process(rotavex);
    expect_wheels_in_places(rgb);
}

} // namespace
