// Runs a command to its end and writes its peak resident memory, in KiB, to
// a file, for script/bench. Linux and FreeBSD both keep that figure for a
// child that has been waited for, and both count it in KiB, so one small
// program serves where their time commands differ. The command's streams
// pass through, and its exit status becomes this program's.
//
//   peak_resident FILE command [arguments]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FILE command [arguments]\n", argv[0]);
        return 2;
    }
    const pid_t child = fork();
    if (child < 0) {
        std::perror("peak_resident: fork");
        return 1;
    }
    if (child == 0) {
        execvp(argv[2], argv + 2);
        std::perror(argv[2]);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            std::perror("peak_resident: wait4");
            return 1;
        }
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out || std::fprintf(out, "%ld\n", usage.ru_maxrss) < 0 || std::fclose(out) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
}
