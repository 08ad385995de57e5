// The preview window driven as a user would: the window before the first
// page, page-available and progress notifications, navigation keys, zoom and
// resizing, the printer set-up, and closing during a run.

#include "previewfixture.h"

#include <cmath>

namespace pellion {
namespace {

int nearest(double value) {
    return static_cast<int>(std::nearbyint(value));
}

// Letter at the screen's resolution: 816 x 1056 at 96 pixels per inch.
int letterWidthPixels() {
    return nearest(2159 * screenPixelsPerInch() / 254.0);
}
int letterLengthPixels() {
    return nearest(2794 * screenPixelsPerInch() / 254.0);
}

TEST_F(PreviewTest, WindowOpensBeforeTheFirstPage) {
    test::fillAppliances(table, 3);
    openWindow();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Pellion Report"));
    EXPECT_TRUE(window->isMaximized());
    EXPECT_EQ(pageText(), QStringLiteral("Page 1 of 0"));
    EXPECT_EQ(window->progressPanel()->text(), QStringLiteral("0%"));
    EXPECT_FALSE(area().pageShown());
    EXPECT_EQ(area().Zoom(), 100);
    EXPECT_EQ(area().zoomMode(), ZoomMode::Other);
    EXPECT_TRUE(button("ZoomToWidth")->isChecked());
    EXPECT_FALSE(button("PrintSetup")->isEnabled());
    EXPECT_FALSE(button("Print")->isEnabled());

    run();
    EXPECT_TRUE(area().pageShown());
    EXPECT_EQ(area().zoomMode(), ZoomMode::Width);
    EXPECT_EQ(area().Zoom(), nearest(area().width() * 90.0 / letterWidthPixels()));
}

TEST_F(PreviewTest, ToolbarHoldsTheButtonsInOrderWithTheirHints) {
    openWindow();
    const QStringList expected = {"ToolButton1|",
                                  "ZoomFit|Zoom to fit",
                                  "Zoom100|100%",
                                  "ZoomToWidth|Zoom to width",
                                  "Separator1|",
                                  "FirstPage|First page",
                                  "PreviousPage|Previous page",
                                  "ToolButton2|Next page",
                                  "LastPage|Last page",
                                  "Separator2|",
                                  "PrintSetup|Printer setup",
                                  "Print|Print",
                                  "Separator3|",
                                  "SaveReport|Save Report",
                                  "LoadReport|Load Report",
                                  "Separator4|",
                                  "ExitButton|"};
    auto* toolBar = window->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    ASSERT_NE(toolBar, nullptr);
    QStringList actual;
    for (QAction* action : toolBar->actions()) {
        QWidget* widget = toolBar->widgetForAction(action);
        if (action->isSeparator() || widget == nullptr)
            actual << action->objectName() + QLatin1Char('|');
        else
            actual << widget->objectName() + QLatin1Char('|') + widget->toolTip();
    }
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(button("ExitButton")->text(), QStringLiteral("&Close"));
    EXPECT_EQ(button("ExitButton")->size(), QSize(40, 22));

    // The zoom buttons are one group: pressing one releases the others.
    click("ZoomFit");
    EXPECT_TRUE(button("ZoomFit")->isChecked());
    EXPECT_FALSE(button("ZoomToWidth")->isChecked());
    click("Zoom100");
    EXPECT_TRUE(button("Zoom100")->isChecked());
    EXPECT_FALSE(button("ZoomFit")->isChecked());
}

TEST_F(PreviewTest, OnePageReportEndsWithEmptyProgressAndPrintEnabled) {
    openAndRun(3);
    EXPECT_EQ(window->progressPanel()->text(), QString());
    EXPECT_EQ(pageText(), QStringLiteral("Page 1 of 1"));
    EXPECT_TRUE(button("PrintSetup")->isEnabled());
    EXPECT_TRUE(button("Print")->isEnabled());
}

TEST_F(PreviewTest, ProgressPanelShowsEveryFifthPerCent) {
    test::fillAppliances(table, 40);
    openWindow();
    QStringList shown;
    whenTrue([&] { return target.printer().progress() >= 50; },
             [&] { shown << window->progressPanel()->text(); });
    run();
    ASSERT_EQ(shown.size(), 1);
    // Records 1..20 of 40 have been announced by the time half are done;
    // the panel moves only in steps of at least 5.
    const int percent = shown[0].chopped(1).toInt();
    EXPECT_TRUE(shown[0].endsWith(QLatin1Char('%')));
    EXPECT_GE(percent, 5);
    EXPECT_EQ(percent % 5, 0);
    EXPECT_EQ(window->progressPanel()->text(), QString());
}

TEST_F(PreviewTest, NavigationKeys) {
    openAndRun(280); // five pages
    ASSERT_EQ(target.pageCount(), 5);
    struct Case {
        const char* situation;
        int startPage;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int expectedPage;
    };
    const Case cases[] = {
        {"Page Down goes to the next page", 2, Qt::Key_PageDown, Qt::NoModifier, 3},
        {"Page Up goes to the previous page", 3, Qt::Key_PageUp, Qt::NoModifier, 2},
        {"Ctrl + Page Down goes to the last page", 2, Qt::Key_PageDown, Qt::ControlModifier, 5},
        {"Ctrl + Shift + Page Down is only the next page", 2, Qt::Key_PageDown,
         Qt::ControlModifier | Qt::ShiftModifier, 3},
        {"Ctrl + Page Up goes to the first page", 4, Qt::Key_PageUp, Qt::ControlModifier, 1},
        {"Ctrl + Alt + Page Up is only the previous page", 4, Qt::Key_PageUp,
         Qt::ControlModifier | Qt::AltModifier, 3},
        {"Home goes to the first page", 4, Qt::Key_Home, Qt::NoModifier, 1},
        {"End goes to the last page", 2, Qt::Key_End, Qt::NoModifier, 5},
        {"Page Down on the last page stays", 5, Qt::Key_PageDown, Qt::NoModifier, 5},
        {"Page Up on the first page stays", 1, Qt::Key_PageUp, Qt::NoModifier, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        area().setPageNumber(c.startPage);
        // The window sees the keys before the focused page area does.
        area().setFocus();
        QTest::keyClick(&area(), c.key, c.modifiers);
        EXPECT_EQ(area().PageNumber(), c.expectedPage);
        EXPECT_EQ(pageText(), QStringLiteral("Page %1 of 5").arg(c.expectedPage));
        EXPECT_TRUE(area().pageShown());
    }
}

TEST_F(PreviewTest, NavigationButtonsOnTheEdgesRewriteTheSameText) {
    openAndRun(280);
    click("LastPage");
    EXPECT_EQ(pageText(), QStringLiteral("Page 5 of 5"));
    window->pagePanel()->setText(QString());
    click("ToolButton2");
    EXPECT_EQ(pageText(), QStringLiteral("Page 5 of 5"));
    click("FirstPage");
    window->pagePanel()->setText(QString());
    click("PreviousPage");
    EXPECT_EQ(pageText(), QStringLiteral("Page 1 of 5"));
}

TEST_F(PreviewTest, PagesAreTheStoredPages) {
    openAndRun(280);
    for (int page : {3, 5, 1}) {
        area().setPageNumber(page);
        const test::RecordedPage shown = test::recordTexts(*area().image());
        EXPECT_TRUE(shown.contains(test::applianceName(page == 1 ? 1 : 54 + (page - 2) * 60 + 1)))
            << page;
    }
}

TEST_F(PreviewTest, APageStillInProductionShowsOnceCompleted) {
    test::fillAppliances(table, 280);
    openWindow();
    bool emptyWhileProduced = false;
    whenTrue([&] { return target.pagesCompleted() >= 1 && area().pageShown(); },
             [&] {
                 area().setZoom(50);
                 QTest::keyClick(window.get(), Qt::Key_PageDown); // page 2, being produced
                 emptyWhileProduced = area().PageNumber() == 2 && !area().pageShown();
             });
    run();
    EXPECT_TRUE(emptyWhileProduced);
    EXPECT_EQ(area().PageNumber(), 2);
    EXPECT_TRUE(area().pageShown());
    EXPECT_EQ(area().zoomMode(), ZoomMode::Width);
}

TEST_F(PreviewTest, ZoomToFitInATinyWindowKeepsTheZoomButSetsTheMode) {
    openAndRun(3);
    window->showNormal();
    window->setMinimumSize(0, 0);
    window->resize(window->width(), window->height() - area().height() + 12);
    QCoreApplication::processEvents();
    ASSERT_LT(nearest(area().height() * 95.0 / letterLengthPixels()), 2) << area().height();
    click("Zoom100");
    ASSERT_EQ(area().Zoom(), 100);
    click("ZoomFit");
    EXPECT_EQ(area().Zoom(), 100);
    EXPECT_EQ(area().zoomMode(), ZoomMode::Fit);
}

TEST_F(PreviewTest, ResizingFollowsTheZoomMode) {
    openAndRun(3);
    window->showNormal();
    struct Case {
        const char* button;
        ZoomMode mode;
        std::function<int(int, int)> expectedZoom; // from the area's width and height
    };
    const Case cases[] = {
        {"ZoomFit", ZoomMode::Fit,
         [](int w, int h) {
             return std::min(nearest(w * 95.0 / letterWidthPixels()),
                             nearest(h * 95.0 / letterLengthPixels()));
         }},
        {"ZoomToWidth", ZoomMode::Width,
         [](int w, int) { return nearest(w * 90.0 / letterWidthPixels()); }},
        {"Zoom100", ZoomMode::Other, [](int, int) { return 100; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        window->resize(900, 700);
        QCoreApplication::processEvents();
        click(c.button);
        for (const QSize size : {QSize(640, 480), QSize(1200, 500)}) {
            window->resize(size);
            QCoreApplication::processEvents();
            EXPECT_EQ(area().zoomMode(), c.mode);
            EXPECT_EQ(area().Zoom(), c.expectedZoom(area().width(), area().height()));
            // Centred where the page is narrower than the area.
            const QRect image = area().pageImage()->geometry();
            EXPECT_EQ(image.width(), nearest(letterWidthPixels() * area().Zoom() / 100.0) + 4);
            EXPECT_EQ(image.left(),
                      image.width() < area().width() ? (area().width() - image.width()) / 2 : 0);
        }
    }
}

TEST_F(PreviewTest, PaintsThePageOnWhiteWithOutlineAndShadow) {
    openAndRun(3);
    PageImage* image = area().pageImage();
    const QImage painted = image->grab().toImage();
    const int w = painted.width();
    const int h = painted.height();
    EXPECT_EQ(QColor(painted.pixel(0, 0)), QColor(Qt::black));
    EXPECT_EQ(QColor(painted.pixel(w - 4, h / 2)), QColor(Qt::black)); // outline, right
    EXPECT_EQ(QColor(painted.pixel(2, 2)), QColor(Qt::white));
    EXPECT_EQ(QColor(painted.pixel(w - 1, h - 1)), QColor(Qt::black)); // shadow corner
    EXPECT_EQ(QColor(painted.pixel(w - 1, h / 2)), QColor(Qt::black));
    EXPECT_NE(QColor(painted.pixel(w - 1, 0)), QColor(Qt::black)); // above the shadow
}

TEST_F(PreviewTest, PrinterSetupKeepsTheChosenSettingsInTheReport) {
    openAndRun(280);
    printSetupAnswer = [](QPrinter& printer) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        printer.setCopyCount(2);
        printer.setPageOrientation(QPageLayout::Landscape);
        return true;
    };
    click("PrintSetup");
    EXPECT_EQ(asked.value(0), QStringLiteral("print 1..5"));
    Report& report = form.report();
    EXPECT_EQ(report.firstPage(), 2);
    EXPECT_EQ(report.lastPage(), 3);
    EXPECT_EQ(report.copies(), 2);
    EXPECT_EQ(report.layout().page.orientation, Orientation::Landscape);
    EXPECT_EQ(report.layout().page.width, 2794);
    // The pages on view are not produced again.
    EXPECT_EQ(target.pageCount(), 5);

    printSetupAnswer = [](QPrinter&) { return false; };
    click("PrintSetup");
    EXPECT_EQ(report.firstPage(), 2);
}

TEST_F(PreviewTest, PreviewCommandShowsPagesAndReturnsWhenClosed) {
    test::fillAppliances(table, 3);
    bool checked = false;
    whenTrue(
        [] {
            PreviewWindow* window = openPreviewWindow();
            return window != nullptr && window->button(QStringLiteral("Print"))->isEnabled();
        },
        [&] {
            PreviewWindow* window = openPreviewWindow();
            checked = window->pagePanel()->text() == QStringLiteral("Page 1 of 1") &&
                      window->previewArea()->pageShown();
            QTest::mouseClick(window->button(QStringLiteral("ExitButton")), Qt::LeftButton);
        });
    previewReport(form.report(), letterPrinter());
    EXPECT_TRUE(checked);
    EXPECT_FALSE(form.report().busy());
    EXPECT_EQ(table.RowNumber(), 3); // the run left the table on its last record
    QCoreApplication::processEvents();
    EXPECT_EQ(openPreviewWindow(), nullptr);
}

TEST_F(PreviewTest, ASecondPreviewRunsNestedWhileTheFirstWaits) {
    test::fillAppliances(table, 3);
    ApplianceTable secondTable;
    test::fillAppliances(secondTable, 70);
    ReportForm secondForm{secondTable};
    bool secondReturned = false;
    bool firstStayedOpen = false;
    int secondPages = 0;
    whenTrue(
        [] {
            PreviewWindow* window = openPreviewWindow();
            return window != nullptr && window->button(QStringLiteral("Print"))->isEnabled();
        },
        [&] {
            PreviewWindow* first = openPreviewWindow();
            whenTrue(
                [first] {
                    for (QWidget* widget : QApplication::topLevelWidgets()) {
                        auto* window = qobject_cast<PreviewWindow*>(widget);
                        if (window != nullptr && window != first && window->isVisible() &&
                            window->button(QStringLiteral("Print"))->isEnabled())
                            return true;
                    }
                    return false;
                },
                [&, first] {
                    for (QWidget* widget : QApplication::topLevelWidgets()) {
                        auto* window = qobject_cast<PreviewWindow*>(widget);
                        if (window != nullptr && window != first && window->isVisible()) {
                            secondPages = window->previewArea()->target()->pageCount();
                            QTest::keyClick(window, Qt::Key_Escape);
                        }
                    }
                });
            previewReport(secondForm.report(), letterPrinter()); // from inside the first's wait
            secondReturned = true;
            firstStayedOpen = first->isVisible();
            first->close();
        });
    previewReport(form.report(), letterPrinter());
    EXPECT_TRUE(secondReturned);
    EXPECT_TRUE(firstStayedOpen);
    EXPECT_EQ(secondPages, 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(openPreviewWindow(), nullptr);
}

TEST_F(PreviewTest, ClosingDuringProductionStopsTheRunAndTheCommandReturns) {
    test::fillAppliances(table, 3000);
    QString tempName;
    whenTrue(
        [] {
            PreviewWindow* window = openPreviewWindow();
            return window != nullptr && window->previewArea()->pageShown();
        },
        [&] {
            PreviewWindow* window = openPreviewWindow();
            tempName = window->previewArea()->target()->pages().stream().temporaryFileName();
            QTest::keyClick(window, Qt::Key_Escape);
        });
    previewReport(form.report(), letterPrinter());
    EXPECT_FALSE(form.report().busy());
    EXPECT_TRUE(form.report().cancelled());
    EXPECT_LT(table.RowNumber(), 3000); // stopped before the last record
    QCoreApplication::processEvents();
    EXPECT_EQ(openPreviewWindow(), nullptr);
    if (!tempName.isEmpty())
        EXPECT_FALSE(QFileInfo::exists(tempName));
}

} // namespace
} // namespace pellion
