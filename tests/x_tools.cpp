#include "x_tools.h"

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
    const std::string ids = tool_output({XDOTOOL_PATH, "search", "--sync", "--name", "^rotavex$"}, timeout_s);
    return ids.substr(0, ids.find('\n'));
}

std::string start_private_server(child_process& server, const std::vector<std::string>& extra_args)
{
    // The number is written to descriptor 1 once the server accepts connections.
    std::vector<std::string> argv{XVFB_PATH, "-displayfd", "1", "-noreset", "-nolisten", "tcp"};
    argv.insert(argv.end(), extra_args.begin(), extra_args.end());
    start_process(server, argv);
    if (!read_until(server, 30, [&] { return contains(server.out, "\n"); }))
        return "";
    return ":" + server.out.substr(0, server.out.find('\n'));
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
