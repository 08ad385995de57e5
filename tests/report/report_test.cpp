// The usage report run onto page images: page breaking, the texts on the
// pages, the progress window and cancelling.

#include "report/report.h"

#include "engine/numberformat.h"
#include "ledger/appliancetable.h"
#include "pagerecorder.h"
#include "report/controlpainter.h"
#include "report/controltext.h"
#include "report/pageimagedestination.h"
#include "report/printcommand.h"
#include "report/progressform.h"
#include "report/reportform.h"
#include "report/reportprinter.h"
#include "reporttestdata.h"
#include "tests/qtapplication.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace pellion {
namespace {

using test::applianceName;
using test::RecordedPage;

PrinterCapabilities printerOffering(std::vector<int> papers, int current) {
    return test::installedPrinter(QStringLiteral("Test printer"), std::move(papers), current);
}

// A printer holding A4 that also offers Letter: the report takes Letter.
PrinterCapabilities letterPrinter() {
    return printerOffering({a4PaperCode, letterPaperCode}, a4PaperCode);
}
PrinterCapabilities a4OnlyPrinter() {
    return printerOffering({a4PaperCode}, a4PaperCode);
}
PrinterCapabilities noPrinter() {
    return PrinterCapabilities{};
}

class PageImageRun : public ::testing::Test {
protected:
    void fill(int count) { test::fillAppliances(table, count); }

    // Runs the report into page images on the given printer's paper.
    void run(const PrinterCapabilities& printer = letterPrinter()) {
        target = std::make_unique<ReportPrinter>(printer);
        target->setPageImageDestination(pages);
        if (attachProgress) {
            progress = std::make_unique<ProgressForm>();
            progress->attach(*target);
            progress->show();
        }
        if (beforeRun)
            beforeRun();
        form.report().run(*target);
    }

    int linesOn(const RecordedPage& page) const {
        return page.countStartingWith(QStringLiteral("Fridge "));
    }
    std::vector<int> linesPerPage() const {
        std::vector<int> lines;
        for (const RecordedPage& page : pages.pages)
            lines.push_back(linesOn(page));
        return lines;
    }
    int summaryPage() const {
        for (std::size_t index = 0; index < pages.pages.size(); ++index) {
            if (pages.pages[index].contains(QStringLiteral("Total Cost Per Day :")))
                return static_cast<int>(index) + 1;
        }
        return 0;
    }

