// Small helpers for tests that look at rotavex's window with the X tools.
#pragma once

#include "process.h"

#include <string>
#include <vector>

// Runs a tool to its end and returns its standard output ("" on failure).
std::string tool_output(const std::vector<std::string>& argv, double timeout_s = 20.0);

// The id of the window named "rotavex", waiting for it to appear; "" if it does not.
std::string wait_for_rotavex_window(double timeout_s = 20.0);

bool contains(const std::string& text, const std::string& piece);

// How many times piece occurs in text.
size_t count_of(const std::string& text, const std::string& piece);
