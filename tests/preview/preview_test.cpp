// The preview window driven as a user would: the window before the first
// page, page-available and progress notifications, navigation keys, zoom and
// resizing, the printer set-up, and closing during a run.

#include "previewfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolTip>

#include <chrono>
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
                                  "SaveAsPdf|Save as PDF",
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

const char* const pictureButtons[] = {"ZoomFit",      "Zoom100",     "ZoomToWidth", "FirstPage",
                                      "PreviousPage", "ToolButton2", "LastPage",    "PrintSetup",
                                      "Print",        "SaveReport",  "LoadReport",  "SaveAsPdf"};

// Opaque pixels of a button's picture at the toolbar's size.
int opaquePixels(const QImage& picture) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            count += qAlpha(picture.pixel(x, y)) > 128 ? 1 : 0;
    }
    return count;
}

QImage pictureOf(QToolButton* button) {
    return button->icon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

// An icon theme of its own for the test, holding only "go-next" in red.
class TestIconTheme {
public:
    TestIconTheme() : m_paths(QIcon::themeSearchPaths()), m_name(QIcon::themeName()) {
        QDir(m_folder.path()).mkpath(QStringLiteral("pellion-test/16x16/actions"));
        QFile index(m_folder.filePath(QStringLiteral("pellion-test/index.theme")));
        if (index.open(QIODevice::WriteOnly)) {
            index.write("[Icon Theme]\nName=pellion-test\nDirectories=16x16/actions\n\n"
                        "[16x16/actions]\nSize=16\nType=Fixed\n");
        }
        QImage red(16, 16, QImage::Format_ARGB32);
        red.fill(Qt::red);
        red.save(m_folder.filePath(QStringLiteral("pellion-test/16x16/actions/go-next.png")));
        QIcon::setThemeSearchPaths({m_folder.path()});
        QIcon::setThemeName(QStringLiteral("pellion-test"));
    }
    ~TestIconTheme() {
        QIcon::setThemeSearchPaths(m_paths);
        QIcon::setThemeName(m_name);
    }

private:
    QTemporaryDir m_folder;
    QStringList m_paths;
    QString m_name;
};

TEST_F(PreviewTest, WithoutAnIconThemeEveryButtonShowsADrawnPictureOfItsOwn) {
    const QString themeBefore = QIcon::themeName();
    QIcon::setThemeName(QStringLiteral("pellion-no-such-theme"));
    openWindow();
    QIcon::setThemeName(themeBefore);
    std::vector<QImage> pictures;
    for (const char* name : pictureButtons) {
        SCOPED_TRACE(name);
        const QImage picture = pictureOf(button(name));
        // Enough ink to read at 16 x 16, and unlike every other button.
        EXPECT_GT(opaquePixels(picture), 30);
        for (const QImage& other : pictures)
            EXPECT_NE(picture, other);
        pictures.push_back(picture);
        EXPECT_FALSE(button(name)->toolTip().isEmpty());
    }
}

TEST_F(PreviewTest, TheDesktopsIconThemeIsUsedWhereItHasTheIcon) {
    const TestIconTheme theme;
    openWindow();
    const QImage next = pictureOf(button("ToolButton2"));
    EXPECT_EQ(next.pixel(8, 8), QColor(Qt::red).rgba());
    EXPECT_EQ(opaquePixels(next), 16 * 16);
    // Names the theme lacks keep their drawn picture.
    const QImage previous = pictureOf(button("PreviousPage"));
    EXPECT_GT(opaquePixels(previous), 30);
    EXPECT_NE(previous.pixel(8, 8), QColor(Qt::red).rgba());
}

TEST_F(PreviewTest, RightClickOnTheToolbarOffersNothingAndTheToolbarStays) {
    openWindow();
    QStringList offered;
    QTimer popupWatcher;
    QObject::connect(&popupWatcher, &QTimer::timeout, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions())
                offered << action->text();
            menu->close();
        }
    });
    popupWatcher.start(5);
    auto* toolBar = window->findChild<QToolBar*>(QStringLiteral("ToolBar1"));
    ASSERT_NE(toolBar, nullptr);
    const QPoint onAButton = button("ZoomFit")->geometry().center();
    const QPoint pastTheButtons(toolBar->width() - 4, toolBar->height() / 2);
    for (const QPoint at : {onAButton, pastTheButtons}) {
        QTest::mouseClick(window->windowHandle(), Qt::RightButton, Qt::NoModifier,
                          toolBar->mapTo(window.get(), at));
        QTest::qWait(20);
    }
    EXPECT_TRUE(offered.isEmpty()) << offered.join(QStringLiteral(", ")).toStdString();
    EXPECT_TRUE(toolBar->isVisible());
}

