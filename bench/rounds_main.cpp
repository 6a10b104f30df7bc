// The statistics of script/bench and script/compare, for the shell. Figures
// come on standard input, a round a line; the result is one line.
//
//   rounds order ROUNDS SIDE...   the sides of each round in the order to measure them, a round a line
//   rounds spread [DECIMALS]      one figure a line: MEDIAN MIN MAX (default 1 decimal)
//   rounds difference [DECIMALS]  "A B" a line, of A - B: MEDIAN LOW HIGH (the 95 % interval)
//   rounds ratio [LOW [HIGH]]     "A B" a line, of A / B: MEDIAN LOW HIGH, and with a target
//                                 from LOW (to HIGH) its verdict: met, missed or not resolved
//   rounds compare                "A B" a line, of B / A: MEDIAN LOW HIGH and B is faster,
//                                 B is slower or no difference resolved
#include "rounds.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

[[noreturn]] void usage()
{
    std::fputs("usage: rounds order ROUNDS SIDE... | spread [DECIMALS] | difference [DECIMALS] | ratio [LOW "
               "[HIGH]] | "
               "compare\n",
               stderr);
    std::exit(2);
}

double number(const char* text)
{
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(value)) {
        std::fprintf(stderr, "rounds: not a number: '%s'\n", text);
        std::exit(2);
    }
    return value;
}

// Each line's words as numbers; every line must have as many as the first.
std::vector<std::vector<double>> read_rows(size_t words)
{
    std::vector<std::vector<double>> rows;
    char line[4096];
    while (std::fgets(line, sizeof line, stdin)) {
        std::vector<double> row;
        for (char* word = std::strtok(line, " \t\n"); word; word = std::strtok(nullptr, " \t\n"))
            row.push_back(number(word));
        if (row.empty())
            continue;
        if (row.size() != words) {
            std::fprintf(stderr, "rounds: %zu figures on a line, not %zu\n", row.size(), words);
            std::exit(2);
        }
        rows.push_back(row);
    }
    if (rows.empty()) {
        std::fputs("rounds: no figures on standard input\n", stderr);
        std::exit(2);
    }
    return rows;
}

// A / B of each pair; a rate of 0 or less is no rate.
std::vector<double> ratios(const std::vector<std::vector<double>>& pairs, bool b_over_a)
{
    std::vector<double> result;
    for (const std::vector<double>& pair : pairs) {
        if (pair[0] <= 0 || pair[1] <= 0) {
            std::fputs("rounds: a ratio needs figures above 0\n", stderr);
            std::exit(2);
        }
        result.push_back(b_over_a ? pair[1] / pair[0] : pair[0] / pair[1]);
    }
    return result;
}

// The decimals to print a figure with, 1 unless given.
int decimals(int argc, char* argv[])
{
    if (argc == 2)
        return 1;
    const double wanted = number(argv[2]);
    if (argc > 3 || wanted < 0 || wanted > 9 || wanted != std::floor(wanted))
        usage();
    return static_cast<int>(wanted);
}

} // namespace

int main(int argc, char* argv[])
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "order" && argc >= 4) {
        const double rounds = number(argv[2]);
        if (rounds < 1 || rounds != std::floor(rounds) || rounds > 100000)
            usage();
        for (const std::vector<int>& round : balanced_order(static_cast<int>(rounds), argc - 3))
            for (size_t i = 0; i < round.size(); ++i)
                std::printf("%s%c", argv[3 + round[i]], i + 1 < round.size() ? ' ' : '\n');
    } else if (command == "spread") {
        const int places = decimals(argc, argv);
        std::vector<double> values;
        for (const std::vector<double>& row : read_rows(1))
            values.push_back(row[0]);
        std::puts(describe(spread_of(values), places).c_str());
    } else if (command == "difference") {
        const int places = decimals(argc, argv);
        std::vector<double> differences;
        for (const std::vector<double>& pair : read_rows(2))
            differences.push_back(pair[0] - pair[1]);
        std::puts(describe(difference_of(differences), places).c_str());
    } else if (command == "ratio" && argc <= 4) {
        const double bound_low = argc >= 3 ? number(argv[2]) : 0.0;
        const double bound_high = argc == 4 ? number(argv[3]) : std::numeric_limits<double>::infinity();
        const figure_range ratio = ratio_of(ratios(read_rows(2), false));
        if (argc == 2)
            std::puts(describe(ratio, 3).c_str());
        else
            std::printf("%s %s\n", describe(ratio, 3).c_str(), target_verdict(ratio, bound_low, bound_high));
    } else if (command == "compare" && argc == 2) {
        const figure_range ratio = ratio_of(ratios(read_rows(2), true));
        std::printf("%s %s\n", describe(ratio, 3).c_str(), compare_verdict(ratio));
    } else {
        usage();
    }
    return std::ferror(stdout) || std::fflush(stdout) != 0 ? 1 : 0;
}
