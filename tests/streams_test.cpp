// A timed run's result reaches standard error, or the exit status says it did
// not, however a harness set up the standard streams.
#include "process.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <cstring>
#include <iterator>
#include <regex>

namespace {

struct stream_case {
    const char* name;
    const char* redirection; // redirections and assignments the shell makes as it starts rotavex
    bool reader_gone;        // standard output a pipe nobody reads any more
    int exit_status;         // -1: ended by SIGPIPE, as Unix programs are
    bool results;            // both result lines on the test's pipe, else nothing there
};

const stream_case cases[] = {
    {"InputClosed", "<&-", false, 0, true},
    {"OutputClosed", ">&-", false, 0, true},
    {"OutputFull", ">/dev/full", false, 0, true},
    {"OutputReaderGone", "", true, -1, false},
    // libGL writes to descriptor 2 while the display is open.
    {"ErrorClosed", "LIBGL_DEBUG=verbose 2>&-", false, 0, false},
    {"ErrorFull", "2>/dev/full", false, 1, false},
};

// The row's number: GoogleTest would show a row itself as raw bytes.
class StandardStreams : public testing::TestWithParam<int> {};

TEST_P(StandardStreams, ResultDeliveredOrStatusSaysSo)
{
    const stream_case& c = cases[GetParam()];
#ifndef __linux__
    // Not every BSD has the device; on Linux a missing one is a broken system.
    if (std::strstr(c.redirection, "/dev/full") && access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "this system has no /dev/full";
#endif
    child_process rotavex;
    start_process(rotavex,
                  {BASH_PATH, "-c", std::string(c.redirection) + " exec \"$0\" -time 1", ROTAVEX_PATH});
    if (c.reader_gone) {
        close(rotavex.out_fd);
        rotavex.out_fd = -1;
    }
    // The run takes some six seconds: five to the first report, one timed.
    ASSERT_TRUE(wait_for_exit(rotavex, 20));
    if (c.exit_status < 0) {
        EXPECT_EQ(rotavex.signal, SIGPIPE);
    } else {
        EXPECT_EQ(rotavex.exit_status, c.exit_status);
        EXPECT_EQ(rotavex.signal, 0);
    }
    const std::regex results(R"(COUNT\|[1-9]\d*\|1\|fps\nTIME\|1\.\d\n)");
    if (c.results)
        EXPECT_TRUE(std::regex_match(rotavex.err, results)) << rotavex.err;
    else
        EXPECT_EQ(rotavex.err, "");
}

INSTANTIATE_TEST_SUITE_P(Table, StandardStreams, testing::Range(0, static_cast<int>(std::size(cases))),
                         [](const testing::TestParamInfo<int>& info) {
                             return std::string(cases[info.param].name);
                         });

} // namespace
