#pragma once

// The Update command's arithmetic: one pass over the table that completes
// every appliance's volts/amps/watts triangle, writes kWh, cost per hour and
// cost per day into the rows, and returns the household totals. The window
// gathers the inputs and shows the outputs; nothing here knows about widgets.
// A cost or total that would not fit a double raises Error("Floating point
// overflow") after the pending change is settled and before anything else is
// written, so no infinite value reaches a record, a file or the screen.

#include <functional>
#include <optional>
#include <string>

namespace pellion {

class ApplianceTable;

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

// What the lowest cost per hour starts from, and what celeast shows when no
// appliance qualified.
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
    bool completionFailed = false;
};

// Called at the moment a record's triangle cannot be completed, with the
// failing record current, so the window can show its "Error" dialog then.
using CompletionFailedHook = std::function<void()>;

RecalcResult Recalculate(ApplianceTable& table, const RecalcInputs& inputs,
                         const CompletionFailedHook& onCompletionFailed = {});

} // namespace pellion
