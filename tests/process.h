// Starts and stops the programs of the end-to-end tests, with their standard
// output and error on pipes, and waits for what they do. Each wait has a
// deadline, and a wait that misses it adds a failure that says what did not
// come. A child still running when its record goes is killed.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct child_process {
    std::string name; // the command line (each argument cut short), for failure messages
    pid_t pid = -1;
    int out_fd = -1, err_fd = -1;
    std::string out, err;
    int exit_status = -1; // set once the child has ended normally
    int signal = 0;       // set once the child was ended by a signal

    child_process() = default;
    child_process(const child_process&) = delete;
    ~child_process();
};

// argv[0] is the program's path; env entries are "NAME=value", and "NAME="
// unsets NAME.
void start_process(child_process& child, const std::vector<std::string>& argv,
                   const std::vector<std::string>& env = {});

// Reads output until the child's standard output holds text at or after from.
bool wait_for_output(child_process& child, const std::string& text, size_t from = 0, double timeout_s = 20);

// Reads output until the child ends; one that runs past timeout_s is reported
// as hung and killed.
bool wait_for_exit(child_process& child, double timeout_s = 20);

// Whether the child has not ended yet; one that has is collected.
bool still_running(child_process& child);

// Sends SIGTERM (SIGKILL if it lingers) and collects what is left.
void stop_process(child_process& child);

// The program's whole life, for runs that end by themselves.
struct run_result {
    std::string out, err;
    int exit_status;
};
run_result run_rotavex(const std::vector<std::string>& args, const std::vector<std::string>& env = {});

// Starts an Xvfb of the test's own, extra_args after the fixed ones; it picks
// a free display itself and never resets. Returns ":N", or "" if it did not start.
std::string start_private_server(child_process& server, const std::vector<std::string>& extra_args);

typedef struct _XDisplay Display; // as Xlib declares it

// Starts argv as start_process does and returns the window named "rotavex"
// once the server says it is mapped on display, or 0 if none comes in time.
unsigned long start_with_window(child_process& child, const std::vector<std::string>& argv, Display* display,
                                const std::vector<std::string>& env = {});

// A path for the probe's log, of this test process's own (so that suites of
// two builds run at once do not share it), with no file there yet.
std::string new_probe_log();

// A file's whole text, such as the probe's log; the file is removed, so
// that the next run starts a new one.
std::string read_and_remove(const std::string& path);
