// Every way the command line ends the process, from the real binary.
#include "process.h"

#include <gtest/gtest.h>

namespace {

struct refused_case {
    std::vector<std::string> args;
    std::string first_line; // before the usage text; empty when there is none
};

void PrintTo(const refused_case& c, std::ostream* os)
{
    for (const std::string& arg : c.args)
        *os << '\'' << arg << "' ";
}

class RefusedCommandLine : public testing::TestWithParam<refused_case> {};

TEST_P(RefusedCommandLine, WritesUsageAndExitsWithOne)
{
    const refused_case& c = GetParam();
    // No display anywhere: a command line that got past parsing would fail
    // differently, so the exact bytes prove that parsing stopped.
    const run_result result = run_rotavex(c.args, {"DISPLAY="});
    const std::string name = rotavex_path();
    std::string first = c.first_line;
    if (!first.empty())
        first = name + first;
    EXPECT_EQ(result.err, first + usage_text(name));
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.exit_status, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedCommandLine,
    testing::Values(
        refused_case{{"-h"}, ""}, refused_case{{"-v", "-info", "-h", "-bogus", "-time"}, ""},
        refused_case{{"-help"}, ": Unsupported option '-help'.\n"},
        refused_case{{"--help"}, ": Unsupported option '--help'.\n"},
        refused_case{{"-di"}, ": Unsupported option '-di'.\n"},
        refused_case{{"-disp"}, ": Unsupported option '-disp'.\n"},
        refused_case{{"-t"}, ": Unsupported option '-t'.\n"},
        refused_case{{"-i"}, ": Unsupported option '-i'.\n"},
        refused_case{{"-vv"}, ": Unsupported option '-vv'.\n"},
        refused_case{{"-v", "-time", "3", "-x", "-h"}, ": Unsupported option '-x'.\n"},
        refused_case{{"-debug_use_threadsafe_api", "-q"}, ": Unsupported option '-q'.\n"},
        refused_case{{"-debug_use_threadsafe_apiX"}, ": Unsupported option '-debug_use_threadsafe_apiX'.\n"},
        refused_case{{"-display"}, ""}, refused_case{{"-v", "-time"}, ""},
        refused_case{{"-time", "2148"}, ": Time '2148' out of range (-2147 to 2147 seconds).\n"},
        refused_case{{"-time", "-2148"}, ": Time '-2148' out of range (-2147 to 2147 seconds).\n"},
        refused_case{{"-time", " 99999999999999999999x"},
                     ": Time ' 99999999999999999999x' out of range (-2147 to 2147 seconds).\n"}));

TEST(ProgramName, IsArgvZeroAsGiven)
{
    child_process child;
    // Run through a different argv[0] to see that the name is not hard-coded.
    start_process(child, {BASH_PATH, "-c", "exec -a ./my-bench \"$0\" -nope", rotavex_path()});
    ASSERT_TRUE(wait_for_exit(child, 30));
    EXPECT_EQ(child.err, "./my-bench: Unsupported option '-nope'.\n" + usage_text("./my-bench"));
    EXPECT_EQ(child.exit_status, 1);
}

TEST(DisplayFailure, NamesTheDisplayGiven)
{
    // A local display that no server of the tests takes: they start from the lowest free number.
    const run_result result = run_rotavex({"-v", "-display", ":87"});
    EXPECT_EQ(result.err, rotavex_path() + ": Error: couldn't open display ':87'\n");
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.exit_status, 1);
}

TEST(DisplayFailure, NamesDisplayVariableWithoutOption)
{
    const run_result from_env = run_rotavex({}, {"DISPLAY=:98"});
    EXPECT_EQ(from_env.err, rotavex_path() + ": Error: couldn't open display ':98'\n");
    EXPECT_EQ(from_env.exit_status, 1);

    const run_result unset = run_rotavex({"-d"}, {"DISPLAY="});
    EXPECT_EQ(unset.err, rotavex_path() + ": Error: couldn't open display ''\n");
    EXPECT_EQ(unset.out, "");
    EXPECT_EQ(unset.exit_status, 1);
}

} // namespace
