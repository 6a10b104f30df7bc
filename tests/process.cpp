#include "process.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

double seconds_since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void note_status(child_process& child, int status)
{
    if (WIFEXITED(status))
        child.exit_status = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        child.signal = WTERMSIG(status);
    child.pid = -1;
}

bool reap(child_process& child, bool block)
{
    if (child.pid < 0)
        return true;
    int status = 0;
    const pid_t done = waitpid(child.pid, &status, block ? 0 : WNOHANG);
    if (done != child.pid)
        return false;
    note_status(child, status);
    return true;
}

// Reads whatever is ready within wait_ms; closes a pipe at its end.
void read_ready(child_process& child, int wait_ms)
{
    pollfd fds[2] = {{child.out_fd, POLLIN, 0}, {child.err_fd, POLLIN, 0}};
    if (poll(fds, 2, wait_ms) <= 0)
        return;
    int* fd_of[2] = {&child.out_fd, &child.err_fd};
    std::string* text_of[2] = {&child.out, &child.err};
    for (int i = 0; i < 2; ++i) {
        if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        char buffer[4096];
        const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
        if (n > 0) {
            text_of[i]->append(buffer, static_cast<size_t>(n));
        } else {
            close(*fd_of[i]);
            *fd_of[i] = -1;
        }
    }
}

void drain(child_process& child)
{
    while (child.out_fd >= 0 || child.err_fd >= 0)
        read_ready(child, 1000);
}

} // namespace

child_process::~child_process()
{
    if (pid > 0)
        stop_process(*this);
    if (out_fd >= 0)
        close(out_fd);
    if (err_fd >= 0)
        close(err_fd);
}

void start_process(child_process& child, const std::vector<std::string>& argv,
                   const std::vector<std::string>& env_extra)
{
    int out_pipe[2];
    int err_pipe[2];
    if (pipe2(out_pipe, O_CLOEXEC) != 0 || pipe2(err_pipe, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(out_pipe[1], 1);
        dup2(err_pipe[1], 2);
        // Its own process group, so that stopping it takes its children too.
        setpgid(0, 0);
        for (const std::string& entry : env_extra) {
            const auto equals = entry.find('=');
            if (equals == std::string::npos || equals + 1 == entry.size())
                unsetenv(entry.substr(0, equals).c_str());
            else
                setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
        }
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    setpgid(pid, pid);
    close(out_pipe[1]);
    close(err_pipe[1]);
    child.pid = pid;
    child.out_fd = out_pipe[0];
    child.err_fd = err_pipe[0];
}

bool read_until(child_process& child, double timeout_s, const std::function<bool()>& done)
{
    const auto start = std::chrono::steady_clock::now();
    while (!done()) {
        if (seconds_since(start) > timeout_s)
            return false;
        if (child.out_fd < 0 && child.err_fd < 0) {
            // Both pipes closed: the child has ended or soon will.
            reap(child, true);
            return done();
        }
        read_ready(child, 50);
    }
    return true;
}

bool wait_for_exit(child_process& child, double timeout_s)
{
    const auto start = std::chrono::steady_clock::now();
    while (child.out_fd >= 0 || child.err_fd >= 0) {
        if (seconds_since(start) > timeout_s) {
            stop_process(child);
            return false;
        }
        read_ready(child, 50);
    }
    while (!reap(child, false)) {
        if (seconds_since(start) > timeout_s) {
            stop_process(child);
            return false;
        }
        usleep(10000);
    }
    return true;
}

bool still_running(child_process& child)
{
    return !reap(child, false) && kill(child.pid, 0) == 0;
}

void stop_process(child_process& child)
{
    if (child.pid > 0) {
        kill(-child.pid, SIGTERM);
        for (int i = 0; i < 300 && !reap(child, false); ++i)
            usleep(10000);
        if (child.pid > 0) {
            kill(-child.pid, SIGKILL);
            reap(child, true);
        }
    }
    drain(child);
}

std::string rotavex_path()
{
    return ROTAVEX_PATH;
}

std::string test_library_path()
{
    return ROTAVEX_TEST_LIBRARY;
}

std::string new_probe_log()
{
    const std::string path = testing::TempDir() + "rotavex_probe." + std::to_string(getpid()) + ".log";
    std::remove(path.c_str());
    return path;
}

std::string read_and_remove(const std::string& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    std::remove(path.c_str());
    return text.str();
}

run_result run_rotavex(const std::vector<std::string>& args, const std::vector<std::string>& env_extra,
                       double timeout_s)
{
    std::vector<std::string> argv{rotavex_path()};
    argv.insert(argv.end(), args.begin(), args.end());
    child_process child;
    start_process(child, argv, env_extra);
    wait_for_exit(child, timeout_s);
    return {child.out, child.err, child.exit_status};
}

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
