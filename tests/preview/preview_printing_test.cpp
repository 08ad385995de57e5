// Printing from the preview: the report printed again with the page range of
// the printer set-up, through the default CUPS queue (cups-setup.sh makes a
// cups-pdf one), and a loaded report's stored pages into a PDF file.

#include "ledger/appliancetable.h"
#include "preview/previewdialogs.h"
#include "preview/previewtarget.h"
#include "preview/previewwindow.h"
#include "preview/printersetupdialog.h"
#include "report/printerdestination.h"
#include "report/report.h"
#include "report/reportform.h"
#include "tests/qtapplication.h"
#include "tests/report/pagerecorder.h"
#include "tests/report/printedpdf.h"
#include "tests/report/reporttestdata.h"

#include <QApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <utility>

namespace pellion {
namespace {

class PreviewPrinting : public ::testing::Test {
protected:
    void TearDown() override { previewDialogs() = platformPreviewDialogs(); }

    bool applicationReady = (testApplication(), true);
    QTemporaryDir folder;
    ApplianceTable table;
    ReportForm form{table};
};

TEST_F(PreviewPrinting, PageRangeTwoToThreeOfFivePagesPrintsTwoPages) {
    test::fillAppliances(table, 280); // five Letter pages
    PreviewTarget target{&form.report()};
    if (!target.printer().printerCapabilities().installed)
        GTEST_SKIP() << "no printer queue could be made (cups-setup.sh)";
    PreviewWindow window(target);
    form.report().run(target.printer());
    QCoreApplication::processEvents();
    ASSERT_EQ(target.pageCount(), 5);

    // The printer set-up as the user answers it: pages 2 to 3 on the queue it offers.
    int lastPageOffered = 0;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<PrinterSetupDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        answer.stop();
        auto* range = dialog->findChild<QRadioButton*>(QStringLiteral("pageRange"));
        QTest::mouseClick(range, Qt::LeftButton, Qt::NoModifier,
                          QPoint(range->sizeHint().width() / 2, range->height() / 2));
        auto* to = dialog->findChild<QSpinBox*>(QStringLiteral("toPage"));
        lastPageOffered = to->maximum();
        for (const auto& [name, text] : {std::pair{"fromPage", "2"}, std::pair{"toPage", "3"}}) {
            auto* box = dialog->findChild<QSpinBox*>(QString::fromLatin1(name));
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(box, QString::fromLatin1(text));
        }
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    });
    answer.start(5);
    QTest::mouseClick(window.button(QStringLiteral("PrintSetup")), Qt::LeftButton);
    EXPECT_EQ(lastPageOffered, 5);
    ASSERT_EQ(form.report().firstPage(), 2);
    const QDateTime start = QDateTime::currentDateTime().addSecs(-1);
    QTest::mouseClick(window.button(QStringLiteral("Print")), Qt::LeftButton);
    QCoreApplication::processEvents(); // the queued print request
    EXPECT_FALSE(form.report().busy());

    const QString printed = test::waitForNewPdf(test::cupsPdfOutputFolder(), start, 90);
    ASSERT_FALSE(printed.isEmpty()) << "no PDF in " << test::cupsPdfOutputFolder().toStdString();
    EXPECT_EQ(test::pdfPageCount(printed), 2);
    // cups-pdf's fonts carry no text mapping, so only the pages are counted here.
    // All five pages stay on view.
    EXPECT_EQ(target.pageCount(), 5);
    QFile::remove(printed);
}

TEST_F(PreviewPrinting, PrintRunsTheReportAgainOverTheTableAsItIsNow) {
    test::fillAppliances(table, 52); // one page with the summary
    PreviewTarget target{&form.report()};
    if (!target.printer().printerCapabilities().installed)
        GTEST_SKIP() << "no printer queue could be made (cups-setup.sh)";
    PreviewWindow window(target);
    form.report().run(target.printer());
    QCoreApplication::processEvents();
    ASSERT_EQ(target.pageCount(), 1);

    // Added in the main window after the preview was produced: the summary
    // no longer fits on page 1.
    table.StartAppend();
    table.FieldNamed("appliance").AssignText("Heater");
    table.PostRecord();
    const QDateTime start = QDateTime::currentDateTime().addSecs(-1);
    QTest::mouseClick(window.button(QStringLiteral("Print")), Qt::LeftButton);
    EXPECT_FALSE(form.report().busy()); // queued, not printed inside the click
    QCoreApplication::processEvents();

    const QString printed = test::waitForNewPdf(test::cupsPdfOutputFolder(), start, 90);
    ASSERT_FALSE(printed.isEmpty()) << "no PDF in " << test::cupsPdfOutputFolder().toStdString();
    EXPECT_EQ(test::pdfPageCount(printed), 2);
    EXPECT_EQ(target.pageCount(), 1);
    EXPECT_EQ(window.pagePanel()->text(), QStringLiteral("Page 1 of 1"));
    QFile::remove(printed);
}

TEST_F(PreviewPrinting, LoadedReportPrintsEveryStoredPageEvenAfterAnInterruptedRun) {
    test::fillAppliances(table, 280);
    const PrinterCapabilities pdfWriter =
        test::installedPrinter(QStringLiteral("PDF file"), {letterPaperCode}, letterPaperCode);
    PreviewTarget produced{&form.report(), pdfWriter};
    form.report().run(produced.printer());
    const QString saved = folder.filePath(QStringLiteral("five.PRP"));
    ASSERT_TRUE(produced.saveToFile(saved));

    PreviewTarget loading{nullptr, pdfWriter};
    loading.loadFromFile(saved);
    // What a load during a run leaves behind: the target's cancelled flag.
    loading.printer().cancel();

    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = folder.filePath(QStringLiteral("loaded.pdf"));
    printer->setOutputFileName(pdf);
    PrinterDestination destination(std::move(printer));
    loading.printStoredPages(destination);

    EXPECT_EQ(test::pdfPageCount(pdf), 5);
    const QString text = test::pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Pellion Report")));
    EXPECT_TRUE(text.contains(test::applianceName(280)));
    EXPECT_TRUE(text.contains(QStringLiteral("Total Cost Per Day")));
}

} // namespace
} // namespace pellion
