#include "engine/costbreakdown.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace pellion {

namespace {

// A cost that is not a number sorts after every other, so the order stays
// total and the sort well defined.
double sortKey(double cost) {
    return std::isnan(cost) ? -std::numeric_limits<double>::infinity() : cost;
}

double barFraction(double cost, double longest) {
    if (!(cost > 0))
        return 0;
    if (std::isinf(longest))
        return std::isinf(cost) ? 1 : 0;
    return std::min(cost / longest, 1.0);
}

} // namespace

CostBreakdown breakDownCosts(const std::vector<ApplianceCost>& appliances, double dayTotal,
                             std::size_t namedRows) {
    CostBreakdown breakdown;
    breakdown.dayTotal = dayTotal;
    for (const ApplianceCost& appliance : appliances)
        breakdown.appliancesTotal += appliance.costPerDay;
    breakdown.chargesAndDiscounts = dayTotal - breakdown.appliancesTotal;

    // Only the named rows need their order; the tail is summed in any order.
    std::vector<std::size_t> order(appliances.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    const std::size_t named = std::min(namedRows, order.size());
    std::partial_sort(order.begin(), order.begin() + std::ptrdiff_t(named), order.end(),
                      [&](std::size_t a, std::size_t b) {
                          const double costA = sortKey(appliances[a].costPerDay);
                          const double costB = sortKey(appliances[b].costPerDay);
                          return costA != costB ? costA > costB : a < b;
                      });

    for (std::size_t i = 0; i < named; ++i) {
        const ApplianceCost& appliance = appliances[order[i]];
        BreakdownRow row;
        row.name = appliance.name;
        row.costPerDay = appliance.costPerDay;
        breakdown.rows.push_back(std::move(row));
    }
    if (order.size() > named) {
        BreakdownRow other;
        other.name = otherRowName;
        other.isOther = true;
        other.applianceCount = order.size() - named;
        for (std::size_t i = named; i < order.size(); ++i)
            other.costPerDay += appliances[order[i]].costPerDay;
        breakdown.rows.push_back(std::move(other));
    }

    const double total = breakdown.appliancesTotal;
    const bool sharesMeanSomething = std::isfinite(total) && total > 0;
    double longest = 0;
    for (const BreakdownRow& row : breakdown.rows)
        longest = std::max(longest, sortKey(row.costPerDay));
    for (BreakdownRow& row : breakdown.rows) {
        if (sharesMeanSomething)
            row.percent = row.costPerDay / total * 100;
        row.barFraction = barFraction(row.costPerDay, longest);
    }
    return breakdown;
}

} // namespace pellion