TEST_F(PreviewTest, HoveringAButtonShowsItsHintAsATooltipAndThePanelsStay) {
    openWindow();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    for (const char* name : {"ZoomFit", "LoadReport"}) {
        SCOPED_TRACE(name);
        QToolButton* hovered = button(name);
        QTest::mouseMove(window->windowHandle(),
                         hovered->mapTo(window.get(), hovered->rect().center()));
        const auto hintShown = [&] {
            return QToolTip::isVisible() && QToolTip::text() == hovered->toolTip();
        };
        for (int waited = 0; waited < 5000 && !hintShown(); waited += 20)
            QTest::qWait(20);
        EXPECT_TRUE(hintShown()) << QToolTip::text().toStdString();
        EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
        EXPECT_TRUE(window->progressPanel()->isVisible());
        EXPECT_TRUE(window->pagePanel()->isVisible());
        EXPECT_EQ(window->progressPanel()->text(), QStringLiteral("0%"));
        EXPECT_EQ(pageText(), QStringLiteral("Page 1 of 0"));
    }
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
    // Events before every record, so that a short run is seen half way.
    form.report().setEventInterval(std::chrono::milliseconds(0));
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
    form.report().setEventInterval(std::chrono::milliseconds(0)); // page 2 is surely unfinished
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

template <typename Widget> Widget* part(PrinterSetupDialog& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void typeInto(QSpinBox* box, const QString& text) {
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
}

// Clicks the button's circle and label, not the empty width a layout gave it.
void choose(QRadioButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier,
                      QPoint(button->sizeHint().width() / 2, button->height() / 2));
}

void pressDialogButton(PrinterSetupDialog& dialog, QDialogButtonBox::StandardButton which) {
    QTest::mouseClick(dialog.findChild<QDialogButtonBox*>()->button(which), Qt::LeftButton);
}

// What the set-up offers, as the user reads it.
struct OfferedSetup {
    QString printer;
    QStringList printers;
    int copies = 0;
    bool copiesEditable = false;
    bool landscape = false;
    bool range = false;
    int from = 0;
    int to = 0;
    int lastPageOffered = 0;
};

OfferedSetup offered(PrinterSetupDialog& dialog) {
    OfferedSetup setup;
    auto* printer = part<QComboBox>(dialog, "printerName");
    setup.printer = printer->currentText();
    for (int index = 0; index < printer->count(); ++index)
        setup.printers << printer->itemText(index);
    setup.copies = part<QSpinBox>(dialog, "copies")->value();
    setup.copiesEditable = part<QSpinBox>(dialog, "copies")->isEnabled();
    setup.landscape = part<QRadioButton>(dialog, "landscape")->isChecked();
    setup.range = part<QRadioButton>(dialog, "pageRange")->isChecked();
    setup.from = part<QSpinBox>(dialog, "fromPage")->value();
    setup.to = part<QSpinBox>(dialog, "toPage")->value();
    setup.lastPageOffered = part<QSpinBox>(dialog, "toPage")->maximum();
    return setup;
}

TEST_F(PreviewTest, PrinterSetupOffersOnlyWhatAPrintApplies) {
    openAndRun(280);
    QStringList inputs;
    QStringList buttons;
    answerPrinterSetup([&](PrinterSetupDialog& dialog) {
        for (QWidget* input : dialog.findChildren<QWidget*>()) {
            if (qobject_cast<QComboBox*>(input) || qobject_cast<QAbstractSpinBox*>(input) ||
                qobject_cast<QRadioButton*>(input) || qobject_cast<QCheckBox*>(input))
                inputs << input->objectName();
        }
        for (QAbstractButton* button : dialog.findChild<QDialogButtonBox*>()->buttons())
            buttons << button->text().remove(QLatin1Char('&'));
        pressDialogButton(dialog, QDialogButtonBox::Cancel);
    });
    click("PrintSetup");
    inputs.sort();
    EXPECT_EQ(inputs, (QStringList{"allPages", "copies", "fromPage", "landscape", "pageRange",
                                   "portrait", "printerName", "toPage"}));
    // Accepting prints nothing, so the button does not say Print.
    buttons.sort();
    EXPECT_EQ(buttons, (QStringList{"Cancel", "OK"}));
}

TEST_F(PreviewTest, PrinterSetupKeepsTheChosenSettingsForLaterPrints) {
    openAndRun(280); // five pages
    OfferedSetup first;
    answerPrinterSetup([&](PrinterSetupDialog& dialog) {
        first = offered(dialog);
        choose(part<QRadioButton>(dialog, "pageRange"));
        typeInto(part<QSpinBox>(dialog, "fromPage"), QStringLiteral("2"));
        typeInto(part<QSpinBox>(dialog, "toPage"), QStringLiteral("3"));
        typeInto(part<QSpinBox>(dialog, "copies"), QStringLiteral("2"));
        choose(part<QRadioButton>(dialog, "landscape"));
        pressDialogButton(dialog, QDialogButtonBox::Ok);
    });
    click("PrintSetup");
    EXPECT_EQ(first.printer, QStringLiteral("Test printer"));
    EXPECT_EQ(first.printers, (QStringList{"Test printer", "Office printer"}));
    EXPECT_EQ(first.copies, 1);
    EXPECT_FALSE(first.landscape);
    EXPECT_FALSE(first.range);
    EXPECT_EQ(first.from, 1);
    EXPECT_EQ(first.to, 5);
    EXPECT_EQ(first.lastPageOffered, 5);

    Report& report = form.report();
    EXPECT_EQ(report.printerName(), QStringLiteral("Test printer"));
    EXPECT_EQ(report.firstPage(), 2);
    EXPECT_EQ(report.lastPage(), 3);
    EXPECT_EQ(report.copies(), 2);
    EXPECT_EQ(report.layout().page.orientation, Orientation::Landscape);
    EXPECT_EQ(report.layout().page.width, 2794);
    EXPECT_EQ(target.pageCount(), 5); // the pages on view are not produced again

    // Opened again it shows the choice; Cancel keeps it.
    OfferedSetup second;
    answerPrinterSetup([&](PrinterSetupDialog& dialog) {
        second = offered(dialog);
        typeInto(part<QSpinBox>(dialog, "copies"), QStringLiteral("7"));
        pressDialogButton(dialog, QDialogButtonBox::Cancel);
    });
    click("PrintSetup");
    EXPECT_EQ(second.copies, 2);
    EXPECT_TRUE(second.landscape);
    EXPECT_TRUE(second.range);
    EXPECT_EQ(second.from, 2);
    EXPECT_EQ(second.to, 3);
    EXPECT_EQ(report.copies(), 2);

    // Back to all pages.
    answerPrinterSetup([&](PrinterSetupDialog& dialog) {
        choose(part<QRadioButton>(dialog, "allPages"));
        pressDialogButton(dialog, QDialogButtonBox::Ok);
    });
    click("PrintSetup");
    EXPECT_EQ(report.firstPage(), 0);
    EXPECT_EQ(report.lastPage(), 0);
}

TEST_F(PreviewTest, PrinterSetupRangeCannotRunBackwards) {
    openAndRun(280);
    answerPrinterSetup([&](PrinterSetupDialog& dialog) {
        choose(part<QRadioButton>(dialog, "pageRange"));
        typeInto(part<QSpinBox>(dialog, "toPage"), QStringLiteral("2"));
        typeInto(part<QSpinBox>(dialog, "fromPage"), QStringLiteral("4"));
        pressDialogButton(dialog, QDialogButtonBox::Ok);
    });
    click("PrintSetup");
    EXPECT_EQ(form.report().firstPage(), 4);
    EXPECT_EQ(form.report().lastPage(), 4);
}

TEST_F(PreviewTest, APrinterThatCannotPrintCopiesOffersOne) {
    openAndRun(3);
    OfferedSetup onOffice;
    answerPrinterSetup([&](PrinterSetupDialog& dialog) {
        typeInto(part<QSpinBox>(dialog, "copies"), QStringLiteral("3"));
        QTest::keyClick(part<QComboBox>(dialog, "printerName"), Qt::Key_Down);
        onOffice = offered(dialog);
        pressDialogButton(dialog, QDialogButtonBox::Ok);
    });
    click("PrintSetup");
    EXPECT_EQ(onOffice.printer, QStringLiteral("Office printer"));
    EXPECT_EQ(onOffice.copies, 1);
    EXPECT_FALSE(onOffice.copiesEditable);
    EXPECT_EQ(form.report().printerName(), QStringLiteral("Office printer"));
    EXPECT_EQ(form.report().copies(), 1);
}

TEST_F(PreviewTest, PrinterSetupWithoutAnyPrinterWarnsThatThereIsNoDefaultPrinter) {
    printers = InstalledPrinters{};
    openAndRun(3);
    bool setupOpened = false;
    answerPrinterSetup([&](PrinterSetupDialog& dialog) {
        setupOpened = true;
        dialog.reject();
    });
    const DialogAnswerer answerer({QStringLiteral("OK")});
    click("PrintSetup");
    ASSERT_EQ(answerer.seen().size(), 1u);
    const SeenDialog& warning = answerer.seen()[0];
    EXPECT_EQ(warning.caption, QStringLiteral("Warning"));
    EXPECT_EQ(warning.icon, QMessageBox::Warning);
    EXPECT_TRUE(warning.text.contains(QStringLiteral("no default printer")))
        << warning.text.toStdString();
    EXPECT_EQ(warning.buttons, QStringList{QStringLiteral("OK")});
    EXPECT_FALSE(setupOpened);
    EXPECT_EQ(form.report().copies(), 1);
    EXPECT_TRUE(form.report().printerName().isEmpty());
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
