// The statistics of alternated measurements, for script/bench and
// script/compare: the order in which to measure the sides of each round, and
// what the rounds say, as a median with a 95 % interval and a verdict that is
// given only where the whole interval lies on one side of the bound.
#pragma once

#include <string>
#include <vector>

// For each round, the sides 0 .. sides - 1 in the order to measure them:
// forward, then backward, and so on, so that each pair of neighbours is taken
// A B, B A, A B, ..., and a slow drift of the machine falls on both sides alike.
std::vector<std::vector<int>> balanced_order(int rounds, int sides);

// A central figure and the two ends of a range around it.
struct figure_range {
    double median;
    double low, high;
};

double median_of(std::vector<double> values);

// The median with the smallest and largest value.
figure_range spread_of(const std::vector<double>& values);

// The median difference, and Student's t 95 % interval for the mean difference.
figure_range difference_of(const std::vector<double>& differences);

// The median ratio, and the 95 % interval for their geometric mean: Student's
// t on the logarithms, so that A / B and B / A give mirrored intervals.
figure_range ratio_of(const std::vector<double>& ratios);

// "met" when the whole interval lies within [bound_low, bound_high], "missed"
// when it lies wholly outside one bound, and "not resolved" when it straddles one.
const char* target_verdict(const figure_range& interval, double bound_low, double bound_high);

// For a ratio B / A: "B is faster" when the whole interval is above 1, "B is
// slower" when it is below, "no difference resolved" when it holds 1.
const char* compare_verdict(const figure_range& ratio);

// "MEDIAN LOW HIGH", with the given number of decimals, as the scripts read it.
std::string describe(const figure_range& range, int decimals);