    bool applicationReady = (testApplication(), true);
    ApplianceTable table;
    ReportForm form{table};
    test::PageRecorder pages;
    std::unique_ptr<ReportPrinter> target;
    std::unique_ptr<ProgressForm> progress;
    bool attachProgress = false;
    std::function<void()> beforeRun;
};

struct PageBreakCase {
    const char* situation;
    int appliances;
    PrinterCapabilities (*printer)();
    Orientation orientation;
    std::vector<int> linesPerPage;
    int summaryPage;
    QSize pageSize; // screen pixels at 96 per inch
};

TEST_F(PageImageRun, BandsBreakIntoPagesByHeight) {
    const QSize letter(816, 1056);
    const QSize a4(794, 1123);
    const QSize letterLandscape(1056, 816);
    const PageBreakCase cases[] = {
        {"52 lines and the summary fill page 1",
         52,
         letterPrinter,
         Orientation::Portrait,
         {52},
         1,
         letter},
        {"53 lines push the summary to page 2",
         53,
         letterPrinter,
         Orientation::Portrait,
         {53, 0},
         2,
         letter},
        {"54 lines fill page 1 exactly",
         54,
         letterPrinter,
         Orientation::Portrait,
         {54, 0},
         2,
         letter},
        {"55th line goes to page 2", 55, letterPrinter, Orientation::Portrait, {54, 1}, 2, letter},
        {"continuation page holds 60 lines",
         115,
         letterPrinter,
         Orientation::Portrait,
         {54, 60, 1},
         3,
         letter},
        {"57 lines leave room for the summary",
         111,
         letterPrinter,
         Orientation::Portrait,
         {54, 57},
         2,
         letter},
        {"58 lines on a continuation page push the summary on",
         112,
         letterPrinter,
         Orientation::Portrait,
         {54, 58, 0},
         3,
         letter},
        {"A4 printer: 59 on page 1, 64 after",
         124,
         a4OnlyPrinter,
         Orientation::Portrait,
         {59, 64, 1},
         3,
         a4},
        {"no printer lays out on A4", 60, noPrinter, Orientation::Portrait, {59, 1}, 2, a4},
        {"landscape: 39 on page 1, 45 after",
         85,
         letterPrinter,
         Orientation::Landscape,
         {39, 45, 1},
         3,
         letterLandscape},
    };
    for (const PageBreakCase& c : cases) {
        SCOPED_TRACE(c.situation);
        ApplianceTable caseTable;
        test::fillAppliances(caseTable, c.appliances);
        ReportForm caseForm(caseTable);
        caseForm.report().setOrientation(c.orientation);
        test::PageRecorder casePages;
        ReportPrinter caseTarget(c.printer());
        caseTarget.setPageImageDestination(casePages);
        caseForm.report().run(caseTarget);

        std::vector<int> lines;
        int summary = 0;
        for (std::size_t index = 0; index < casePages.pages.size(); ++index) {
            const RecordedPage& page = casePages.pages[index];
            lines.push_back(page.countStartingWith(QStringLiteral("Fridge ")));
            if (page.contains(QStringLiteral("Total Cost Per Day :")))
                summary = static_cast<int>(index) + 1;
            EXPECT_EQ(page.boundingRect.size(), c.pageSize);
        }
        EXPECT_EQ(lines, c.linesPerPage);
        EXPECT_EQ(summary, c.summaryPage);
        EXPECT_EQ(casePages.finishedPageCount, static_cast<int>(casePages.pages.size()));
        // The lines keep the table's order: the last one is on the last page with lines.
        const auto lastWithLines =
            std::find_if(lines.rbegin(), lines.rend(), [](int n) { return n > 0; });
        ASSERT_NE(lastWithLines, lines.rend());
        const std::size_t lastIndex = static_cast<std::size_t>(lines.rend() - lastWithLines) - 1;
        EXPECT_TRUE(casePages.pages[lastIndex].contains(applianceName(c.appliances)));
    }
}

TEST_F(PageImageRun, EmptyTablePrintsTitleBlankLineAndSummaryOnOnePage) {
    run();
    ASSERT_EQ(pages.pages.size(), 1u);
    const RecordedPage& page = pages.pages.front();
    EXPECT_TRUE(page.contains(QStringLiteral("Pellion Report")));
    EXPECT_TRUE(page.contains(QStringLiteral("Cost per Hour")));
    EXPECT_TRUE(page.contains(QStringLiteral("Total Cost Per Day :")));
    EXPECT_EQ(linesOn(page), 0);

    // The summary stands one blank detail band (42 tenths) below the title band.
    double headingY = 0;
    double summaryY = 0;
    for (const test::DrawnText& drawn : page.texts) {
        if (drawn.text == QStringLiteral("Appliance"))
            headingY = drawn.position.y();
        if (drawn.text == QStringLiteral("Total Cost Per Day :"))
            summaryY = drawn.position.y();
    }
    const auto toPixels = [](double tenths) { return nearestEven(tenths * 96 / 254); };
    const double headingTop = 127 + stepsToTenths(72);
    const double summaryTop = 127 + 235 + 42 + stepsToTenths(8);
    EXPECT_EQ(summaryY - headingY, toPixels(summaryTop) - toPixels(headingTop));
}

TEST_F(PageImageRun, ContinuationPagesCarryNoTitleRateOrHeadings) {
    fill(115);
    applyReportTexts(form, {QStringLiteral("0.2000"), QStringLiteral("0.5"), QStringLiteral("12"),
                            QStringLiteral("60")});
    run();
    ASSERT_EQ(pages.pages.size(), 3u);
    const QStringList titleTexts = {
        QStringLiteral("Pellion Report"), QStringLiteral("Electricity KWH Charge :"),
        QStringLiteral("0.2000"),         QStringLiteral("Appliance"),
        QStringLiteral("Voltage"),        QStringLiteral("Amperage"),
        QStringLiteral("Wattage"),        QStringLiteral("KiloWatts per Hour"),
        QStringLiteral("Cost per Hour")};
    for (const QString& text : titleTexts) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(pages.pages[0].count(text), 1);
        EXPECT_FALSE(pages.pages[1].contains(text));
        EXPECT_FALSE(pages.pages[2].contains(text));
    }
    EXPECT_EQ(pages.pages[1].allTexts().first(), applianceName(55));
}

