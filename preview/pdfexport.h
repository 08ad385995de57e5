#pragma once

// The usage report as a PDF document, from the main window's File > Export
// PDF..., the preview's Save as PDF and the command line's --pdf. The report
// runs onto a print target whose destination is Qt's PDF writer, so the PDF
// has the bands, page breaks and texts a print has, on the report's own
// paper (Letter) whatever printer is installed, or none. The file appears
// only once it is complete: it is written beside its final name and renamed
// over it, so a failure leaves an existing file as it was.

#include <QString>

class QWidget;

namespace pellion {

class ApplianceTable;
class PreviewTarget;
class Report;
struct ReportTexts;

// Runs the report into the file. Does nothing and returns false while the
// report is running already. Fails with "Cannot create file <name>" or
// "Stream write error".
bool exportReportPdf(Report& report, const QString& fileName);

// The preview's Save as PDF: pages the preview's report produced are run
// anew by that report onto the PDF, queued like a print from the preview; a
// loaded report file's stored pages go into the PDF as they are, each on a
// page of its own size.
void savePreviewAsPdf(PreviewTarget& target, const QString& fileName);

// The main window's Export PDF: a new report form with the four texts,
// exported and destroyed again. A failure goes to the error display.
void exportUsageReportPdf(ApplianceTable& table, const ReportTexts& texts, const QString& fileName,
                          QWidget* owner);

// The file-save dialog for a PDF, then, for a file that exists, whether to
// replace it. Empty when the user cancelled either.
QString askPdfFileName(const QString& title, QWidget* parent);

} // namespace pellion
