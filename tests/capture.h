// What a piece of code writes to standard output and standard error.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

struct captured {
    std::string out, err;
};

// Code that takes its streams is handed stdout and stderr. GoogleTest flushes
// every stream as a capture starts and ends, so each line lands where it belongs.
template <typename Code>
captured capture(Code&& code)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    code();
    const std::string err = testing::internal::GetCapturedStderr();
    return {testing::internal::GetCapturedStdout(), err};
}
