// Runs a program with its standard output and error on pipes, for the
// end-to-end tests. A child still running when its record goes is killed.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

struct child_process {
    pid_t pid = -1;
    int out_fd = -1;
    int err_fd = -1;
    std::string out;
    std::string err;
    int exit_status = -1; // set once the child has ended normally
    int signal = 0;       // set once the child was ended by a signal

    child_process() = default;
    child_process(const child_process&) = delete;
    child_process& operator=(const child_process&) = delete;
    ~child_process();
};

// argv[0] is the program's path; env_extra entries are "NAME=value" (an
// entry "NAME=" with nothing after it, "NAME" alone, unsets it).
void start_process(child_process& child, const std::vector<std::string>& argv,
                   const std::vector<std::string>& env_extra = {});

// Reads output until done() holds, the child ends, or timeout_s passes, and
// returns whether done() held. done comes last: a lambda written in place
// before another argument is laid out differently by each clang-format.
bool read_until(child_process& child, double timeout_s, const std::function<bool()>& done);

// Reads until the child ends on its own; kills it after timeout_s. Returns
// true when it ended by itself.
bool wait_for_exit(child_process& child, double timeout_s);

// Whether the child has not ended yet; one that has is collected.
bool still_running(child_process& child);

// Sends SIGTERM (SIGKILL if it lingers) and collects what is left.
void stop_process(child_process& child);

// A path for the probe's log, of this test process's own (so that suites of
// two builds run at once do not share it), with no file there yet.
std::string new_probe_log();

// A file's whole text, such as the probe's log; the file is removed, so
// that the next run starts a new one.
std::string read_and_remove(const std::string& path);

std::string rotavex_path();
std::string test_library_path();

// The program's whole life, for runs that end by themselves.
struct run_result {
    std::string out;
    std::string err;
    int exit_status;
};
run_result run_rotavex(const std::vector<std::string>& args, const std::vector<std::string>& env_extra = {},
                       double timeout_s = 30.0);

// The usage text as the program writes it, for a given program name.
std::string usage_text(const std::string& name);
