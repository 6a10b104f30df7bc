// Option matching, the "-time" number and the usage text.
#include "app/run_settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

const char* program_name = "";

namespace {

// The longest timed run whose microseconds fit the signed 32-bit limit.
constexpr long max_time_s = 2147;
constexpr std::int32_t us_per_s = 1000000;

bool is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads t the way atoi does (white space, sign, digits up to the first other
// character, no digits reading 0), but refuses a value outside +-2147 instead
// of overflowing: seconds beyond that do not fit the microsecond limit.
std::int32_t read_time_limit_us(const char* text)
{
    const char* c = text;
    while (is_space(*c))
        ++c;
    bool negative = false;
    if (*c == '+' || *c == '-')
        negative = *c++ == '-';
    long seconds = 0;
    for (; *c >= '0' && *c <= '9'; ++c) {
        seconds = seconds * 10 + (*c - '0');
        if (seconds > max_time_s) {
            std::fprintf(stderr, "%s: Time '%s' out of range (-2147 to 2147 seconds).\n", program_name, text);
            print_usage_and_exit();
        }
    }
    const std::int32_t whole = static_cast<std::int32_t>(seconds);
    return (negative ? -whole : whole) * us_per_s;
}

// True when arg, compared over its own length, is a leading piece of literal.
bool is_prefix_of(const char* arg, const char* literal)
{
    return std::strncmp(literal, arg, std::strlen(arg)) == 0;
}

} // namespace

void print_usage_and_exit()
{
    std::fprintf(stderr, "usage:  %s [options]\n", program_name);
    std::fprintf(stderr, "-display\tSet X11 display for output.\n");
    std::fprintf(stderr, "-info\t\tPrint additional GLX information.\n");
    std::fprintf(stderr, "-time t\t\tRun for t seconds and report performance.\n");
    std::fprintf(stderr, "-h\t\tPrint this help page.\n");
    std::fprintf(stderr, "-v\t\tVerbose output.\n");
    std::fprintf(stderr, "\n");
    std::exit(1);
}

run_settings parse_command_line(int argc, char* argv[])
{
    run_settings settings;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "-display") == 0) {
            if (++i >= argc)
                print_usage_and_exit();
            settings.display_name = argv[i];
        } else if (std::strcmp(arg, "-info") == 0) {
            settings.print_info = true;
        } else if (std::strcmp(arg, "-time") == 0) {
            if (++i >= argc)
                print_usage_and_exit();
            settings.time_limit_us = read_time_limit_us(argv[i]);
        } else if (is_prefix_of(arg, "-v")) {
            // Also the empty argument and a lone hyphen.
            settings.verbose = true;
            settings.print_info = true;
        } else if (is_prefix_of(arg, "-debug_use_threadsafe_api")) {
            // From "-d" on: "-d", "-deb", "-debug" all count.
            settings.use_threadsafe_x = true;
        } else if (std::strcmp(arg, "-h") == 0) {
            print_usage_and_exit();
        } else {
            std::fprintf(stderr, "%s: Unsupported option '%s'.\n", program_name, arg);
            print_usage_and_exit();
        }
    }
    return settings;
}
