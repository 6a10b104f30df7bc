// Every way the command line ends the process, from the real binary.
#include "process.h"

#include <gtest/gtest.h>

namespace {

std::string usage_text(const std::string& name)
{
    return "usage:  " + name +
           " [options]\n"
           "-display\tSet X11 display for output.\n"
           "-info\t\tPrint additional GLX information.\n"
           "-time t\t\tRun for t seconds and report performance.\n"
           "-h\t\tPrint this help page.\n"
           "-v\t\tVerbose output.\n"
           "\n";
}

const auto unsupported = [](const std::string& arg) { return ": Unsupported option '" + arg + "'.\n"; };
const auto out_of_range = [](const std::string& time) {
    return ": Time '" + time + "' out of range (-2147 to 2147 seconds).\n";
};

struct cli_case {
    std::vector<std::string> args;
    std::string message; // after the program name; empty when there is none
    bool usage;          // the usage text comes after it
    std::vector<std::string> env;
    std::string name = ROTAVEX_PATH; // argv[0]
};

cli_case refused(const std::vector<std::string>& args, const std::string& message = "")
{
    return {args, message, true, {}};
}

// Past the command line: the display named, taken as given, does not open.
cli_case no_display(const std::vector<std::string>& args, const std::string& name,
                    const std::vector<std::string>& env = {})
{
    return {args, ": Error: couldn't open display '" + name + "'\n", false, env};
}

TEST(CommandLine, EveryRefusalAndEveryDisplayFailureEndsWithStatusOne)
{
    const std::string long_value(100000, 'x'), many_digits(100000, '9'), bytes = "\xff\xfe-\xc3\x28\x80";
    const cli_case cases[] = {
        refused({"-h"}),
        refused({"-v", "-info", "-h", "-bogus", "-time"}),
        refused({"-help"}, unsupported("-help")),
        refused({"--help"}, unsupported("--help")),
        refused({"-di"}, unsupported("-di")),
        refused({"-disp"}, unsupported("-disp")),
        refused({"-t"}, unsupported("-t")),
        refused({"-i"}, unsupported("-i")),
        refused({"-vv"}, unsupported("-vv")),
        refused({"-v", "-time", "3", "-x", "-h"}, unsupported("-x")),
        refused({"-debug_use_threadsafe_api", "-q"}, unsupported("-q")),
        refused({"-debug_use_threadsafe_apiX"}, unsupported("-debug_use_threadsafe_apiX")),
        refused({bytes}, unsupported(bytes)),
        refused({"-display"}),
        refused({"-v", "-time"}),
        refused({"-time", "2148"}, out_of_range("2148")),
        refused({"-time", "-2148"}, out_of_range("-2148")),
        refused({"-time", " 99999999999999999999x"}, out_of_range(" 99999999999999999999x")),
        refused({"-time", many_digits}, out_of_range(many_digits)),
        // No server of the tests takes :87 or :98: they start from the lowest free number.
        no_display({"-v", "-display", ":87"}, ":87"),
        no_display({"-display", long_value}, long_value),
        no_display({"-display", bytes}, bytes),
        no_display({}, ":98", {"DISPLAY=:98"}),
        no_display({"-d"}, ""),
        // The name is argv[0] as given, not the program's path.
        {{"-nope"}, unsupported("-nope"), true, {}, "./my-bench"},
    };
    for (const cli_case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args).substr(0, 200));
        std::vector<std::string> argv{BASH_PATH, "-c", "exec -a \"$0\" \"$@\"", c.name, ROTAVEX_PATH};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        std::vector<std::string> env{"DISPLAY="};
        env.insert(env.end(), c.env.begin(), c.env.end());
        child_process rotavex;
        start_process(rotavex, argv, env);
        ASSERT_TRUE(wait_for_exit(rotavex));
        EXPECT_EQ(rotavex.err,
                  (c.message.empty() ? "" : c.name + c.message) + (c.usage ? usage_text(c.name) : ""));
        EXPECT_EQ(rotavex.out, "");
        EXPECT_EQ(rotavex.exit_status, 1);
    }
}

} // namespace
