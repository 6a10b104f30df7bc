// Small helpers for tests that look at rotavex's window with the X tools, or
// that need an X server of their own.
#pragma once

#include "process.h"

#include <string>
#include <vector>

// Runs a tool to its end and returns its standard output ("" on failure).
std::string tool_output(const std::vector<std::string>& argv, double timeout_s = 20.0);

// The id of the window named "rotavex", waiting for it to appear; "" if it does not.
std::string wait_for_rotavex_window(double timeout_s = 20.0);

// Starts an Xvfb of the test's own, extra_args after the fixed ones; it picks
// a free display itself and never resets. Returns ":N", or "" if it did not start.
std::string start_private_server(child_process& server, const std::vector<std::string>& extra_args);

bool contains(const std::string& text, const std::string& piece);

// How many times piece occurs in text.
size_t count_of(const std::string& text, const std::string& piece);
