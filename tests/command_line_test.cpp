// Command lines that are accepted, and the settings they give.
#include "app/run_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// display_name points into args, which must outlive the settings.
run_settings parse(std::vector<std::string>& args)
{
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    return parse_command_line(static_cast<int>(args.size()), argv.data());
}

struct accepted_case {
    std::vector<std::string> args;
    const char* display_name;
    bool print_info;
    bool verbose;
    std::int32_t time_limit_us;
    bool use_threadsafe_x;
};

void PrintTo(const accepted_case& c, std::ostream* os)
{
    for (const std::string& arg : c.args)
        *os << '\'' << arg << "' ";
}

class AcceptedCommandLine : public testing::TestWithParam<accepted_case> {};

TEST_P(AcceptedCommandLine, GivesItsSettings)
{
    const accepted_case& expected = GetParam();
    std::vector<std::string> args = expected.args;
    args.insert(args.begin(), "rotavex");
    const run_settings got = parse(args);
    if (expected.display_name)
        EXPECT_STREQ(got.display_name, expected.display_name);
    else
        EXPECT_EQ(got.display_name, nullptr);
    EXPECT_EQ(got.print_info, expected.print_info);
    EXPECT_EQ(got.verbose, expected.verbose);
    EXPECT_EQ(got.time_limit_us, expected.time_limit_us);
    EXPECT_EQ(got.use_threadsafe_x, expected.use_threadsafe_x);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AcceptedCommandLine,
    testing::Values(
        accepted_case{{}, nullptr, false, false, -1, false},
        accepted_case{{"-v"}, nullptr, true, true, -1, false},
        accepted_case{{"-info"}, nullptr, true, false, -1, false},
        accepted_case{{""}, nullptr, true, true, -1, false},
        accepted_case{{"-"}, nullptr, true, true, -1, false},
        accepted_case{{"-d"}, nullptr, false, false, -1, true},
        accepted_case{{"-deb"}, nullptr, false, false, -1, true},
        accepted_case{{"-debug"}, nullptr, false, false, -1, true},
        accepted_case{{"-debug_use_threadsafe_api", "-d"}, nullptr, false, false, -1, true},
        accepted_case{{"-time", "10", "-time", "20"}, nullptr, false, false, 20000000, false},
        accepted_case{{"-display", ":1", "-display", ":2"}, ":2", false, false, -1, false},
        accepted_case{{"-display", "-v"}, "-v", false, false, -1, false},
        accepted_case{{"-display", ""}, "", false, false, -1, false},
        accepted_case{{"-time", "-info"}, nullptr, false, false, 0, false},
        accepted_case{{"-time", "2147"}, nullptr, false, false, 2147000000, false},
        accepted_case{{"-time", "-2147"}, nullptr, false, false, -2147000000, false},
        accepted_case{{"-time", "abc"}, nullptr, false, false, 0, false},
        accepted_case{{"-time", "-5"}, nullptr, false, false, -5000000, false},
        accepted_case{{"-time", "1.5"}, nullptr, false, false, 1000000, false},
        accepted_case{{"-time", " \t+7x"}, nullptr, false, false, 7000000, false},
        accepted_case{{"-time", "0002147"}, nullptr, false, false, 2147000000, false},
        accepted_case{{"-time", "+-3"}, nullptr, false, false, 0, false},
        accepted_case{
            {"-v", "-time", "5", "-display", "host:0", "-d"}, "host:0", true, true, 5000000, true}));

} // namespace
