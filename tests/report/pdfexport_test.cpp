// The report written as a PDF: its paper whatever printer is installed (this
// test runs with none), its page breaks and texts, and a file that appears
// only once it is complete.

#include "preview/pdfexport.h"

#include "ledger/appliancetable.h"
#include "printedpdf.h"
#include "report/printcommand.h"
#include "report/printerdestination.h"
#include "report/report.h"
#include "report/reportform.h"
#include "report/reportprinter.h"
#include "reporttestdata.h"
#include "tests/errortext.h"
#include "tests/qtapplication.h"
#include "tests/scratchfolder.h"

#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace pellion {
namespace {

using test::applianceName;
using testing::readBytes;
using testing::ScratchFolder;
using testing::writeBytes;

class PdfExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::fillAppliances(table, 60);
        applyReportTexts(form, {QStringLiteral("0.2000"), QStringLiteral("1.15"),
                                QStringLiteral("27.6"), QStringLiteral("138")});
    }
    QString pdfPath(const char* name) const {
        return QString::fromStdString((folder.path() / name).string());
    }

    bool applicationReady = (testApplication(), true);
    ScratchFolder folder{"pdfexport_test"};
    ApplianceTable table;
    ReportForm form{table};
};

// The lines of a page's extracted text that name an appliance.
std::vector<QString> appliancesOn(const QString& pageText) {
    std::vector<QString> names;
    for (const QString& line : pageText.split(QLatin1Char('\n'))) {
        const QString name = line.section(QStringLiteral("  "), 0, 0).trimmed();
        if (name.startsWith(QStringLiteral("Fridge ")))
            names.push_back(name);
    }
    return names;
}

std::vector<QString> fridges(int first, int last) {
    std::vector<QString> names;
    for (int number = first; number <= last; ++number)
        names.push_back(applianceName(number));
    return names;
}

TEST_F(PdfExportTest, PagesAreTheReportsOwnPaperWithTheBreaksOfAPrint) {
    ASSERT_TRUE(QPrinterInfo::availablePrinters().isEmpty())
        << "this test runs without any printer";
    struct Case {
        const char* situation;
        Orientation orientation;
        QString printerChosen;
        QString pageSize;
        int linesOnPageOne;
    };
    const Case cases[] = {
        {"portrait", Orientation::Portrait, {}, QStringLiteral("612 x 792 pts (letter)"), 54},
        {"landscape from the printer set-up",
         Orientation::Landscape,
         {},
         QStringLiteral("792 x 612 pts (letter)"),
         39},
        // The PDF does not take the papers of a printer the set-up chose.
        {"another printer chosen", Orientation::Portrait, QStringLiteral("Office printer"),
         QStringLiteral("612 x 792 pts (letter)"), 54},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        form.report().setOrientation(c.orientation);
        form.report().setPrinterName(c.printerChosen);
        form.report().setCopies(3);
        form.report().setPageRange(2, 2);
        const QString pdf = pdfPath("report.pdf");
        ASSERT_TRUE(exportReportPdf(form.report(), pdf));

        // Copies and page range are for printers: one copy of every page.
        ASSERT_EQ(test::pdfPageCount(pdf), 2);
        for (int page = 1; page <= 2; ++page)
            EXPECT_EQ(test::pdfPageSize(pdf, page), c.pageSize) << page;
        const QString first = test::pdfPageText(pdf, 1);
        const QString second = test::pdfPageText(pdf, 2);
        EXPECT_EQ(appliancesOn(first), fridges(1, c.linesOnPageOne));
        EXPECT_EQ(appliancesOn(second), fridges(c.linesOnPageOne + 1, 60));
        // Words as a reader finds them, whatever the spacing of the layout.
        EXPECT_TRUE(first.simplified().contains(QStringLiteral("Pellion Report")));
        EXPECT_TRUE(first.simplified().contains(QStringLiteral("Electricity KWH Charge : 0.2000")));
        EXPECT_FALSE(second.contains(QStringLiteral("Pellion Report")))
            << "continuation pages carry no title";
        EXPECT_TRUE(second.simplified().contains(
            QStringLiteral("Total Cost Per Day : $27.6 Total Cost Per Hour : $1.15 "
                           "Daily KWH Usage : 138")))
            << second.toStdString();
        EXPECT_EQ(folder.entries(), std::vector<std::string>{"report.pdf"});
    }
}

