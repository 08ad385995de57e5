#pragma once

// pellion --pdf FILE and pellion --summary. The main window is built as at
// every start (settings file, ledger, first recalculation) and never shown,
// so the figures and the report are exactly those the window would show and
// print. With no one at a screen to answer a box, whatever start-up would
// show in one (a setting that does not parse, an appliance missing two of
// its volts, amps and watts) goes to standard error instead, and the run
// then fails with status 1 and writes nothing.

#include "app/commandline.h"
#include "app/mainwindow.h"

namespace pellion {

// Needs the application object. The PDF replaces an existing file.
CommandLineAnswer runWithoutWindow(const CommandLine& line,
                                   const MainWindow::Options& options = {});

// The totals as the window shows them, one per line:
//   Cost per hour: 0.05317
//   Cost per day: 1.27600
//   Cost per month: 38.79040
//   Cost per quarter: 116.37120
//   Cost per year: 465.48480
//   Daily kWh: 3.88
//   Cheapest appliance: Fridge (0.02400 per hour)
//   Dearest appliance: Kettle (0.40000 per hour)
// Amounts carry the fields' five decimals and the user's decimal separator,
// but neither the currency sign nor thousands separators, so that scripts
// can read them.
QString summaryText(const MainWindow& window);

} // namespace pellion
