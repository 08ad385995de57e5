// Printing through real printers: the default CUPS queue (a cups-pdf queue
// set up by cups-setup.sh) and PDF files written by QPrinter itself, checked
// with poppler's pdfinfo and pdftotext.

#include "ledger/appliancetable.h"
#include "pagerecorder.h"
#include "printedpdf.h"
#include "report/printcommand.h"
#include "report/printerdestination.h"
#include "report/report.h"
#include "report/reportform.h"
#include "report/reportprinter.h"
#include "reporttestdata.h"
#include "tests/qtapplication.h"

#include "base/error.h"

#include <QDateTime>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace pellion {
namespace {

PrinterCapabilities pdfWriter() {
    return test::installedPrinter(QStringLiteral("PDF file"), {letterPaperCode, a4PaperCode},
                                  a4PaperCode);
}

class Printing : public ::testing::Test {
protected:
    // Runs the report into a PDF file written by QPrinter itself.
    void runToPdf(int firstPage = 0, int lastPage = 0) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        ReportPrinter target(pdfWriter());
        target.setDestination(std::make_unique<PrinterDestination>(std::move(printer)));
        form.report().setPageRange(firstPage, lastPage);
        form.report().run(target);
    }

    bool applicationReady = (testApplication(), true);
    QTemporaryDir folder;
    QString pdf = folder.filePath(QStringLiteral("report.pdf"));
    ApplianceTable table;
    ReportForm form{table};
};

TEST_F(Printing, PrintCommandSendsTwoLetterPagesToTheDefaultQueue) {
    test::fillAppliances(table, 60);
    const QDateTime start = QDateTime::currentDateTime().addSecs(-1);
    printUsageReport(table,
                     {QStringLiteral("0.2000"), QStringLiteral("1.5"), QStringLiteral("36"),
                      QStringLiteral("180")},
                     nullptr);
    EXPECT_EQ(table.RowNumber(), 60);
    const QString printed = test::waitForNewPdf(test::cupsPdfOutputFolder(), start, 90);
    ASSERT_FALSE(printed.isEmpty())
        << "no PDF from the queue in " << test::cupsPdfOutputFolder().toStdString();
    EXPECT_EQ(test::pdfPageCount(printed), 2);
    EXPECT_TRUE(test::pdfPageSize(printed, 1).contains(QStringLiteral("612 x 792")))
        << test::pdfPageSize(printed, 1).toStdString();
    EXPECT_TRUE(test::pdfPageSize(printed, 2).contains(QStringLiteral("612 x 792")));
    QFile::remove(printed);
}

TEST_F(Printing, PdfCarriesTitleRateNamesAndSummaryOnTheLastPage) {
    test::fillAppliances(table, 60);
    applyReportTexts(
        form, {QStringLiteral("0.2000"), QStringLiteral("0"), QString(), QStringLiteral("180")});
    runToPdf();
    ASSERT_EQ(test::pdfPageCount(pdf), 2);
    EXPECT_TRUE(test::pdfPageSize(pdf, 1).contains(QStringLiteral("612 x 792")))
        << test::pdfPageSize(pdf, 1).toStdString();
    const QString first = test::pdfPageText(pdf, 1);
    const QString last = test::pdfPageText(pdf, 2);
    EXPECT_TRUE(first.contains(QStringLiteral("Pellion Report")));
    EXPECT_TRUE(first.contains(QStringLiteral("Electricity KWH Charge :")));
    EXPECT_TRUE(first.contains(QStringLiteral("0.2000")));
    EXPECT_TRUE(first.contains(QStringLiteral("Fridge 1 ")));
    EXPECT_TRUE(first.contains(QStringLiteral("Fridge 54")));
    EXPECT_FALSE(first.contains(QStringLiteral("Total Cost Per Day")));
    EXPECT_FALSE(last.contains(QStringLiteral("Pellion Report")));
    EXPECT_TRUE(last.contains(QStringLiteral("Fridge 60")));
    EXPECT_TRUE(last.contains(QStringLiteral("Total Cost Per Day")));
    EXPECT_TRUE(last.contains(QStringLiteral("$0")));
    EXPECT_TRUE(last.contains(QStringLiteral("Daily KWH Usage :")));
}

TEST_F(Printing, PageRangeSendsOnlyTheChosenPages) {
    test::fillAppliances(table, 115); // three pages: 54, 60, 1 and the summary
    runToPdf(2, 2);
    ASSERT_EQ(test::pdfPageCount(pdf), 1);
    const QString text = test::pdfPageText(pdf, 1);
    EXPECT_TRUE(text.contains(QStringLiteral("Fridge 55")));
    EXPECT_TRUE(text.contains(QStringLiteral("Fridge 114")));
    EXPECT_FALSE(text.contains(QStringLiteral("Fridge 115")));
    EXPECT_FALSE(text.contains(QStringLiteral("Pellion Report")));
}

TEST_F(Printing, PrinterFailureEndsTheRunWithAnError) {
    test::fillAppliances(table, 3);
    pdf = QStringLiteral("/nonexistent-folder/report.pdf");
    EXPECT_THROW(runToPdf(), Error);
    EXPECT_FALSE(form.report().busy());
    EXPECT_TRUE(form.report().activeTarget() == nullptr);
}

} // namespace
} // namespace pellion