TEST_F(PageImageRun, LabelsShowTheTextsTheMainWindowPassed) {
    fill(2);
    // A zero day total has an empty edit text, a zero hour total reads 0.
    applyReportTexts(
        form, {QStringLiteral("0.2000"), QStringLiteral("0"), QString(), QStringLiteral("3.5")});
    run();
    ASSERT_EQ(pages.pages.size(), 1u);
    const RecordedPage& page = pages.pages.front();
    EXPECT_EQ(page.textRightOf(QStringLiteral("Electricity KWH Charge :")),
              QStringLiteral("0.2000"));
    EXPECT_EQ(page.textRightOf(QStringLiteral("Total Cost Per Day :")), QStringLiteral("$"));
    EXPECT_EQ(page.textRightOf(QStringLiteral("Total Cost Per Hour :")), QStringLiteral("$0"));
    EXPECT_EQ(page.textRightOf(QStringLiteral("Daily KWH Usage :")), QStringLiteral("3.5"));
    EXPECT_EQ(form.caption(QStringLiteral("rptlbltd")), QStringLiteral("$"));
}

TEST_F(PageImageRun, DetailLineShowsTheTableTextsInColumnOrder) {
    fill(3);
    table.GoNext(); // the run starts from the first record wherever the cursor is
    run();
    ASSERT_EQ(pages.pages.size(), 1u);
    table.GoFirst();
    table.GoNext();
    QStringList expected{applianceName(2)};
    for (const char* field : {"voltage", "amperage", "wattage", "kilowattshour", "costhour"})
        expected << QString::fromStdString(table.FieldNamed(field).ShownText());
    EXPECT_EQ(pages.pages.front().lineOf(applianceName(2)), expected);
}

// Stands in for the grid: notes the current row at every cursor move.
class CursorWatcher : public TableListener {
public:
    explicit CursorWatcher(ApplianceTable& table) : m_table(table) { table.addListener(this); }
    ~CursorWatcher() override { m_table.removeListener(this); }
    void tableChanged(TableChange change) override {
        if (change == TableChange::Cursor)
            rows.push_back(m_table.RowNumber());
    }
    std::vector<int> rows;

private:
    ApplianceTable& m_table;
};

TEST_F(PageImageRun, TableIsLeftOnItsLastRecordAndTheGridFollowsOnceAtTheEnd) {
    fill(7);
    table.GoNext();
    table.GoNext();
    CursorWatcher grid(table);
    run();
    EXPECT_EQ(grid.rows, std::vector<int>{7});
    EXPECT_EQ(table.RowNumber(), 7);
    EXPECT_EQ(QString::fromStdString(table.FieldNamed("appliance").ShownText()), applianceName(7));
}

struct UnsettledRecordCase {
    const char* situation;
    std::function<void(ApplianceTable&)> leave;
    QStringList names; // the detail lines' appliance names
    int records;       // the table's afterwards
};

TEST_F(PageImageRun, ARecordLeftInEditingIsPostedAndAnUntouchedInsertDroppedBeforeTheRun) {
    const UnsettledRecordCase cases[] = {
        {"a name typed over the second record",
         [](ApplianceTable& kmt) {
             kmt.GoNext();
             kmt.StartEdit();
             kmt.FieldNamed("appliance").AssignText("Kettle");
         },
         {applianceName(1), QStringLiteral("Kettle"), applianceName(3)},
         3},
        {"an inserted record nobody typed into",
         [](ApplianceTable& kmt) { kmt.StartInsert(); },
         {applianceName(1), applianceName(2), applianceName(3)},
         3},
        {"an appended record with a name",
         [](ApplianceTable& kmt) {
             kmt.StartAppend();
             kmt.FieldNamed("appliance").AssignText("Lamp");
         },
         {applianceName(1), applianceName(2), applianceName(3), QStringLiteral("Lamp")},
         4},
    };
    for (const UnsettledRecordCase& c : cases) {
        SCOPED_TRACE(c.situation);
        ApplianceTable caseTable;
        test::fillAppliances(caseTable, 3);
        c.leave(caseTable);
        ReportForm caseForm(caseTable);
        test::PageRecorder casePages;
        ReportPrinter caseTarget(letterPrinter());
        caseTarget.setPageImageDestination(casePages);
        caseForm.report().run(caseTarget);
        ASSERT_EQ(casePages.pages.size(), 1u);
        // The names stand below the "Appliance" heading.
        const std::vector<test::DrawnText>& texts = casePages.pages.front().texts;
        const auto heading = std::find_if(texts.begin(), texts.end(), [](const auto& text) {
            return text.text == QStringLiteral("Appliance");
        });
        ASSERT_NE(heading, texts.end());
        QStringList names;
        for (const test::DrawnText& text : texts) {
            if (!text.bold && text.position.x() == heading->position.x())
                names << text.text;
        }
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(caseTable.state(), TableState::Browsing);
        EXPECT_EQ(caseTable.RecordTotal(), c.records);
    }
}

