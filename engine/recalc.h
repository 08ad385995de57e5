#pragma once

// The Update command's arithmetic: completing each appliance's volts/amps/watts
// triangle, its costs, and the household totals from the day's energy, the
// prices and the discounts. It works on the records' values alone; the pass
// that gathers them from the table and writes the results back lives beside
// the table (ledger/costpass.h). Nothing here knows about the table or widgets.
// A cost or total that would not fit a double raises Error("Floating point
// overflow"), so no infinite value reaches a record, a file or the screen.

#include "engine/costbreakdown.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace pellion {

// Completes the triangle from any two of the three values; false when no case
// applies or the arithmetic fails. Values are rounded half up to 4 decimals.
bool calckwh(double& amperage, double& voltage, double& wattage);

struct RecalcInputs {
    double pricePerKwh = 0;   // sechgphr
    double dailyCharges = 0;  // sedailycharges
    int discountKwh = 0;      // senoofhrsdisc
    double discountPrice = 0; // sekwhdisc
    double dailyDiscount = 0; // sedcdisc
    bool kwhDiscountOn = false;
    bool dailyDiscountOn = false;
};

// What the lowest cost per hour starts from; it stays the least when no
// appliance qualified (leastName is then empty).
inline constexpr double startingLeast = 1000000;

// One record's values as the table stores them; an empty value reads 0.
struct ApplianceValues {
    std::string name; // a record without a name is left alone
    double voltage = 0;
    double amperage = 0;
    double wattage = 0;
    double hours = 0; // of use a day
};

// What the recalculation gives one named record: its completed triangle and
// its costs.
struct ApplianceResult {
    double wattage = 0;
    double amperage = 0;
    double voltage = 0;
    double kwhPerHour = 0;
    double costPerHour = 0;
    std::optional<double> costPerDay; // only with hours of use
};

struct RecalcResult {
    double dayTotal = 0;          // cetpd
    double hourTotal = 0;         // CE
    double monthTotal = 0;        // cecostmth
    double quarterTotal = 0;      // cecostqtr
    double yearTotal = 0;         // cecostyr
    double most = 0;              // cemost
    double least = startingLeast; // celeast
    std::string dailyEnergyText;  // eb_dailyusage
    // None when no record qualified: lblmst and lbllst then keep their texts.
    std::optional<std::string> mostName;
    std::optional<std::string> leastName;
    // The records the pass costed, in the table's order, for the breakdown.
    std::vector<ApplianceCost> applianceCosts;
    // One entry per record before the failing one (all of them when none
    // failed), in the order given; none for a record without a name.
    std::vector<std::optional<ApplianceResult>> appliances;
    // The first named record whose triangle cannot be completed: the pass
    // stops there, and it and the records after it keep their values.
    std::optional<std::size_t> failingRecord;
};

// The whole Update: every record's results, the totals and their texts.
// Error("Floating point overflow") when any result does not fit a double, so
// the caller writes nothing.
RecalcResult recalculate(const std::vector<ApplianceValues>& appliances,
                         const RecalcInputs& inputs);

// The value itself; Error("Floating point overflow") when it is not finite.
double finiteOrOverflow(double value);

// Fills in the day, hour, month, quarter and year totals and the daily energy
// text from the energy of one day in kWh.
void completeTotals(RecalcResult& result, double dailyEnergy, const RecalcInputs& inputs);

} // namespace pellion