// Each page's lines as a reader extracts them, spacing aside, without the
// title's date and time, which tell two runs apart.
std::string pageLines(const QString& pdf, int page) {
    QStringList lines;
    for (const QString& line : test::pdfPageText(pdf, page).split(QLatin1Char('\n'))) {
        const QString words = line.simplified();
        if (!words.isEmpty() && !words.startsWith(QStringLiteral("Pellion Report")))
            lines << words;
    }
    return lines.join(QLatin1Char('\n')).toStdString();
}

// The printer's own path, with a QPrinter writing a PDF file in place of a
// queue on a printer that offers Letter.
TEST_F(PdfExportTest, HoldsThePagesAPrintGives) {
    const QString printed = pdfPath("printed.pdf");
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(printed);
    ReportPrinter target(test::installedPrinter(QStringLiteral("Letter printer"),
                                                {a4PaperCode, letterPaperCode}, a4PaperCode));
    target.setDestination(std::make_unique<PrinterDestination>(std::move(printer)));
    form.report().run(target);

    const QString exported = pdfPath("exported.pdf");
    ASSERT_TRUE(exportReportPdf(form.report(), exported));
    ASSERT_EQ(test::pdfPageCount(printed), 2);
    ASSERT_EQ(test::pdfPageCount(exported), 2);
    for (int page = 1; page <= 2; ++page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(test::pdfPageSize(exported, page), test::pdfPageSize(printed, page));
        EXPECT_EQ(pageLines(exported, page), pageLines(printed, page));
    }
}

TEST_F(PdfExportTest, AnExistingFileIsReplacedOnlyByACompleteReport) {
    const QString pdf = pdfPath("June.pdf");
    writeBytes(pdf.toStdString(), "last month's report");

    // Cancelled after its first page: the old file stays as it was.
    QTimer cancelling;
    QObject::connect(&cancelling, &QTimer::timeout, [&] {
        if (ReportPrinter* running = form.report().activeTarget();
            running != nullptr && running->pagesStarted() >= 1)
            form.report().cancel();
    });
    cancelling.start(0);
    form.report().setEventInterval(std::chrono::milliseconds(0));
    EXPECT_FALSE(exportReportPdf(form.report(), pdf));
    cancelling.stop();
    EXPECT_EQ(readBytes(pdf.toStdString()), "last month's report");
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"June.pdf"});

    EXPECT_TRUE(exportReportPdf(form.report(), pdf));
    EXPECT_EQ(test::pdfPageCount(pdf), 2);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"June.pdf"});
}

TEST_F(PdfExportTest, AFileThatCannotBeMadeIsReportedAndNothingIsLeft) {
    const QString pdf = pdfPath("missing folder/June.pdf");
    EXPECT_EQ(testing::errorText([&] { exportReportPdf(form.report(), pdf); }),
              "Cannot create file " + pdf.toStdString());
    EXPECT_TRUE(folder.entries().empty());
}

TEST_F(PdfExportTest, NothingIsWrittenWhileTheReportIsRunning) {
    const QString pdf = pdfPath("nested.pdf");
    bool wroteDuringRun = true;
    QTimer nested;
    nested.setSingleShot(true);
    QObject::connect(&nested, &QTimer::timeout,
                     [&] { wroteDuringRun = exportReportPdf(form.report(), pdf); });
    nested.start(0);
    form.report().setEventInterval(std::chrono::milliseconds(0));
    ASSERT_TRUE(exportReportPdf(form.report(), pdfPath("outer.pdf")));
    EXPECT_FALSE(wroteDuringRun);
    EXPECT_FALSE(QFileInfo::exists(pdf));
}

} // namespace
} // namespace pellion
