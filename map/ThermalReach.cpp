#include "map/ThermalReach.h"

namespace {

// Two pixels cover the rounding of the exact test's sums, which add the origin in doubles.
constexpr double Slack = 2.0;
constexpr double Lowest = -2147483648.0, Highest = 2147483647.0;

int32_t Down(double v) { return v >= Lowest ? static_cast<int32_t>(v) : INT32_MIN; }
int32_t Up(double v) { return v <= Highest ? static_cast<int32_t>(v) : INT32_MAX; }

}  // namespace

ReachBox ReachAround(double x, double y, double reach) {
    // The comparisons fail for NaN, which so reaches everywhere; the truncation toward zero is
    // covered by the slack.
    return ReachBox{Down(x - reach - Slack), Down(y - reach - Slack), Up(x + reach + Slack), Up(y + reach + Slack)};
}
