#pragma once

// The main window's Print command: a new report form per command, the four
// label texts, the run onto the default printer, and the form destroyed again.

#include <QString>

#include <functional>

class QWidget;

namespace pellion {

class ApplianceTable;
class ReportForm;

// The texts of the main window's fields, as they stand: the price spin field,
// the total-per-hour and total-per-day currency fields (their edit texts,
// without a currency sign; empty where a field leaves zero empty) and the
// daily-use box.
struct ReportTexts {
    QString rate;
    QString totalPerHour;
    QString totalPerDay;
    QString dailyUsage;
};

// Fills RLabel10, rptlbltotal ("$" + total per hour), rptlbltd ("$" + total
// per day) and rptlbldkwu.
void applyReportTexts(ReportForm& form, const ReportTexts& texts);

// What Print and Print Preview share: a new report form owned by the window,
// with the texts, handed to the command and destroyed when it returns; a
// failure goes to the application's error display.
void withReportForm(ApplianceTable& table, const ReportTexts& texts, QWidget* owner,
                    const std::function<void(ReportForm&)>& command);

// Without any installed printer nothing happens and nothing is shown. A
// failure while printing goes to the application's error display.
void printUsageReport(ApplianceTable& table, const ReportTexts& texts, QWidget* owner);

} // namespace pellion
