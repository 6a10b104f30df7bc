#include "rounds.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numeric>

namespace {

// Student's t at 97.5 %, by degrees of freedom from 1 to 30.
constexpr double t_975_table[] = {
    12.706205, 4.302653, 3.182446, 2.776445, 2.570582, 2.446912, 2.364624, 2.306004, 2.262157, 2.228139,
    2.200985,  2.178813, 2.160369, 2.144787, 2.131450, 2.119905, 2.109816, 2.100922, 2.093024, 2.085963,
    2.079614,  2.073873, 2.068658, 2.063899, 2.059539, 2.055529, 2.051831, 2.048407, 2.045230, 2.042272};

// Beyond the table, the Cornish-Fisher expansion around the normal quantile,
// within 1e-6 of the true value from 31 degrees of freedom on.
double t_975(int freedom)
{
    if (freedom <= 30)
        return t_975_table[freedom - 1];
    const double z = 1.959963984540054, v = freedom;
    return z + (z * z * z + z) / (4 * v) + (5 * std::pow(z, 5) + 16 * z * z * z + 3 * z) / (96 * v * v) +
           (3 * std::pow(z, 7) + 19 * std::pow(z, 5) + 17 * z * z * z - 15 * z) / (384 * v * v * v);
}

// mean +- t * s / sqrt(n); with fewer than two values nothing is known.
figure_range mean_interval(const std::vector<double>& values)
{
    const size_t n = values.size();
    if (n < 2)
        return {0.0, -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
    const double mean = std::accumulate(values.begin(), values.end(), 0.0) / n;
    double squares = 0.0;
    for (double v : values)
        squares += (v - mean) * (v - mean);
    const double half = t_975(static_cast<int>(n - 1)) * std::sqrt(squares / (n - 1)) / std::sqrt(n);
    return {mean, mean - half, mean + half};
}

} // namespace

std::vector<std::vector<int>> balanced_order(int rounds, int sides)
{
    std::vector<std::vector<int>> order;
    for (int round = 0; round < rounds; ++round) {
        std::vector<int> sequence(static_cast<size_t>(std::max(sides, 0)));
        std::iota(sequence.begin(), sequence.end(), 0);
        if (round % 2 == 1)
            std::reverse(sequence.begin(), sequence.end());
        order.push_back(sequence);
    }
    return order;
}

double median_of(std::vector<double> values)
{
    if (values.empty())
        return std::numeric_limits<double>::quiet_NaN();
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

figure_range spread_of(const std::vector<double>& values)
{
    if (values.empty())
        return {median_of(values), median_of(values), median_of(values)};
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return {median_of(values), *low, *high};
}

figure_range difference_of(const std::vector<double>& differences)
{
    const figure_range mean = mean_interval(differences);
    return {median_of(differences), mean.low, mean.high};
}

figure_range ratio_of(const std::vector<double>& ratios)
{
    std::vector<double> logs;
    for (double r : ratios)
        logs.push_back(std::log(r));
    const figure_range mean = mean_interval(logs);
    return {median_of(ratios), std::exp(mean.low), std::exp(mean.high)};
}

const char* target_verdict(const figure_range& interval, double bound_low, double bound_high)
{
    if (interval.low >= bound_low && interval.high <= bound_high)
        return "met";
    if (interval.high < bound_low || interval.low > bound_high)
        return "missed";
    return "not resolved";
}

const char* compare_verdict(const figure_range& ratio)
{
    if (ratio.low > 1.0)
        return "B is faster";
    if (ratio.high < 1.0)
        return "B is slower";
    return "no difference resolved";
}

std::string describe(const figure_range& range, int decimals)
{
    char text[128];
    std::snprintf(text, sizeof text, "%.*f %.*f %.*f", decimals, range.median, decimals, range.low, decimals,
                  range.high);
    return text;
}
