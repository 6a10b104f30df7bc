// Command line and start-up: the settings read from the command line, which
// every later stage only reads, and the program's name for its error lines.
#pragma once

#include <cstdint>

struct run_settings {
    const char* display_name = nullptr; // none: Xlib's default display
    bool print_info = false;
    bool verbose = false;
    std::int32_t time_limit_us = -1; // a timed run happens only when above 0
    bool use_threadsafe_x = false;
};

// argv[0], stored before any option is read; begins every error line.
extern const char* program_name;

// Returns only when every argument was accepted; any option error writes the
// usage text (after its own line, where it has one) and exits with status 1.
run_settings parse_command_line(int argc, char* argv[]);

[[noreturn]] void print_usage_and_exit();
