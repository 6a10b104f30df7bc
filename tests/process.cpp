#include "process.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <utility>

namespace {

// Seconds on a clock that never steps; deadlines are points on it.
double now_s()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

int ms_until(double deadline)
{
    return std::max(0, static_cast<int>((deadline - now_s()) * 1000.0) + 1);
}

// Collects the child if it has ended; true when it has (or never ran).
bool reap(child_process& child, int options = WNOHANG)
{
    int status = 0;
    if (child.pid > 0 && waitpid(child.pid, &status, options) == child.pid) {
        child.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        child.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        child.pid = -1;
    }
    return child.pid < 0;
}

// Reads whatever either pipe brings before the deadline, or until wake_fd
// has something; closes a pipe at its end.
void read_ready(child_process& child, double deadline, int wake_fd = -1)
{
    pollfd fds[3] = {{child.out_fd, POLLIN, 0}, {child.err_fd, POLLIN, 0}, {wake_fd, POLLIN, 0}};
    poll(fds, 3, ms_until(deadline));
    for (int i = 0; i < 2; ++i) {
        int& fd = i == 0 ? child.out_fd : child.err_fd;
        char buffer[4096];
        const ssize_t n = fds[i].revents ? read(fd, buffer, sizeof buffer) : -1;
        if (n > 0)
            (i == 0 ? child.out : child.err).append(buffer, static_cast<size_t>(n));
        else if (n == 0 || fds[i].revents)
            close(std::exchange(fd, -1));
    }
}

// Says what the child did not do by the deadline, and all it wrote.
void add_missed(const child_process& child, const std::string& what, double timeout_s)
{
    ADD_FAILURE() << child.name << (child.out_fd < 0 ? " ended" : " still ran") << " without " << what
                  << " (deadline " << timeout_s << " s); its standard output:\n"
                  << child.out << "\nits standard error:\n"
                  << child.err;
}

// A child's pipes close as it ends, and it can be collected a moment later.
bool wait_for_end(child_process& child, double deadline)
{
    while ((child.out_fd >= 0 || child.err_fd >= 0) && now_s() < deadline)
        read_ready(child, deadline);
    while (!reap(child) && now_s() < deadline)
        usleep(1000);
    return child.pid < 0;
}

} // namespace

child_process::~child_process()
{
    stop_process(*this);
}

void start_process(child_process& child, const std::vector<std::string>& argv,
                   const std::vector<std::string>& env)
{
    int out_pipe[2];
    int err_pipe[2];
    pid_t pid = -1;
    if (pipe2(out_pipe, O_CLOEXEC) != 0 || pipe2(err_pipe, O_CLOEXEC) != 0 || (pid = fork()) < 0)
        throw std::runtime_error("no pipe or no process for " + argv[0]);
    if (pid == 0) {
        dup2(out_pipe[1], 1);
        dup2(err_pipe[1], 2);
        // Its own process group, so that stopping it takes its children too.
        setpgid(0, 0);
        for (const std::string& entry : env)
            entry.back() == '=' ? unsetenv(entry.substr(0, entry.size() - 1).c_str())
                                : putenv(const_cast<char*>(entry.c_str()));
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
    for (const std::string& arg : argv)
        child.name += (child.name.empty() ? "" : " ") + arg.substr(0, 80);
    child.pid = pid;
    child.out_fd = out_pipe[0];
    child.err_fd = err_pipe[0];
}

bool wait_for_output(child_process& child, const std::string& text, size_t from, double timeout_s)
{
    const double deadline = now_s() + timeout_s;
    while (child.out.find(text, from) == std::string::npos) {
        if (child.out_fd < 0 || now_s() >= deadline) {
            add_missed(child, "writing \"" + text + "\"", timeout_s);
            return false;
        }
        read_ready(child, deadline);
    }
    return true;
}

bool wait_for_exit(child_process& child, double timeout_s)
{
    if (wait_for_end(child, now_s() + timeout_s))
        return true;
    ADD_FAILURE() << child.name << " hung: still running after " << timeout_s << " s";
    stop_process(child);
    return false;
}

bool still_running(child_process& child)
{
    return !reap(child);
}

void stop_process(child_process& child)
{
    if (child.pid > 0)
        kill(-child.pid, SIGTERM);
    if (!wait_for_end(child, now_s() + 3)) {
        kill(-child.pid, SIGKILL);
        reap(child, 0);
    }
    for (int* fd : {&child.out_fd, &child.err_fd})
        if (*fd >= 0)
            close(std::exchange(*fd, -1));
}

run_result run_rotavex(const std::vector<std::string>& args, const std::vector<std::string>& env)
{
    std::vector<std::string> argv{ROTAVEX_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    child_process child;
    start_process(child, argv, env);
    wait_for_exit(child);
    return {child.out, child.err, child.exit_status};
}

std::string start_private_server(child_process& server, const std::vector<std::string>& extra_args)
{
    // The number is written to descriptor 1 once the server accepts connections.
    std::vector<std::string> argv{XVFB_PATH, "-displayfd", "1", "-noreset", "-nolisten", "tcp"};
    argv.insert(argv.end(), extra_args.begin(), extra_args.end());
    start_process(server, argv);
    if (!wait_for_output(server, "\n", 0, 30))
        return "";
    return ":" + server.out.substr(0, server.out.find('\n'));
}

unsigned long start_with_window(child_process& child, const std::vector<std::string>& argv, Display* display,
                                const std::vector<std::string>& env)
{
    // Told of every window mapped on the root from before the program starts,
    // so that its window cannot come unseen.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    start_process(child, argv, env);
    const double deadline = now_s() + 20;
    while (child.out_fd >= 0 && now_s() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            char* name = nullptr;
            if (event.type == MapNotify && XFetchName(display, event.xmap.window, &name)) {
                const bool found = std::string(name) == "rotavex";
                XFree(name);
                if (found)
                    return event.xmap.window;
            }
        }
        read_ready(child, deadline, ConnectionNumber(display));
    }
    add_missed(child, "mapping a window named rotavex", 20);
    return 0;
}

std::string new_probe_log()
{
    const std::string path = testing::TempDir() + "rotavex_probe." + std::to_string(getpid()) + ".log";
    unlink(path.c_str());
    return path;
}

std::string read_and_remove(const std::string& path)
{
    std::ifstream file(path);
    std::string text;
    std::getline(file, text, '\0');
    unlink(path.c_str());
    return text;
}
