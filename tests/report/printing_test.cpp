// Printing through real printers: the default CUPS queue (a cups-pdf queue
// set up by cups-setup.sh) and PDF files written by QPrinter itself, checked
// with poppler's pdfinfo and pdftotext.

#include "ledger/appliancetable.h"
#include "pagerecorder.h"
#include "report/printcommand.h"
#include "report/printerdestination.h"
#include "report/report.h"
#include "report/reportform.h"
#include "report/reportprinter.h"
#include "reporttestdata.h"
#include "tests/qtapplication.h"

#include "engine/error.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

namespace pellion {
namespace {

QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>")
            .arg(program, QString::fromLocal8Bit(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPageCount(const QString& pdf) {
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                                              .match(runTool(QStringLiteral("pdfinfo"), {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString pdfPageSize(const QString& pdf, int page) {
    const QString info =
        runTool(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QString::number(page),
                                            QStringLiteral("-l"), QString::number(page), pdf});
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("size:\\s+([^\\n]*)")).match(info);
    return match.hasMatch() ? match.captured(1).trimmed() : info;
}

QString pdfPageText(const QString& pdf, int page) {
    return runTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                    QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
}

// Where cups-pdf writes for the current user: the Out setting of its
// configuration, ${HOME} standing for the user's home folder.
QString cupsPdfOutputFolder() {
    QString out = QStringLiteral("${HOME}/PDF");
    QFile config(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (config.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (const QString& line :
             QString::fromLocal8Bit(config.readAll()).split(QLatin1Char('\n'))) {
            const QString trimmed = line.trimmed();
            if (trimmed.startsWith(QStringLiteral("Out ")))
                out = trimmed.mid(4).trimmed();
        }
    }
    const passwd* user = getpwuid(getuid());
    const QString home = user != nullptr ? QString::fromLocal8Bit(user->pw_dir) : QDir::homePath();
    return out.replace(QStringLiteral("${HOME}"), home);
}

// The first PDF that appears in the folder after the given moment.
QString waitForNewPdf(const QString& folder, const QDateTime& since, int seconds) {
    const QDateTime deadline = QDateTime::currentDateTime().addSecs(seconds);
    while (QDateTime::currentDateTime() < deadline) {
        const QFileInfoList files =
            QDir(folder).entryInfoList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
        for (const QFileInfo& file : files) {
            // cups-pdf writes the file and then closes it; wait until pdfinfo can read it.
            if (file.lastModified() >= since && pdfPageCount(file.filePath()) > 0)
                return file.filePath();
        }
        QThread::msleep(250);
    }
    return {};
}

PrinterCapabilities pdfWriter() {
    PrinterCapabilities printer;
    printer.installed = true;
    printer.printerName = QStringLiteral("PDF file");
    printer.offeredPapers = {letterPaperCode, a4PaperCode};
    printer.currentPaper = a4PaperCode;
    return printer;
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
    const QString printed = waitForNewPdf(cupsPdfOutputFolder(), start, 90);
    ASSERT_FALSE(printed.isEmpty())
        << "no PDF from the queue in " << cupsPdfOutputFolder().toStdString();
    EXPECT_EQ(pdfPageCount(printed), 2);
    EXPECT_TRUE(pdfPageSize(printed, 1).contains(QStringLiteral("612 x 792")))
        << pdfPageSize(printed, 1).toStdString();
    EXPECT_TRUE(pdfPageSize(printed, 2).contains(QStringLiteral("612 x 792")));
    QFile::remove(printed);
}

TEST_F(Printing, PdfCarriesTitleRateNamesAndSummaryOnTheLastPage) {
    test::fillAppliances(table, 60);
    applyReportTexts(
        form, {QStringLiteral("0.2000"), QStringLiteral("0"), QString(), QStringLiteral("180")});
    runToPdf();
    ASSERT_EQ(pdfPageCount(pdf), 2);
    EXPECT_TRUE(pdfPageSize(pdf, 1).contains(QStringLiteral("612 x 792")))
        << pdfPageSize(pdf, 1).toStdString();
    const QString first = pdfPageText(pdf, 1);
    const QString last = pdfPageText(pdf, 2);
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
    ASSERT_EQ(pdfPageCount(pdf), 1);
    const QString text = pdfPageText(pdf, 1);
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
