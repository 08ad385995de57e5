#pragma once

// The Update command's pass over the table: completes every appliance's
// volts/amps/watts triangle, writes kWh, cost per hour and cost per day into
// its record, and returns the household totals. The arithmetic is the
// engine's (engine/recalc.h); this pass only reads and writes the records.

#include "engine/recalc.h"

#include <functional>

namespace pellion {

class ApplianceTable;

// Called at the moment a record's triangle cannot be completed, with the
// failing record current, so the window can show its "Error" dialog then.
using CompletionFailedHook = std::function<void()>;

RecalcResult Recalculate(ApplianceTable& table, const RecalcInputs& inputs,
                         const CompletionFailedHook& onCompletionFailed = {});

} // namespace pellion
