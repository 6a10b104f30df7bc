// One frame drawn by the real GL (Mesa's software renderer under Xvfb) and
// read back, and the running program's window read back from the X server:
// wrong winding, culling, lighting, materials, placement or a frame never
// shown all show.
// gtest first: Xlib's macros (None, Bool) would break its templates.
#include <gtest/gtest.h>

#include "process.h"
#include "x_tools.h"
#include "scene/scene.h"
#include "window/gl_window.h"

#include <X11/Xutil.h>

#include <array>
#include <vector>

namespace {

using frame = std::vector<unsigned char>; // 300x300 RGB, rows from the bottom as GL reads them

struct dominant_counts {
    int red = 0, green = 0, blue = 0, lit = 0;
};

// Pixels of a region, by which channel clearly dominates.
dominant_counts count_region(const frame& rgb, int x0, int y0, int x1, int y1)
{
    dominant_counts counts;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const unsigned char* p = &rgb[3 * static_cast<size_t>(y * 300 + x)];
            if (p[0] + p[1] + p[2] < 30)
                continue;
            ++counts.lit;
            counts.red += p[0] > p[1] && p[0] > p[2];
            counts.green += p[1] > p[0] && p[1] > p[2];
            counts.blue += p[2] > p[0] && p[2] > p[1];
        }
    }
    return counts;
}

// Red wheel lower left, green lower right, blue upper left, whatever their turn.
void expect_wheels_in_places(const frame& rgb)
{
    // The corners away from the wheels are background.
    for (const std::array<int, 2> corner : {std::array<int, 2>{299, 299}, std::array<int, 2>{0, 299}}) {
        const unsigned char* p = &rgb[3 * static_cast<size_t>(corner[1] * 300 + corner[0])];
        EXPECT_EQ(p[0] + p[1] + p[2], 0) << corner[0] << "," << corner[1];
    }
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

    // Lit, not flat: a wheel's faces turned differently to the light differ in shade.
    int darkest = 255, brightest = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 150; ++x) {
            const unsigned char r = rgb[3 * static_cast<size_t>(y * 300 + x)];
            if (r > 10) {
                darkest = std::min<int>(darkest, r);
                brightest = std::max<int>(brightest, r);
            }
        }
    EXPECT_GT(brightest - darkest, 60);

    // Gone, so that the running program's window is the only one of its name.
    glXMakeCurrent(window.display, None, nullptr);
    XDestroyWindow(window.display, window.window);
    XSync(window.display, False);
}

// What the server holds in the program's own window once a frame-rate line
// proves that frames went by: frames drawn but never swapped leave it black.
TEST(Render, RunningProgramShowsTheWheelsInItsWindow)
{
    child_process rotavex;
    start_process(rotavex, {rotavex_path()});
    ASSERT_TRUE(read_until(
        rotavex, [&] { return contains(rotavex.out, " FPS\n"); }, 30))
        << rotavex.err;
    const std::string id = wait_for_rotavex_window();
    Display* display = XOpenDisplay(nullptr);
    ASSERT_TRUE(display && !id.empty());
    XImage* image = XGetImage(display, std::stoul(id), 0, 0, 300, 300, AllPlanes, ZPixmap);
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
