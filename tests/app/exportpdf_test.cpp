// File > Export PDF... chosen from the main window's menu as a user does:
// the file dialog, the question before replacing a file, the PDF of the
// window's own report, and a failure in the error display.

#include "mainwindowfixture.h"

#include "preview/previewdialogs.h"
#include "tests/report/printedpdf.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

namespace {

QByteArray workedExample(const char* file) {
    QFile fixture(qEnvironmentVariable("PELLION_SOURCE_DIR") +
                  QStringLiteral("/tests/e2e/fixtures/worked_example/") + QLatin1String(file));
    EXPECT_TRUE(fixture.open(QIODevice::ReadOnly)) << file;
    return fixture.readAll();
}

class ExportPdfTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        pellion::previewDialogs().saveFileName = [this](const QString& title, const QString& filter,
                                                        const QString& suffix) {
            asked << title + QLatin1Char('|') + filter + QLatin1Char('|') + suffix;
            return saveAnswer;
        };
        writeFile(settingsPath(), workedExample("cfgfd.ini"));
        writeFile(ledgerPath(), workedExample("pellion.csv"));
    }
    void TearDown() override {
        pellion::previewDialogs() = pellion::platformPreviewDialogs();
        MainWindowFixture::TearDown();
    }

    // Opens the File menu with a click on its title and clicks the item.
    void chooseFromFileMenu(const char* itemName) {
        QMenuBar* bar = m_window->menuBar();
        QAction* file = bar->actions().value(0);
        ASSERT_NE(file, nullptr);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << "the File menu did not open";
        QAction* item = control<QAction>(itemName);
        ASSERT_TRUE(menu->actions().contains(item));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    }

    QStringList asked;
    QString saveAnswer;
};

TEST_F(ExportPdfTest, WritesTheReportWithTheWindowsFigures) {
    start();
    saveAnswer = workDir() + QStringLiteral("/June.pdf");
    chooseFromFileMenu("ExportPdf1");
    EXPECT_EQ(asked, QStringList{QStringLiteral("Export PDF|PDF document (*.pdf)|pdf")});
    EXPECT_TRUE(dialogs().empty());

    ASSERT_EQ(pellion::test::pdfPageCount(saveAnswer), 1);
    EXPECT_EQ(pellion::test::pdfPageSize(saveAnswer, 1), QStringLiteral("612 x 792 pts (letter)"));
    const QString text = pellion::test::pdfText(saveAnswer).simplified();
    for (const char* expected :
         {"Pellion Report", "Electricity KWH Charge : 0.2000", "Kettle 230 8.6957 2000 2 0.4",
          "Fridge 240 0.5 120 0.12 0.024",
          "Total Cost Per Day : $1.276 Total Cost Per Hour : $0.05317 Daily KWH Usage : 3.88"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected << " missing from\n"
                                                            << text.toStdString();
    // Nothing beside the PDF: the ledger and the PDF only.
    EXPECT_EQ(QDir(workDir()).entryList(QDir::Files), (QStringList{"June.pdf", "pellion.csv"}));
}

TEST_F(ExportPdfTest, AsksBeforeReplacingAFileAndNoKeepsIt) {
    start();
    saveAnswer = workDir() + QStringLiteral("/June.pdf");
    struct Case {
        const char* answer;
        bool replaced;
    };
    for (const Case c : {Case{"&No", false}, Case{"&Yes", true}}) {
        SCOPED_TRACE(c.answer);
        writeFile(saveAnswer, "last month");
        answer({QString::fromLatin1(c.answer)});
        chooseFromFileMenu("ExportPdf1");
        ASSERT_EQ(dialogs().size(), 1u);
        EXPECT_EQ(dialogs()[0].caption, QStringLiteral("Confirm"));
        EXPECT_EQ(dialogs()[0].text,
                  QStringLiteral("June.pdf already exists.\nDo you want to replace it?"));
        EXPECT_EQ(dialogs()[0].defaultButton, QStringLiteral("&Yes"));
        EXPECT_EQ(readFile(saveAnswer) == "last month", !c.replaced);
        if (c.replaced)
            EXPECT_EQ(pellion::test::pdfPageCount(saveAnswer), 1);
    }
}

TEST_F(ExportPdfTest, AFileThatCannotBeWrittenGoesToTheErrorDisplay) {
    start();
    saveAnswer = workDir() + QStringLiteral("/no such folder/June.pdf");
    answer({QStringLiteral("OK")});
    chooseFromFileMenu("ExportPdf1");
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, QStringLiteral("Pellion"));
    EXPECT_EQ(dialogs()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(dialogs()[0].text, QStringLiteral("Cannot create file ") + saveAnswer + '.');
    EXPECT_FALSE(QFileInfo::exists(saveAnswer));
}

TEST_F(ExportPdfTest, CancellingTheFileDialogWritesNothing) {
    start();
    saveAnswer.clear();
    chooseFromFileMenu("ExportPdf1");
    EXPECT_EQ(asked.size(), 1);
    EXPECT_TRUE(dialogs().empty());
    EXPECT_EQ(QDir(workDir()).entryList(QDir::Files), QStringList{"pellion.csv"});
}

} // namespace