TEST_F(PageImageRun, TitleShowsTheDateAndTimeOfTheRunInTheUsersFormats) {
    struct Case {
        QLocale::Language language;
        QLocale::Territory territory;
        const char* dateFormat;
        const char* timeFormat;
        const char* shown;
    };
    const Case cases[] = {
        {QLocale::English, QLocale::UnitedStates, "M/d/yyyy", "h:mm:ss AP", "3/5/2024 1:05:09 PM"},
        {QLocale::German, QLocale::Germany, "d. MMMM yyyy", "HH:mm:ss", "5. März 2024 13:05:09"},
    };
    fill(1);
    form.report().setClock([] { return QDateTime(QDate(2024, 3, 5), QTime(13, 5, 9)); });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        QLocale::setDefault(QLocale(c.language, c.territory));
        FormatSettings settings = formatSettings();
        settings.shortDateFormat = c.dateFormat;
        settings.longTimeFormat = c.timeFormat;
        ScopedFormatSettings scoped(settings);
        pages.pages.clear();
        run();
        EXPECT_EQ(pages.pages.front().textRightOf(QStringLiteral("Pellion Report")),
                  QString::fromUtf8(c.shown));
    }
    QLocale::setDefault(QLocale::system());
}

TEST_F(PageImageRun, TitleDateAndTimeEndInsideTheRightMargin) {
    struct Case {
        const char* situation;
        const char* dateFormat;
        const char* timeFormat;
        bool movedLeft;
    };
    const Case cases[] = {
        {"a short date and time stand where the layout puts them", "d MMM yyyy", "HH:mm:ss t",
         false},
        {"a long one ends at the margin", "dddd, d MMMM yyyy", "HH 'h' mm 'min' ss 's'", true},
    };
    fill(1);
    const ReportControl& control = form.report().layout().control("SysData1");
    const QFont font = reportFont(control.font);
    const double dpi = screenPixelsPerInch();
    const ReportPage& page = form.report().layout().page;
    const double designedLeft = (page.leftMargin + control.left) * dpi / 254;
    const double margin = (page.width - page.rightMargin) * dpi / 254;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        FormatSettings settings = formatSettings();
        settings.shortDateFormat = c.dateFormat;
        settings.longTimeFormat = c.timeFormat;
        ScopedFormatSettings scoped(settings);
        pages.pages.clear();
        run();
        const QString shown = pages.pages.front().textRightOf(QStringLiteral("Pellion Report"));
        const test::DrawnText* drawn = nullptr;
        for (const test::DrawnText& text : pages.pages.front().texts) {
            if (text.text == shown)
                drawn = &text;
        }
        ASSERT_NE(drawn, nullptr);
        const double right = drawn->position.x() + QFontMetricsF(font).horizontalAdvance(shown);
        EXPECT_LE(right, margin + 0.5) << shown.toStdString();
        if (c.movedLeft) {
            EXPECT_LT(drawn->position.x(), designedLeft - 0.5);
            EXPECT_GT(right, margin - 2.5); // it ends at the margin, not anywhere left of it
        } else {
            EXPECT_NEAR(drawn->position.x(), designedLeft, 0.5);
        }
    }
}

struct ProgressCase {
    const char* situation;
    int appliances;
    std::vector<int> gaugeSteps;
    QString lastInfo;
};

TEST_F(PageImageRun, GaugeMovesOnMultiplesOfFive) {
    std::vector<int> every5;
    for (int percent = 5; percent <= 100; percent += 5)
        every5.push_back(percent);
    const ProgressCase cases[] = {
        {"3 appliances jump from 0 to 100", 3, {100}, QStringLiteral("100%  Completed")},
        {"20 appliances move by 5 per line", 20, every5, QStringLiteral("100%  Completed")},
    };
    for (const ProgressCase& c : cases) {
        SCOPED_TRACE(c.situation);
        ApplianceTable caseTable;
        test::fillAppliances(caseTable, c.appliances);
        ReportForm caseForm(caseTable);
        test::PageRecorder casePages;
        ReportPrinter caseTarget(letterPrinter());
        caseTarget.setPageImageDestination(casePages);
        ProgressForm window;
        window.attach(caseTarget);
        window.show();
        std::vector<int> steps;
        QObject::connect(window.gauge(), &QProgressBar::valueChanged,
                         [&steps](int value) { steps.push_back(value); });
        caseForm.report().run(caseTarget);
        EXPECT_EQ(steps, c.gaugeSteps);
        EXPECT_EQ(window.info()->text(), c.lastInfo);
    }
}

