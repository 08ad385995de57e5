#pragma once

// The Update command's pass over the table: gathers every record's values,
// has the engine work out the results (engine/recalc.h), then writes each
// appliance's completed triangle, kWh, cost per hour and cost per day into
// its record in one batch. When a record's triangle cannot be completed the
// pass stops there and leaves that record current; the result names it, and
// the caller tells the user.

#include "engine/recalc.h"

namespace pellion {

class ApplianceTable;

RecalcResult Recalculate(ApplianceTable& table, const RecalcInputs& inputs);

} // namespace pellion
