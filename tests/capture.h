// What a piece of code writes to standard output and standard error.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

struct captured {
    std::string out, err;
};

// Code that takes its streams is handed stdout and stderr; whatever is left in
// their buffers is flushed on either side, so it lands where it belongs.
template <typename Code>
captured capture(Code&& code)
{
    std::fflush(nullptr);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    code();
    std::fflush(nullptr);
    const std::string err = testing::internal::GetCapturedStderr();
    return {testing::internal::GetCapturedStdout(), err};
}