TEST_F(PageImageRun, ProgressWindowLayout) {
    ProgressForm window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Printing progress"));
    EXPECT_EQ(window.size(), QSize(149, 97));
    EXPECT_EQ(window.gauge()->geometry(), QRect(16, 18, 114, 16));
    EXPECT_EQ(window.info()->geometry(), QRect(0, 44, 145, 13));
    EXPECT_EQ(window.cancelButton()->geometry(), QRect(36, 60, 75, 25));
    EXPECT_EQ(window.cancelButton()->text(), QStringLiteral("Cancel"));
    EXPECT_TRUE(window.info()->text().isEmpty());
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(PageImageRun, CancelButtonStopsBeforeTheNextLineAndKeepsThePages) {
    fill(60);
    // Events before every record, so the click lands between two known lines.
    form.report().setEventInterval(std::chrono::milliseconds(0));
    attachProgress = true;
    beforeRun = [this] {
        QObject::connect(progress->gauge(), &QProgressBar::valueChanged, [this](int value) {
            if (value == 50)
                QTest::mouseClick(progress->cancelButton(), Qt::LeftButton);
        });
    };
    run();
    // Line 30 set the gauge to 50; the click came before line 31.
    EXPECT_EQ(linesPerPage(), std::vector<int>{30});
    EXPECT_EQ(summaryPage(), 0);
    EXPECT_EQ(pages.finishedPageCount, 1); // ended, not aborted
    EXPECT_FALSE(form.report().cancelled());
    EXPECT_FALSE(form.report().busy());
}

TEST_F(PageImageRun, CancellingTheReportAbortsTheDocument) {
    fill(60);
    form.report().setEventInterval(std::chrono::milliseconds(0));
    attachProgress = true;
    beforeRun = [this] {
        QObject::connect(progress->gauge(), &QProgressBar::valueChanged, [this](int value) {
            if (value == 50)
                form.report().cancel();
        });
    };
    run();
    EXPECT_EQ(linesPerPage(), std::vector<int>{30}); // the open page is still stored
    EXPECT_EQ(pages.finishedPageCount, -1);
    EXPECT_EQ(target->status(), PrintStatus::Finished);
    EXPECT_TRUE(form.report().cancelled());
    EXPECT_EQ(table.RowNumber(), 1); // a stopped run leaves the cursor where it was
}

TEST_F(PageImageRun, RunWhileBusyDoesNothing) {
    fill(20);
    attachProgress = true;
    test::PageRecorder nestedPages;
    ReportPrinter nestedTarget(letterPrinter());
    nestedTarget.setPageImageDestination(nestedPages);
    beforeRun = [&] {
        QObject::connect(progress->gauge(), &QProgressBar::valueChanged,
                         [&](int) { form.report().run(nestedTarget); });
    };
    run();
    EXPECT_EQ(nestedPages.startCount, 0);
    EXPECT_EQ(linesPerPage(), std::vector<int>{20});
}

struct DateTimeCase {
    const char* situation;
    const char* dateFormat;
    const char* timeFormat;
    QDateTime moment;
    const char* text;
};

TEST(DateTimeText, UsesTheShortDateAndLongTimeFormats) {
    testApplication();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QDate day(2024, 3, 5);
    const DateTimeCase cases[] = {
        {"afternoon, 12-hour clock", "M/d/yyyy", "h:mm:ss AP", QDateTime(day, QTime(13, 5, 9)),
         "3/5/2024 1:05:09 PM"},
        {"24-hour clock", "dd.MM.yyyy", "HH:mm:ss", QDateTime(day, QTime(7, 0, 0)),
         "05.03.2024 07:00:00"},
        {"midnight leaves the time out", "dd.MM.yyyy", "HH:mm:ss", QDateTime(day, QTime(0, 0, 0)),
         "05.03.2024"},
        {"one second past midnight keeps it", "yyyy-MM-dd", "HH:mm:ss",
         QDateTime(day, QTime(0, 0, 1)), "2024-03-05 00:00:01"},
        // The zone that ends many long time formats is left out with what
        // sets it apart from the time.
        {"zone at the end", "d MMM yyyy", "HH:mm:ss t", QDateTime(day, QTime(13, 42, 41)),
         "5 Mar 2024 13:42:41"},
        {"zone after a comma", "M/d/yyyy", "h:mm:ss AP, t", QDateTime(day, QTime(13, 42, 41)),
         "3/5/2024 1:42:41 PM"},
        {"zone in brackets", "dd.MM.yyyy", "H:mm:ss (t)", QDateTime(day, QTime(9, 5, 0)),
         "05.03.2024 9:05:00"},
        {"zone first", "yyyy/MM/dd", "t HH:mm:ss", QDateTime(day, QTime(9, 5, 0)),
         "2024/03/05 09:05:00"},
        {"a quoted t is text, not the zone", "dd.MM.yyyy", "'kl'. HH:mm 'Uhrzeit' t",
         QDateTime(day, QTime(9, 5, 0)), "05.03.2024 kl. 09:05 Uhrzeit"},
    };
    for (const DateTimeCase& c : cases) {
        SCOPED_TRACE(c.situation);
        FormatSettings settings = formatSettings();
        settings.shortDateFormat = c.dateFormat;
        settings.longTimeFormat = c.timeFormat;
        ScopedFormatSettings scoped(settings);
        EXPECT_EQ(dateTimeText(c.moment), QString::fromUtf8(c.text));
    }
    QLocale::setDefault(QLocale::system());
}

TEST(DateTimeText, NoLocalesLongTimeShowsTheZone) {
    testApplication();
    const QTime time(13, 42, 41);
    const QString zone = QLocale::c().toString(time, QStringLiteral("t"));
    ASSERT_FALSE(zone.isEmpty());
    const QDateTime moment(QDate(2024, 3, 5), time);
    for (const QLocale& locale : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript,
                                                          QLocale::AnyTerritory)) {
        const QString format = locale.timeFormat(QLocale::LongFormat);
        SCOPED_TRACE(locale.name().toStdString() + " " + format.toStdString());
        FormatSettings settings = formatSettings();
        settings.shortDateFormat = "yyyy-MM-dd";
        settings.longTimeFormat = format.toStdString();
        ScopedFormatSettings scoped(settings);
        QLocale::setDefault(locale);
        const QString text = dateTimeText(moment);
        EXPECT_FALSE(text.contains(zone)) << text.toStdString();
        EXPECT_TRUE(text.contains(locale.toString(41))) << text.toStdString(); // the seconds stay
        EXPECT_FALSE(text.endsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(',')));
    }
    QLocale::setDefault(QLocale::system());
}

