// Command lines that are accepted, and the settings they give.
#include "app/run_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

TEST(CommandLine, AcceptedLinesGiveTheirSettings)
{
    const struct {
        std::vector<std::string> args;
        const char* display_name;
        bool print_info, verbose;
        std::int32_t time_limit_us;
        bool use_threadsafe_x;
    } table[] = {
        {{}, nullptr, false, false, -1, false},
        {{"-v"}, nullptr, true, true, -1, false},
        {{"-info"}, nullptr, true, false, -1, false},
        {{""}, nullptr, true, true, -1, false},
        {{"-"}, nullptr, true, true, -1, false},
        {{"-d"}, nullptr, false, false, -1, true},
        {{"-deb"}, nullptr, false, false, -1, true},
        {{"-debug"}, nullptr, false, false, -1, true},
        {{"-debug_use_threadsafe_api", "-d"}, nullptr, false, false, -1, true},
        {{"-time", "10", "-time", "20"}, nullptr, false, false, 20000000, false},
        {{"-display", ":1", "-display", ":2"}, ":2", false, false, -1, false},
        {{"-display", "-v"}, "-v", false, false, -1, false},
        {{"-display", ""}, "", false, false, -1, false},
        {{"-time", "-info"}, nullptr, false, false, 0, false},
        {{"-time", "2147"}, nullptr, false, false, 2147000000, false},
        {{"-time", "-2147"}, nullptr, false, false, -2147000000, false},
        {{"-time", "abc"}, nullptr, false, false, 0, false},
        {{"-time", "-5"}, nullptr, false, false, -5000000, false},
        {{"-time", "1.5"}, nullptr, false, false, 1000000, false},
        {{"-time", " \t+7x"}, nullptr, false, false, 7000000, false},
        {{"-time", "0002147"}, nullptr, false, false, 2147000000, false},
        {{"-time", "+-3"}, nullptr, false, false, 0, false},
        {{"-v", "-time", "5", "-display", ":7", "-d"}, ":7", true, true, 5000000, true},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(testing::PrintToString(row.args));
        std::vector<std::string> args = row.args;
        args.insert(args.begin(), "rotavex");
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        // display_name points into args.
        const run_settings got = parse_command_line(static_cast<int>(args.size()), argv.data());
        EXPECT_STREQ(got.display_name, row.display_name);
        EXPECT_EQ(std::make_tuple(got.print_info, got.verbose, got.time_limit_us, got.use_threadsafe_x),
                  std::make_tuple(row.print_info, row.verbose, row.time_limit_us, row.use_threadsafe_x));
    }
}

} // namespace
