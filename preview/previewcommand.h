#pragma once

// The Print Preview command and the report's preview operation. The
// operation opens the preview window at once, runs the report into page
// images that appear as they complete, and then waits in a nested event loop
// until the window closes; the main window stays usable meanwhile and may
// start another Print or Print Preview.

class QWidget;

namespace pellion {

class ApplianceTable;
class Report;
struct PrinterCapabilities;
struct ReportTexts;

// Does nothing while the report runs. Returns when the preview window has
// closed (or the application is terminating).
void previewReport(Report& report);
// The same on a given printer's papers instead of the system's default printer.
void previewReport(Report& report, const PrinterCapabilities& printer);

// The main window's Print Preview: a new report form with the four texts, the
// preview, and the form destroyed again. Failures go to the error display.
void previewUsageReport(ApplianceTable& table, const ReportTexts& texts, QWidget* owner);

} // namespace pellion
