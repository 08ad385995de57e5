// The preview's saving and loading through answered dialogs: the saved
// file, loading it back with its paper, files missing or damaged, loading
// during a run, and the temporary file of a long report.

#include "previewfixture.h"

namespace pellion {
namespace {

constexpr int noteCode = 18;

TEST_F(PreviewTest, SavedFileHoldsHeaderAndEveryPageAndLoadsBack) {
    openAndRun(280);
    saveAnswer = folder.filePath(QStringLiteral("usage.PRP"));
    click("SaveReport");
    EXPECT_EQ(asked.value(0), QStringLiteral("Save report|Pellion report file(*.PRP)|PRP"));
    qint64 expectedLength = savedreport::headerSize;
    for (int page = 1; page <= 5; ++page)
        expectedLength += 12 + target.pages().readPageImage(page)->size();
    EXPECT_EQ(QFileInfo(saveAnswer).size(), expectedLength);

    // A second preview loads it and shows the same pages.
    ApplianceTable otherTable;
    ReportForm otherForm{otherTable};
    PreviewTarget other{&otherForm.report(), letterPrinter()};
    PreviewWindow otherWindow(other);
    openAnswer = saveAnswer;
    QTest::mouseClick(otherWindow.button(QStringLiteral("LoadReport")), Qt::LeftButton);
    EXPECT_EQ(asked.value(1), QStringLiteral("Load report|Pellion report file (*.PRP)"));
    EXPECT_EQ(otherWindow.pagePanel()->text(), QStringLiteral("Page 1 of 5"));
    EXPECT_FALSE(otherWindow.button(QStringLiteral("PrintSetup"))->isEnabled());
    EXPECT_TRUE(otherWindow.button(QStringLiteral("Print"))->isEnabled());
    EXPECT_TRUE(other.loaded());
    EXPECT_TRUE(otherWindow.previewArea()->pageShown());
    for (int page = 1; page <= 5; ++page) {
        const test::RecordedPage saved = test::recordTexts(*target.readPage(page));
        const test::RecordedPage loaded = test::recordTexts(*other.readPage(page));
        EXPECT_EQ(saved.allTexts(), loaded.allTexts()) << page;
    }
}

TEST_F(PreviewTest, LoadRecognisesThePaperThePrinterOffers) {
    openAndRun(3);
    const QString file = folder.filePath(QStringLiteral("letter.PRP"));
    target.saveToFile(file);
    struct Case {
        const char* situation;
        std::vector<int> offered;
        int expectedPaper;
    };
    const Case cases[] = {
        {"Letter offered", {a4PaperCode, letterPaperCode}, letterPaperCode},
        {"Note offered after Letter", {letterPaperCode, noteCode}, noteCode},
        {"only A4 offered: the printer's paper stays", {a4PaperCode}, a4PaperCode},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        PrinterCapabilities printer = letterPrinter();
        printer.offeredPapers = c.offered;
        PreviewTarget loading{nullptr, printer};
        loading.loadFromFile(file);
        EXPECT_EQ(loading.printer().paperSize(), c.expectedPaper);
        EXPECT_EQ(loading.printer().orientation(), Orientation::Portrait);
    }
}

TEST_F(PreviewTest, SaveBeforeTheRunHasFinishedWritesNothing) {
    test::fillAppliances(table, 3);
    openWindow();
    saveAnswer = folder.filePath(QStringLiteral("early.PRP"));
    click("SaveReport");
    EXPECT_EQ(asked.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(saveAnswer));
}

TEST_F(PreviewTest, LoadingAMissingFileSaysSoAndKeepsThePages) {
    openAndRun(280);
    click("LastPage");
    openAnswer = folder.filePath(QStringLiteral("absent.PRP"));
    click("LoadReport");
    EXPECT_EQ(messages, QStringList{QStringLiteral("File does not exist")});
    EXPECT_EQ(pageText(), QStringLiteral("Page 5 of 5"));
    EXPECT_FALSE(target.loaded());
    EXPECT_TRUE(button("PrintSetup")->isEnabled());
}

TEST_F(PreviewTest, DamagedFileIsRefusedWithAnErrorAndDropsThePages) {
    openAndRun(3);
    openAnswer = folder.filePath(QStringLiteral("damaged.PRP"));
    QFile damaged(openAnswer);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(200, '\x03'));
    damaged.close();
    const DialogAnswerer answerer({QStringLiteral("OK")});
    click("LoadReport");
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].caption + QLatin1Char('|') + answerer.seen()[0].text,
              QStringLiteral("Pellion|Invalid report file."));
    EXPECT_EQ(target.pageCount(), 0);
    EXPECT_FALSE(target.loaded());
}

