#pragma once

// Test support: what a printed PDF holds, read with poppler's pdfinfo and
// pdftotext, and where the cups-pdf queue that cups-setup.sh makes puts its
// output.

#include <QDateTime>
#include <QString>

namespace pellion::test {

// -1 when the file cannot be read.
int pdfPageCount(const QString& pdf);
QString pdfPageSize(const QString& pdf, int page);
QString pdfPageText(const QString& pdf, int page);
QString pdfText(const QString& pdf);

// The Out folder of cups-pdf's configuration for the current user.
QString cupsPdfOutputFolder();
// The first readable PDF that appears in the folder after the given moment,
// or empty after the given seconds.
QString waitForNewPdf(const QString& folder, const QDateTime& since, int seconds);

} // namespace pellion::test
