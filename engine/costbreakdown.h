#pragma once

// Where the day's money goes: each appliance's cost per day as a share of
// what all the appliances cost a day, dearest first, the tail gathered into
// one "Other" row. The Cost Breakdown window draws these rows; the arithmetic
// lives here so it is tested without a window.
//
// The shares are of the appliances' own total, not of the day total: the day
// total also holds the other daily charges and both discounts, which belong
// to no appliance and can make it zero or negative. The rows therefore add up
// to 100 %, and the day total is reconciled beside them:
//   appliances total + charges and discounts = day total.
//
// Worked example (price 0.20, other daily charges 0.50):
//   Kettle 0.2 a day, Fridge 0.576 a day, day total 1.276
//   -> Fridge 0.576 74.23 % bar 1.0; Kettle 0.2 25.77 % bar 0.347;
//      appliances total 0.776, charges and discounts 0.5.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace pellion {

// One appliance as the recalculation costed it, in the table's order. An
// appliance used 0 hours a day costs 0 a day, whatever its Cost/Day holds.
struct ApplianceCost {
    std::string name;
    double costPerDay = 0;
};

// How many appliances get a row of their own before the rest become "Other".
inline constexpr std::size_t breakdownNamedRows = 15;

inline constexpr const char* otherRowName = "Other";

struct BreakdownRow {
    std::string name; // the appliance's name, or "Other"
    double costPerDay = 0;
    // Percent of the appliances' total; none when that total is not a
    // positive finite amount, where a share means nothing.
    std::optional<double> percent;
    // The bar's length against the longest bar, from 0 to 1; costs of 0 or
    // less draw no bar.
    double barFraction = 0;
    std::size_t applianceCount = 1; // more than one only for "Other"
    bool isOther = false;
};

struct CostBreakdown {
    // Dearest first; among equal costs the appliance higher up in the list
    // comes first, as for the dearest appliance per hour. "Other" comes last
    // whatever its amount.
    std::vector<BreakdownRow> rows;
    double appliancesTotal = 0;
    double dayTotal = 0;
    double chargesAndDiscounts = 0; // day total less the appliances' total
};

CostBreakdown breakDownCosts(const std::vector<ApplianceCost>& appliances, double dayTotal,
                             std::size_t namedRows = breakdownNamedRows);

} // namespace pellion