// A sound chain of two pages whose images are not drawings.
void saveTwoPagesThatAreNotDrawings(const QString& fileName) {
    PageList garbage;
    garbage.startDocument();
    garbage.appendPageImage(QByteArray(40, 'x'));
    garbage.appendPageImage(QByteArray(40, 'y'));
    garbage.finishDocument(2);
    garbage.saveToFile(fileName);
}

// The file loads; a page that cannot be shown is reported when it is shown.
TEST_F(PreviewTest, LoadedFileWithAPageThatIsNotADrawingStillReplacesTheRun) {
    openAndRun(280);
    openAnswer = folder.filePath(QStringLiteral("garbage.PRP"));
    saveTwoPagesThatAreNotDrawings(openAnswer);

    const DialogAnswerer answerer({QStringLiteral("OK")});
    click("LoadReport");
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].text, QStringLiteral("Invalid page image."));
    EXPECT_TRUE(target.loaded());
    EXPECT_EQ(pageText(), QStringLiteral("Page 1 of 2"));
    EXPECT_FALSE(area().pageShown()); // not the dropped run's page
    EXPECT_FALSE(button("PrintSetup")->isEnabled());
    EXPECT_TRUE(button("Print")->isEnabled());
}

TEST_F(PreviewTest, MovingToAPageThatIsNotADrawingNamesThatPage) {
    openAndRun(3);
    openAnswer = folder.filePath(QStringLiteral("garbage.PRP"));
    saveTwoPagesThatAreNotDrawings(openAnswer);
    const DialogAnswerer answerer({QStringLiteral("OK"), QStringLiteral("OK")});
    click("LoadReport");
    click("ToolButton2");
    ASSERT_EQ(answerer.seen().size(), 2u);
    EXPECT_EQ(answerer.seen()[1].text, QStringLiteral("Invalid page image."));
    EXPECT_EQ(area().PageNumber(), 2);
    EXPECT_EQ(pageText(), QStringLiteral("Page 2 of 2"));
}

TEST_F(PreviewTest, LongReportMovesToATemporaryFileDeletedWhenThePreviewCloses) {
    test::fillAppliances(table, 1200);
    QString tempName;
    bool existed = false;
    whenTrue(
        [] {
            PreviewWindow* window = openPreviewWindow();
            return window != nullptr && window->button(QStringLiteral("Print"))->isEnabled();
        },
        [&] {
            PreviewWindow* window = openPreviewWindow();
            tempName = window->previewArea()->target()->pages().stream().temporaryFileName();
            existed = QFileInfo::exists(tempName);
            window->close();
        });
    previewReport(form.report(), letterPrinter());
    EXPECT_TRUE(existed);
    EXPECT_TRUE(QFileInfo(tempName).fileName().startsWith(QStringLiteral("PRP")));
    EXPECT_FALSE(QFileInfo::exists(tempName));
}

TEST_F(PreviewTest, LoadDuringProductionStopsItAndShowsTheFile) {
    // A saved one-page report to load.
    openAndRun(3);
    const QString file = folder.filePath(QStringLiteral("small.PRP"));
    ASSERT_TRUE(target.saveToFile(file));
    window.reset();

    ApplianceTable bigTable;
    test::fillAppliances(bigTable, 3000);
    ReportForm bigForm{bigTable};
    openAnswer = file;
    whenTrue(
        [] {
            PreviewWindow* window = openPreviewWindow();
            return window != nullptr && window->previewArea()->pageShown();
        },
        [&] {
            PreviewWindow* window = openPreviewWindow();
            QTest::mouseClick(window->button(QStringLiteral("LoadReport")), Qt::LeftButton);
            whenTrue([] { return true; },
                     [] {
                         PreviewWindow* window = openPreviewWindow();
                         EXPECT_EQ(window->pagePanel()->text(), QStringLiteral("Page 1 of 1"));
                         window->close();
                     });
        });
    previewReport(bigForm.report(), letterPrinter());
    EXPECT_LT(bigTable.RowNumber(), 3000);
    EXPECT_FALSE(bigForm.report().busy());
}

} // namespace
} // namespace pellion
