#pragma once

// The Update command's arithmetic: completing an appliance's volts/amps/watts
// triangle, and the household totals from the day's energy, the prices and
// the discounts. The pass that applies it to every record lives beside the
// table (ledger/costpass.h); nothing here knows about the table or widgets.
// A cost or total that would not fit a double raises Error("Floating point
// overflow"), so no infinite value reaches a record, a file or the screen.

#include "engine/costbreakdown.h"

#include <optional>
#include <string>
#include <vector>

namespace pellion {

// Completes the triangle from any two of the three values; false when no case
// applies or the arithmetic fails. Values are rounded half up to 4 decimals.
bool calckwh(double& amperage, double& voltage, double& wattage);

struct RecalcInputs {
    double pricePerKwh = 0;       // sechgphr
    double dailyCharges = 0;      // sedailycharges
    int discountKwh = 0;          // senoofhrsdisc
    double discountPrice = 0;     // sekwhdisc
    double dailyDiscount = 0;     // sedcdisc
    bool kwhDiscountOn = false;   // kwhdiscflag
    bool dailyDiscountOn = false; // dailydiscflag
};

// What the lowest cost per hour starts from; it stays the least when no
// appliance qualified (leastName is then empty).
inline constexpr double startingLeast = 1000000;

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
    bool completionFailed = false;
};

// The value itself; Error("Floating point overflow") when it is not finite.
double finiteOrOverflow(double value);

// Fills in the day, hour, month, quarter and year totals and the daily energy
// text from the energy of one day in kWh.
void completeTotals(RecalcResult& result, double dailyEnergy, const RecalcInputs& inputs);

} // namespace pellion