TEST(ControlLines, DropsLineFeedsAndCutsAtCarriageReturns) {
    EXPECT_EQ(controlLines(QStringLiteral("Kettle")), QStringList{QStringLiteral("Kettle")});
    EXPECT_EQ(controlLines(QStringLiteral("Ket\ntle")), QStringList{QStringLiteral("Kettle")});
    EXPECT_EQ(controlLines(QStringLiteral("Hot\r\nplate")),
              (QStringList{QStringLiteral("Hot"), QStringLiteral("plate")}));
}

TEST_F(PageImageRun, FieldHoldingACarriageReturnPrintsOnlyItsFirstLine) {
    table.StartAppend();
    table.FieldNamed("appliance").AssignText("Hot\rplate");
    table.PostRecord();
    run();
    ASSERT_EQ(pages.pages.size(), 1u);
    EXPECT_TRUE(pages.pages.front().contains(QStringLiteral("Hot")));
    EXPECT_FALSE(pages.pages.front().contains(QStringLiteral("plate")));
}

TEST_F(PageImageRun, DataFieldWithoutATableFieldPrintsNothingAndTheRunGoesOn) {
    // A ledger may define fewer fields than the report names.
    std::vector<FieldDefinition> fields;
    for (const FieldDefinition& field : standardFields()) {
        if (field.fieldName == "appliance" || field.fieldName == "voltage")
            fields.push_back(field);
    }
    table.replaceFields(fields);
    fill(2);
    run();
    ASSERT_EQ(pages.pages.size(), 1u);
    const QStringList line = pages.pages.front().lineOf(applianceName(2));
    ASSERT_EQ(line.size(), 2);
    EXPECT_EQ(line[1], QString::fromStdString(table.FieldNamed("voltage").ShownText()));
    EXPECT_TRUE(pages.pages.front().contains(QStringLiteral("Total Cost Per Day :")));
}

} // namespace
} // namespace pellion
