// What users run into: a server that goes away, tiny windows, odd values.
#include "process.h"
#include "x_tools.h"

#include <gtest/gtest.h>

namespace {

TEST(Robustness, ServerGoingAwayEndsTheProcessWithAnError)
{
    // A server of our own, which this test may kill.
    child_process server;
    const std::string display = start_private_server(server, {"-screen", "0", "640x480x24"});
    ASSERT_NE(display, "") << server.err;

    child_process rotavex;
    start_process(rotavex, {rotavex_path(), "-display", display});
    ASSERT_TRUE(read_until(rotavex, 30, [&] { return contains(rotavex.out, " FPS\n"); })) << rotavex.err;
    stop_process(server);
    EXPECT_TRUE(read_until(rotavex, 5, [&] { return rotavex.pid < 0; }))
        << "still running after the server went away";
    EXPECT_TRUE(rotavex.exit_status > 0 || rotavex.signal != 0) << rotavex.exit_status;
}

TEST(Robustness, ShrinkingToOnePixelAndBackKeepsDrawing)
{
    child_process rotavex;
    start_process(rotavex, {rotavex_path(), "-v"});
    const std::string id = wait_for_rotavex_window();
    ASSERT_NE(id, "") << rotavex.err;
    read_until(rotavex, 30, [&] { return contains(rotavex.out, "GL_EXTENSIONS = "); });

    tool_output({XDOTOOL_PATH, "windowsize", id, "1", "1"});
    ASSERT_TRUE(
        read_until(rotavex, 10, [&] { return count_of(rotavex.out, "Event: ConfigureNotify\n") >= 1; }));
    read_until(rotavex, 0.5, [] { return false; });
    tool_output({XDOTOOL_PATH, "windowsize", id, "300", "300"});
    ASSERT_TRUE(
        read_until(rotavex, 10, [&] { return count_of(rotavex.out, "Event: ConfigureNotify\n") >= 2; }));

    // Frames keep coming: the next frame-rate line reports a real count.
    const size_t seen = count_of(rotavex.out, " FPS\n");
    ASSERT_TRUE(read_until(rotavex, 15, [&] { return count_of(rotavex.out, " FPS\n") > seen; }));
    EXPECT_TRUE(still_running(rotavex));
    EXPECT_EQ(rotavex.out.find("\n0 frames in"), std::string::npos);
    stop_process(rotavex);
    EXPECT_EQ(rotavex.err, "");
}

TEST(Robustness, LongAndNonUtf8ValuesAreTakenAsGiven)
{
    const std::string name = rotavex_path();
    const std::string long_name(100000, 'x');
    const run_result display = run_rotavex({"-display", long_name});
    EXPECT_EQ(display.err, name + ": Error: couldn't open display '" + long_name + "'\n");
    EXPECT_EQ(display.exit_status, 1);

    const std::string many_digits(100000, '9');
    const run_result time = run_rotavex({"-time", many_digits});
    EXPECT_EQ(time.err, name + ": Time '" + many_digits + "' out of range (-2147 to 2147 seconds).\n" +
                            usage_text(name));
    EXPECT_EQ(time.exit_status, 1);

    const std::string bytes = "\xff\xfe-\xc3\x28\x80";
    const run_result odd = run_rotavex({bytes});
    EXPECT_EQ(odd.err, name + ": Unsupported option '" + bytes + "'.\n" + usage_text(name));
    EXPECT_EQ(odd.exit_status, 1);

    const run_result odd_display = run_rotavex({"-display", bytes});
    EXPECT_EQ(odd_display.err, name + ": Error: couldn't open display '" + bytes + "'\n");
    EXPECT_EQ(odd_display.exit_status, 1);
}

} // namespace
