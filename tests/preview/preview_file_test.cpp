// The preview's saving and loading through answered dialogs: the saved
// file, loading it back with its paper, files missing or damaged, loading
// during a run, the temporary file of a long report, and Save as PDF.

#include "previewfixture.h"

#include "tests/report/printedpdf.h"

#include <QImage>
#include <QScreen>

#include <chrono>

namespace pellion {
namespace {

constexpr int noteCode = 18;

// What the page area shows on screen: the window's painted pixels, not a
// fresh rendering of the widget.
bool pageAreaShowsInk(PreviewArea& area) {
    QWidget* window = area.window();
    QCoreApplication::processEvents();
    const QImage painted = window->screen()
                               ->grabWindow(window->winId())
                               .toImage()
                               .convertToFormat(QImage::Format_RGB32);
    const QRect viewport(area.viewport()->mapTo(window, QPoint(0, 0)), area.viewport()->size());
    for (int y = viewport.top(); y <= viewport.bottom(); ++y) {
        for (int x = viewport.left(); x <= viewport.right(); ++x) {
            if (qGray(painted.pixel(x, y)) < 64)
                return true;
        }
    }
    return false;
}

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

TEST_F(PreviewTest, SaveReportIsOffUntilTheRunHasFinished) {
    test::fillAppliances(table, 280);
    openWindow();
    saveAnswer = folder.filePath(QStringLiteral("early.PRP"));
    EXPECT_FALSE(button("SaveReport")->isEnabled()) << "before the first page";
    bool offWhileProduced = false;
    whenTrue([&] { return target.pagesCompleted() >= 2; },
             [&] {
                 offWhileProduced = !button("SaveReport")->isEnabled();
                 click("SaveReport");
             });
    run();
    EXPECT_TRUE(offWhileProduced);
    EXPECT_TRUE(asked.isEmpty()) << "a save dialog was offered while pages were produced";
    EXPECT_FALSE(QFileInfo::exists(saveAnswer));

    ASSERT_TRUE(button("SaveReport")->isEnabled());
    click("SaveReport");
    EXPECT_EQ(asked.size(), 1);
    EXPECT_TRUE(QFileInfo::exists(saveAnswer));
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

TEST_F(PreviewTest, AfterAFailedLoadNothingIsOnViewOrOfferedForSaving) {
    openAndRun(280);
    click("LastPage");
    const QString good = folder.filePath(QStringLiteral("good.PRP"));
    ASSERT_TRUE(target.saveToFile(good));
    openAnswer = folder.filePath(QStringLiteral("damaged.PRP"));
    QFile damaged(openAnswer);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(200, '\x03'));
    damaged.close();

    const DialogAnswerer answerer({QStringLiteral("OK")});
    click("LoadReport");
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(pageText(), QStringLiteral("Page 1 of 0"));
    EXPECT_FALSE(pageAreaShowsInk(area())) << "a dropped page is still on view";
    EXPECT_FALSE(button("SaveReport")->isEnabled());

    // A good file afterwards can be saved again.
    openAnswer = good;
    click("LoadReport");
    EXPECT_EQ(pageText(), QStringLiteral("Page 1 of 5"));
    EXPECT_TRUE(pageAreaShowsInk(area()));
    EXPECT_TRUE(button("SaveReport")->isEnabled());
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

// Page 1 is not a drawing, page 2 is the given report's first page.
void saveUnreadableThenReadablePage(const QString& fileName, const PageList& report) {
    PageList file;
    file.startDocument();
    file.appendPageImage(QByteArray(40, 'x'));
    file.appendPageImage(*report.readPageImage(1));
    file.finishDocument(2);
    file.saveToFile(fileName);
}

TEST_F(PreviewTest, APageThatCannotBeReadLeavesThePageAreaEmpty) {
    openAndRun(3);
    ASSERT_TRUE(pageAreaShowsInk(area())); // the run's page, text and outline
    openAnswer = folder.filePath(QStringLiteral("first-unreadable.PRP"));
    saveUnreadableThenReadablePage(openAnswer, target.pages());

    const DialogAnswerer answerer({QStringLiteral("OK"), QStringLiteral("OK")});
    click("LoadReport");
    EXPECT_EQ(pageText(), QStringLiteral("Page 1 of 2"));
    EXPECT_FALSE(pageAreaShowsInk(area())) << "the dropped run's page is still on view";

    QTest::keyClick(&area(), Qt::Key_PageDown);
    EXPECT_EQ(pageText(), QStringLiteral("Page 2 of 2"));
    EXPECT_TRUE(pageAreaShowsInk(area()));

    QTest::keyClick(&area(), Qt::Key_Home);
    EXPECT_EQ(pageText(), QStringLiteral("Page 1 of 2"));
    EXPECT_FALSE(pageAreaShowsInk(area())) << "page 2 is on view labelled page 1";
    ASSERT_EQ(answerer.seen().size(), 2u);
    EXPECT_EQ(answerer.seen()[1].text, QStringLiteral("Invalid page image."));
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

// The PDF of a preview's report appears from the event loop, like a print.
bool appears(const QString& file) {
    return QTest::qWaitFor([&] { return QFileInfo::exists(file); }, 30000);
}

TEST_F(PreviewTest, SaveAsPdfIsOffUntilTheRunHasFinishedThenWritesTheReport) {
    test::fillAppliances(table, 60);
    form.report().setEventInterval(std::chrono::milliseconds(0)); // page 2 is surely unfinished
    openWindow();
    EXPECT_FALSE(button("SaveAsPdf")->isEnabled()) << "before the first page";
    bool offWhileProduced = false;
    whenTrue([&] { return target.pagesCompleted() >= 1; },
             [&] { offWhileProduced = !button("SaveAsPdf")->isEnabled(); });
    run();
    EXPECT_TRUE(offWhileProduced);
    ASSERT_TRUE(button("SaveAsPdf")->isEnabled());

    saveAnswer = folder.filePath(QStringLiteral("usage.pdf"));
    click("SaveAsPdf");
    EXPECT_EQ(asked, QStringList{QStringLiteral("Save as PDF|PDF document (*.pdf)|pdf")});
    ASSERT_TRUE(appears(saveAnswer));
    ASSERT_EQ(test::pdfPageCount(saveAnswer), 2);
    EXPECT_EQ(test::pdfPageSize(saveAnswer, 2), QStringLiteral("612 x 792 pts (letter)"));
    const QString text = test::pdfText(saveAnswer);
    EXPECT_TRUE(text.contains(QStringLiteral("Pellion Report")));
    EXPECT_TRUE(text.contains(test::applianceName(60)));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"usage.pdf"});
    // The preview itself stays as it was.
    EXPECT_EQ(pageText(), QStringLiteral("Page 1 of 2"));
}

TEST_F(PreviewTest, SaveAsPdfAsksBeforeReplacingAFile) {
    openAndRun(3);
    saveAnswer = folder.filePath(QStringLiteral("June.pdf"));
    struct Case {
        const char* answer;
        bool replaced;
    };
    for (const Case c : {Case{"&No", false}, Case{"&Yes", true}}) {
        SCOPED_TRACE(c.answer);
        QFile old(saveAnswer);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("last month");
        old.close();
        DialogAnswerer answerer({QString::fromLatin1(c.answer)});
        click("SaveAsPdf");
        ASSERT_EQ(answerer.seen().size(), 1u);
        const SeenDialog& question = answerer.seen().front();
        EXPECT_EQ(question.caption, QStringLiteral("Confirm"));
        EXPECT_EQ(question.text,
                  QStringLiteral("June.pdf already exists.\nDo you want to replace it?"));
        EXPECT_EQ(question.buttons, (QStringList{"&Yes", "&No"}));
        EXPECT_EQ(question.icon, QMessageBox::Question);
        if (c.replaced)
            EXPECT_TRUE(
                QTest::qWaitFor([&] { return test::pdfPageCount(saveAnswer) == 1; }, 30000));
        else
            QTest::qWait(200);
        QFile now(saveAnswer);
        ASSERT_TRUE(now.open(QIODevice::ReadOnly));
        EXPECT_EQ(now.readAll() == "last month", !c.replaced);
    }
}

TEST_F(PreviewTest, ALoadedReportFileIsSavedAsPdfWithItsOwnPages) {
    openAndRun(60);
    const QString file = folder.filePath(QStringLiteral("june.PRP"));
    ASSERT_TRUE(target.saveToFile(file));
    window.reset();

    PreviewTarget loading{nullptr, letterPrinter()};
    PreviewWindow loaded(loading);
    openAnswer = file;
    QTest::mouseClick(loaded.button(QStringLiteral("LoadReport")), Qt::LeftButton);
    ASSERT_TRUE(loaded.button(QStringLiteral("SaveAsPdf"))->isEnabled());
    saveAnswer = folder.filePath(QStringLiteral("june.pdf"));
    QTest::mouseClick(loaded.button(QStringLiteral("SaveAsPdf")), Qt::LeftButton);
    ASSERT_TRUE(appears(saveAnswer));
    ASSERT_EQ(test::pdfPageCount(saveAnswer), 2);
    EXPECT_EQ(test::pdfPageSize(saveAnswer, 1), QStringLiteral("612 x 792 pts (letter)"));
    // The stored drawings keep their text as text.
    EXPECT_TRUE(test::pdfPageText(saveAnswer, 1).contains(test::applianceName(54)));
    EXPECT_TRUE(test::pdfPageText(saveAnswer, 2).contains(test::applianceName(60)));
}

} // namespace
} // namespace pellion
