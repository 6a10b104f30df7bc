#include "x_tools.h"

#include <unistd.h>

#include <chrono>

std::string tool_output(const std::vector<std::string>& argv, double timeout_s)
{
    child_process tool;
    start_process(tool, argv);
    if (!wait_for_exit(tool, timeout_s) || tool.exit_status != 0)
        return "";
    return tool.out;
}

std::string wait_for_rotavex_window(double timeout_s)
{
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < timeout_s) {
        std::string id = tool_output({"/usr/bin/xdotool", "search", "--name", "^rotavex$"});
        if (!id.empty())
            return id.substr(0, id.find('\n'));
        usleep(100000);
    }
    return "";
}

bool contains(const std::string& text, const std::string& piece)
{
    return text.find(piece) != std::string::npos;
}

size_t count_of(const std::string& text, const std::string& piece)
{
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++count;
    return count;
}
