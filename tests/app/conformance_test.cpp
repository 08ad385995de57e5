// The program driven as a user drives it: keys typed into the price fields and
// the grid's cells, buttons and check boxes clicked, the files it leaves read
// back byte for byte.

#include "mainwindowfixture.h"

#include "engine/numberformat.h"
#include "report/reportform.h"
#include "tests/beepcounter.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include <cstdlib>
#include <functional>

namespace {

using pellion::MainWindow;
using pellion::TableState;

class ConformanceTest : public MainWindowFixture {
protected:
    void clickBox(const char* name) const {
        QTest::mouseClick(control<QCheckBox>(name), Qt::LeftButton, {}, QPoint(5, 8));
    }
    QString shown(const char* name) const { return control<QLineEdit>(name)->text(); }
    QString label(const char* name) const { return control<QLabel>(name)->text(); }
    std::string cell(int row, const char* field) const {
        return table().shownTextAt(row, table().FieldNamed(field).index());
    }

    pellion::testing::BeepCounter m_beeps;
};

// Two appliances typed into an empty list, the prices typed into their fields,
// Update and Save: the totals and the ledger of the worked example.
TEST_F(ConformanceTest, WorkedExampleTypedInGivesItsTotalsAndItsLedger) {
    start();
    typePrice("sechgphr", QStringLiteral("0.2"));
    typePrice("sedailycharges", QStringLiteral("0.5"));

    click("btn_edit"); // an empty list: a new record
    ASSERT_EQ(table().state(), TableState::Inserting);
    clickCell(0, Appliance);
    typeIntoCurrentCell(QStringLiteral("Kettle"));
    clickCell(0, Voltage);
    typeIntoCurrentCell(QStringLiteral("230"));
    clickCell(0, Wattage);
    typeIntoCurrentCell(QStringLiteral("2000"));
    clickCell(0, HoursDay);
    typeIntoCurrentCell(QStringLiteral("0.5"));
    pressKey(grid(), Qt::Key_Down); // last record: appends the next one
    ASSERT_EQ(grid()->model()->rowCount(), 2);
    clickCell(1, Appliance);
    typeIntoCurrentCell(QStringLiteral("Fridge"));
    clickCell(1, Voltage);
    typeIntoCurrentCell(QStringLiteral("240"));
    clickCell(1, Amperage);
    typeIntoCurrentCell(QStringLiteral("0.5"));
    clickCell(1, HoursDay);
    typeIntoCurrentCell(QStringLiteral("24"));

    click("btnupdate");
    EXPECT_TRUE(dialogs().empty());
    EXPECT_EQ(table().currentViewRow(), 1); // the pass ends on the last record
    click("btn_first");
    EXPECT_EQ(table().FieldNamed("amperage").NumberValue(), 8.6957);
    click("btn_next");
    EXPECT_EQ(table().FieldNamed("wattage").NumberValue(), 120);
    EXPECT_EQ(shown("eb_dailyusage"), "3.88");
    EXPECT_EQ(currency("cetpd")->text(), "1.276");
    EXPECT_EQ(currency("CE")->text(), "0.05317");
    EXPECT_EQ(currency("cecostmth")->text(), "38.7904");
    EXPECT_EQ(currency("cecostqtr")->text(), "116.3712");
    EXPECT_EQ(currency("cecostyr")->text(), "465.4848");
    EXPECT_EQ(label("lblmst"), "Kettle");
    EXPECT_EQ(currency("cemost")->text(), "0.4");
    EXPECT_EQ(label("lbllst"), "Fridge");
    EXPECT_EQ(currency("celeast")->text(), "0.024");

    click("btnSave");
    EXPECT_TRUE(dialogs().empty());
    EXPECT_TRUE(m_window->saved());
    EXPECT_EQ(readFile(ledgerPath()).toStdString(),
              "\"@@FILE VERSION@@\",\"251\"\r\n"
              "\"@@TABLEDEF START@@\"\r\n"
              "\"amperage=Float,0,\"\"Amperage\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"
              "\"appliance=String,50,\"\"Appliance\"\",\"\"\"\",50,Data,\"\"\"\"\"\r\n"
              "\"costday=Float,0,\"\"Cost/Day\"\",\"\"\"\",10,RO,Data,\"\"\"\"\"\r\n"
              "\"costhour=Float,0,\"\"Cost/Hour\"\",\"\"\"\",10,RO,Data,\"\"\"\"\"\r\n"
              "\"hrsday=Float,0,\"\"Daily Usage(Hrs)\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"
              "\"kilowattshour=Float,0,\"\"KWH\"\",\"\"\"\",10,RO,Data,\"\"\"\"\"\r\n"
              "\"voltage=Float,0,\"\"Voltage\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"
              "\"wattage=Float,0,\"\"Wattage\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"
              "\"@@INDEXDEF START@@\"\r\n"
              "\"@@INDEXDEF END@@\"\r\n"
              "\"@@TABLEDEF END@@\"\r\n"
              "\"Amperage\",\"Appliance\",\"Cost/Day\",\"Cost/Hour\",\"Daily Usage(Hrs)\","
              "\"KWH\",\"Voltage\",\"Wattage\",\r\n"
              "\"8.6957\",\"Kettle\",\"0.2\",\"0.4\",\"0.5\",\"2\",\"230\",\"2000\",\r\n"
              "\"0.5\",\"Fridge\",\"0.576\",\"0.024\",\"24\",\"0.12\",\"240\",\"120\",\r\n");
    EXPECT_TRUE(readFile(settingsPath()).contains("[cost]\n0=0.20\n"));
    EXPECT_TRUE(readFile(settingsPath()).contains("[dailycosts]\n0=0.50\n"));

    // The next run shows the file's own shown texts, with the first record current.
    m_window.reset();
    start();
    EXPECT_TRUE(dialogs().empty());
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Kettle", "Fridge"}));
    EXPECT_EQ(cell(0, "amperage"), "8.6957");
    EXPECT_EQ(cell(0, "voltage"), "230");
    EXPECT_EQ(cell(1, "costday"), "0.576");
    EXPECT_EQ(currency("cetpd")->text(), "1.276");
    EXPECT_FALSE(m_window->saved());
}

TEST_F(ConformanceTest, SaveWhileAFreshRecordIsUntouchedStoresThatBlankRecord) {
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5");
    click("btn_ins");
    click("btnSave");
    EXPECT_TRUE(dialogs().empty());
    const QByteArray ledger = readFile(ledgerPath());
    EXPECT_TRUE(ledger.endsWith("\r\n,,,,,,,,\r\n,\"Kettle\",,,\"0.5\",,\"230\",\"2000\",\r\n"))
        << ledger.constData();
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"", "Kettle"}));
    EXPECT_EQ(table().state(), TableState::Browsing);

    m_window.reset();
    start();
    EXPECT_TRUE(dialogs().empty()); // the nameless record raises no error
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"", "Kettle"}));
    EXPECT_EQ(shown("eb_dailyusage"), "1");
}

TEST_F(ConformanceTest, EmptiedListKeepsTheNamesAndShowsTheChargesAlone) {
    writeFile(settingsPath(), "[cost]\n0=0.20\n[dailycosts]\n0=0.50\n[dcdisc]\n0=0.30\n");
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5");
    click("btnupdate");
    ASSERT_EQ(label("lblmst"), "Kettle");
    ASSERT_EQ(label("lbllst"), "Kettle");

    answer({"&Yes"});
    click("btn_del");
    EXPECT_EQ(table().RecordTotal(), 0);
    EXPECT_EQ(currency("cetpd")->text(), "0.5");
    EXPECT_EQ(shown("eb_dailyusage"), "0");
    EXPECT_EQ(currency("cemost")->text(), ""); // 0, shown empty
    // No appliance qualified: the pass's starting million is no one's cost.
    EXPECT_EQ(currency("celeast")->text(), "");
    EXPECT_EQ(currency("celeast")->displayText(), "");
    EXPECT_EQ(label("lblmst"), "Kettle");
    EXPECT_EQ(label("lbllst"), "Kettle");

    clickBox("CB_Dailydisc");
    EXPECT_EQ(currency("cetpd")->text(), "0.2");
    EXPECT_EQ(currency("CE")->text(), "0.00833");
}

// One kettle using exactly 1 kWh a day at 0.20 (250 V x 8 A, so that every
// pass finds the same wattage); the discounts typed into their fields
// and switched on with their check boxes.
TEST_F(ConformanceTest, DiscountsTypedAndSwitchedOn) {
    struct Case {
        const char* situation;
        const char* daily;
        const char* kwh;      // senoofhrsdisc
        const char* kwhPrice; // sekwhdisc
        const char* dayDiscount;
        bool kwhBox;
        bool dayBox;
        const char* day;
        const char* hour;
        const char* month;
        const char* quarter;
        const char* year;
    };
    const Case cases[] = {
        {"discounted kWh above the daily energy: all at the cheaper price", "0", "5", "0.1", "0",
         true, false, "0.1", "0.00417", "3.04", "9.12", "36.48"},
        {"discounted kWh equal to the daily energy", "0", "1", "0.1", "0", true, false, "0.1",
         "0.00417", "3.04", "9.12", "36.48"},
        {"no discounted kWh: as without the discount", "0", "0", "0.1", "0", true, false, "0.2",
         "0.00833", "6.08", "18.24", "72.96"},
        {"daily discount above the charges: negative totals", "0.1", "0", "0", "0.5", false, true,
         "-0.2", "-0.00833", "-6.08", "-18.24", "-72.96"},
        {"both boxes off ignore the discounts", "0.1", "5", "0.1", "0.5", false, false, "0.3",
         "0.0125", "9.12", "27.36", "109.44"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        writeFile(settingsPath(), "[cost]\n0=0.20\n");
        start();
        addAppliance("Kettle", "250", "8", "", "0.5");
        typePrice("sedailycharges", c.daily);
        typePrice("senoofhrsdisc", c.kwh);
        typePrice("sekwhdisc", c.kwhPrice);
        typePrice("sedcdisc", c.dayDiscount);
        if (c.kwhBox)
            clickBox("CB_Discount");
        if (c.dayBox)
            clickBox("CB_Dailydisc");
        EXPECT_TRUE(dialogs().empty());
        EXPECT_EQ(m_window->kwhDiscountOn(), c.kwhBox);
        EXPECT_EQ(m_window->dailyDiscountOn(), c.dayBox);
        EXPECT_EQ(currency("cetpd")->text(), c.day);
        EXPECT_EQ(currency("CE")->text(), c.hour);
        EXPECT_EQ(currency("cecostmth")->text(), c.month);
        EXPECT_EQ(currency("cecostqtr")->text(), c.quarter);
        EXPECT_EQ(currency("cecostyr")->text(), c.year);
        m_window.reset();
    }
}

TEST_F(ConformanceTest, RecordWithANegativeValueStopsThePassThere) {
    writeFile(settingsPath(), "[cost]\n0=0.20\n");
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5");
    addAppliance("Fridge", "240", "0.5", "", "24");
    click("btnupdate");
    ASSERT_EQ(cell(1, "costday"), ".58");

    click("btn_first");
    clickCell(0, Voltage);
    click("btn_edit");
    clickCell(0, Voltage);
    typeIntoCurrentCell(QStringLiteral("-230"));
    clickCell(1, HoursDay); // leaving the record posts it
    click("btn_edit");
    clickCell(1, HoursDay);
    typeIntoCurrentCell(QStringLiteral("12"));
    answer({"OK"});
    click("btnupdate");
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, "Error");
    EXPECT_EQ(table().currentViewRow(), 0);
    EXPECT_EQ(shown("eb_dailyusage"), "0");
    EXPECT_EQ(currency("cetpd")->text(), "");
    EXPECT_EQ(cell(1, "costday"), ".58"); // the fridge keeps its old values
}

TEST_F(ConformanceTest, TypingARateWhileARecordIsOpenSettlesItFirst) {
    struct Case {
        const char* situation;
        bool typeIntoCell;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"a written new record is stored", true, {"", "Kettle"}},
        {"an untouched new record is dropped", false, {"Kettle"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        start();
        addAppliance("Kettle", "230", "", "2000", "0.5");
        click("btn_ins");
        if (c.typeIntoCell) { // hours only: a nameless record takes no part in the pass
            clickCell(0, HoursDay);
            typeIntoCurrentCell(QStringLiteral("3"));
        }
        typePrice("sechgphr", QStringLiteral("1"));
        EXPECT_EQ(table().state(), TableState::Browsing);
        EXPECT_EQ(applianceNames(), c.names);
        EXPECT_TRUE(dialogs().empty());
        EXPECT_EQ(currency("cetpd")->text(), "1");
        m_window.reset();
    }
}

TEST_F(ConformanceTest, EditItemOnAnEmptyListStartsARecord) {
    start();
    click("btn_edit");
    EXPECT_EQ(table().state(), TableState::Inserting);
    EXPECT_EQ(grid()->model()->rowCount(), 1);
    clickCell(0, Appliance);
    typeIntoCurrentCell(QStringLiteral("Lamp"));
    click("btn_cancel");
    EXPECT_EQ(grid()->model()->rowCount(), 0);
    EXPECT_TRUE(dialogs().empty());
}

TEST_F(ConformanceTest, EveryWayOfClosingAsksWhileUnsaved) {
    struct Case {
        const char* situation;
        std::function<void()> close;
    };
    const Case cases[] = {
        {"Exit button", [this] { click("bbtnExit"); }},
        {"File menu's Exit", [this] { control<QAction>("Exit1")->trigger(); }},
        {"the window's own close", [this] { m_window->close(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        MainWindow& window = start();
        answer({"&No"});
        c.close();
        ASSERT_EQ(dialogs().size(), 1u);
        EXPECT_EQ(dialogs()[0].text, "Do you wish to exit without saving");
        EXPECT_TRUE(window.isVisible());
        answer({"&Yes"});
        c.close();
        EXPECT_FALSE(window.isVisible());
        m_window.reset();
    }
}

TEST_F(ConformanceTest, EscapeAtTheDeleteQuestionAnswersNo) {
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5");
    answer({"<Escape>"});
    click("btn_del");
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].text, "Do you wish to delete : Kettle");
    EXPECT_EQ(applianceNames(), std::vector<std::string>{"Kettle"});
}

// The five price fields of the running window, stepped and typed into.
TEST_F(ConformanceTest, PriceFieldsStepAndClampAsConfigured) {
    struct Case {
        const char* situation;
        const char* field;
        const char* typed; // replaces the whole text; nullptr keeps it
        Qt::Key key;       // then pressed; Qt::Key_unknown for none
        const char* text;  // after leaving the field
    };
    const Case cases[] = {
        {"price up from its start", "sechgphr", nullptr, Qt::Key_Up, "0.0200"},
        {"price up from an empty text", "sechgphr", "", Qt::Key_Up, "0.0100"},
        {"price up at the maximum", "sechgphr", "100000000.0000", Qt::Key_Up, "100000000.0000"},
        {"negative price", "sechgphr", "-5", Qt::Key_unknown, "0.0000"},
        {"price above the range", "sechgphr", "200000000", Qt::Key_unknown, "100000000.0000"},
        {"daily discount below zero", "sedcdisc", nullptr, Qt::Key_Down, "-0.0100"},
        {"whole number of kWh refuses a separator", "senoofhrsdisc", "1.5", Qt::Key_unknown, "15"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        start();
        pellion::SpinField* field = spin(c.field);
        if (c.typed) {
            typePrice(c.field, QString::fromLatin1(c.typed));
            if (QString::fromLatin1(c.typed).isEmpty())
                pressKey(field, Qt::Key_Delete);
        } else {
            field->setFocus();
        }
        if (c.key != Qt::Key_unknown)
            pressKey(field, c.key);
        pressKey(field, Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), field);
        EXPECT_EQ(field->text(), c.text);
        m_window.reset();
    }
}

TEST_F(ConformanceTest, DayTotalFieldRefusesASixthDecimalAndEscapeRestoresIt) {
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5"); // 1 kWh at 0.01
    click("btnupdate");
    pellion::CurrencyField* day = currency("cetpd");
    ASSERT_EQ(day->text(), "0.01");
    day->setFocus();
    day->deselect();
    day->end(false);
    m_beeps.reset();
    typeKeys(day, QStringLiteral("234"));
    EXPECT_EQ(day->text(), "0.01234");
    typeKeys(day, QStringLiteral("5"));
    EXPECT_EQ(day->text(), "0.01234");
    typeKeys(day, QStringLiteral("x"));
    EXPECT_EQ(day->text(), "0.01234");
    EXPECT_EQ(m_beeps.count(), 2);
    pressKey(day, Qt::Key_Escape);
    EXPECT_EQ(day->text(), "0.01");
    EXPECT_TRUE(m_window->isVisible()); // Escape did not close the window
}

TEST_F(ConformanceTest, PriceAboveItsRangeInTheSettingsIsClamped) {
    writeFile(settingsPath(), "[cost]\n0=200000000\n");
    start();
    EXPECT_TRUE(dialogs().empty());
    EXPECT_EQ(spin("sechgphr")->text(), "100000000.0000");
}

TEST_F(ConformanceTest, FirstSaveWritesNoReadOnlyMarks) {
    start();
    click("btnSave");
    const QByteArray ledger = readFile(ledgerPath());
    EXPECT_FALSE(ledger.contains(",RO,")) << ledger.constData();
    EXPECT_TRUE(ledger.endsWith("\"Wattage\",\r\n,,,,,,,,\r\n")) << ledger.constData();
}

TEST_F(ConformanceTest, ListSavedSortedByWattageComesBackInThatOrder) {
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5");
    addAppliance("Fridge", "240", "0.5", "", "24");
    addAppliance("Heater", "110", "10", "", "2");
    click("btnupdate"); // fills in the wattages
    click("rgsort_Wattage");
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Fridge", "Heater", "Kettle"}));
    click("btnSave");
    m_window.reset();
    start();
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Fridge", "Heater", "Kettle"}));
    // Only the order came back: a new record goes where it is inserted.
    click("btn_first");
    click("btn_ins");
    clickCell(0, Appliance);
    typeIntoCurrentCell(QStringLiteral("Lamp"));
    clickCell(0, Wattage);
    typeIntoCurrentCell(QStringLiteral("9999"));
    click("btn_first");
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Lamp", "Fridge", "Heater", "Kettle"}));
}

TEST_F(ConformanceTest, LedgerOfOtherFieldsFailsTheRecalculationOnlyWithRecords) {
    const QByteArray definitions =
        "\"@@FILE VERSION@@\",\"251\"\r\n\"@@TABLEDEF START@@\"\r\n"
        "\"radio=Float,0,\"\"Radio\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n"
        "\"@@INDEXDEF START@@\"\r\n\"@@INDEXDEF END@@\"\r\n\"@@TABLEDEF END@@\"\r\n"
        "\"Radio\",\r\n";
    writeFile(ledgerPath(), definitions);
    start();
    EXPECT_TRUE(dialogs().empty()) << dialogs()[0].text.toStdString();
    m_window.reset();

    writeFile(ledgerPath(), definitions + "\"5\",\r\n");
    start({"OK"});
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, "Pellion");
    EXPECT_EQ(dialogs()[0].text, "KMT: Field 'appliance' not found.");
}

TEST_F(ConformanceTest, GridKeysAroundAnUntouchedNewRecordInTheMiddle) {
    struct Case {
        const char* situation;
        Qt::Key key;
        int row; // current afterwards
    };
    const Case cases[] = {
        {"Down discards it", Qt::Key_Down, 1},
        {"Up discards it and moves up", Qt::Key_Up, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        start();
        addAppliance("Kettle", "230", "", "2000", "0.5");
        addAppliance("Fridge", "240", "0.5", "", "24");
        clickCell(1, Appliance);
        pressKey(grid(), Qt::Key_Insert);
        ASSERT_EQ(grid()->model()->rowCount(), 3);
        pressKey(grid(), c.key);
        EXPECT_EQ(table().state(), TableState::Browsing);
        EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Kettle", "Fridge"}));
        EXPECT_EQ(table().currentViewRow(), c.row);
        m_window.reset();
    }
}

TEST_F(ConformanceTest, TabPastTheLastCellAppendsLikeDown) {
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5");
    clickCell(0, CostDay);
    pressKey(grid(), Qt::Key_Tab);
    EXPECT_EQ(table().state(), TableState::Inserting);
    EXPECT_EQ(grid()->model()->rowCount(), 2);
    EXPECT_EQ(table().currentViewRow(), 1);
}

TEST_F(ConformanceTest, PriceOutsideItsRangeCountsAsTypedUntilTheFieldIsLeft) {
    struct Case {
        const char* situation;
        const char* typed;
        const char* dayWhileTyping;
        const char* left;
        const char* dayAfterLeaving;
    };
    const Case cases[] = {
        {"negative", "-5", "-5", "0.0000", ""},
        {"above the maximum", "200000000", "200000000", "100000000.0000", "100000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        start();
        addAppliance("Kettle", "250", "8", "", "0.5"); // 1 kWh a day
        typePrice("sechgphr", QString::fromLatin1(c.typed));
        EXPECT_EQ(spin("sechgphr")->text(), c.typed);
        EXPECT_EQ(spin("sechgphr")->value(), std::atof(c.typed));
        EXPECT_EQ(currency("cetpd")->text(), c.dayWhileTyping);
        pressKey(spin("sechgphr"), Qt::Key_Tab);
        EXPECT_EQ(spin("sechgphr")->text(), c.left);
        EXPECT_EQ(currency("cetpd")->text(), c.dayAfterLeaving);
        m_window.reset();
    }
}

TEST_F(ConformanceTest, CostPerHourOfAMillionOrMoreIsNeverTheLeast) {
    writeFile(settingsPath(), "[cost]\n0=1000000\n");
    start();
    const QString before = label("lbllst");
    addAppliance("Kettle", "250", "8", "", "0.5"); // 2 kWh per hour
    addAppliance("Heater", "250", "4", "", "1");   // 1 kWh per hour: a million an hour
    click("btnupdate");
    EXPECT_EQ(label("lblmst"), "Kettle");
    EXPECT_EQ(currency("cemost")->text(), "2000000");
    EXPECT_EQ(label("lbllst"), before);
    EXPECT_EQ(currency("celeast")->displayText(), "");
}

TEST_F(ConformanceTest, UpdateOverAListSortedByWattageCountsEveryRecordOnce) {
    start();
    addAppliance("Kettle", "250", "8", "", "0.5");   // 2000 W, 1 kWh a day
    addAppliance("Heater", "250", "4", "1000", "2"); // 1000 W, 2 kWh a day
    click("btnupdate");
    click("rgsort_Wattage");
    ASSERT_EQ(applianceNames(), (std::vector<std::string>{"Heater", "Kettle"}));
    click("btn_ins"); // no wattage yet: sorted first, moves last once filled in
    clickCell(0, Appliance);
    typeIntoCurrentCell(QStringLiteral("Oven"));
    clickCell(0, Voltage);
    typeIntoCurrentCell(QStringLiteral("250"));
    clickCell(0, Amperage);
    typeIntoCurrentCell(QStringLiteral("12"));
    clickCell(0, HoursDay);
    typeIntoCurrentCell(QStringLiteral("1"));
    click("btnupdate");
    EXPECT_TRUE(dialogs().empty());
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Heater", "Kettle", "Oven"}));
    EXPECT_EQ(shown("eb_dailyusage"), "6");
}

TEST_F(ConformanceTest, NamesWithQuotesAndPercentsTypedInSurviveTheLedger) {
    start();
    click("btn_edit");
    clickCell(0, Appliance);
    typeIntoCurrentCell(QStringLiteral("17\" TV 100%"));
    click("btnSave");
    EXPECT_TRUE(readFile(ledgerPath()).contains(",\"17\"\" TV 100%%\","))
        << readFile(ledgerPath()).constData();
    m_window.reset();
    start();
    EXPECT_EQ(applianceNames(), std::vector<std::string>{"17\" TV 100%"});
}

TEST_F(ConformanceTest, EnterOpensTheCellEditorThenStoresAndClosesIt) {
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5");
    click("btn_edit");
    clickCell(0, HoursDay);
    pressKey(grid(), Qt::Key_Return);
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, grid());
    ASSERT_TRUE(grid()->isAncestorOf(editor));
    pressKey(grid(), Qt::Key_End);
    typeKeys(grid(), QStringLiteral("5")); // the editor offers the shown text, '.50'
    pressKey(grid(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), grid());
    EXPECT_EQ(table().FieldNamed("hrsday").NumberValue(), 0.505);
    EXPECT_EQ(table().state(), TableState::Editing);
}

TEST_F(ConformanceTest, SpaceOnADiscountBoxSwitchesAndRecalculates) {
    writeFile(settingsPath(), "[cost]\n0=0.20\n[discnoofhrs]\n0=5\n[kwhdisc]\n0=0.10\n");
    start();
    addAppliance("Kettle", "250", "8", "", "0.5"); // 1 kWh a day
    click("btnupdate");
    ASSERT_EQ(currency("cetpd")->text(), "0.2");
    auto* box = control<QCheckBox>("CB_Discount");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(m_window->kwhDiscountOn());
    EXPECT_EQ(currency("cetpd")->text(), "0.1");
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_FALSE(m_window->kwhDiscountOn());
    EXPECT_EQ(currency("cetpd")->text(), "0.2");
}

// A number column holding letters stops the load at that line; start-up
// says nothing of it and recalculates over what was read.
TEST_F(ConformanceTest, LedgerWithABadNumberLoadsUpToItSilently) {
    writeFile(ledgerPath(), "\"Appliance\",\"Wattage\",\"Voltage\",\"Daily Usage(Hrs)\",\r\n"
                            "\"Kettle\",\"2000\",\"250\",\"0.5\",\r\n"
                            "\"Lamp\",\"60\",\"x\",\"5\",\r\n"
                            "\"Heater\",\"1000\",\"250\",\"2\",\r\n");
    start({"OK"});
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Kettle", "Lamp"}));
    // The lamp has its wattage alone: the first recalculation stops on it.
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, "Error");
    EXPECT_EQ(shown("eb_dailyusage"), "1");
}

// What the report is handed while its preview is open: the texts of the
// fields, so a zero day total gives a lone "$" and a zero hour total "$0".
TEST_F(ConformanceTest, PrintPreviewHandsTheFieldsTextsToTheReport) {
    struct Case {
        const char* situation;
        const char* price;    // typed into the price field
        QStringList captions; // RLabel10, rptlbltotal, rptlbltd, rptlbldkwu
    };
    const Case cases[] = {
        {"empty list", "0.2", {"0.2", "$0", "$", "0"}},
        {"a kettle", "0.25", {"0.25", "$0.01042", "$0.25", "1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        start();
        if (std::string_view(c.situation) == "a kettle")
            addAppliance("Kettle", "250", "8", "", "0.5");
        typePrice("sechgphr", QString::fromLatin1(c.price));
        QStringList captions;
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [&] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->objectName() != QStringLiteral("PreviewWindow") || !window->isVisible())
                    continue;
                timer->stop();
                timer->deleteLater();
                if (auto* form = m_window->findChild<pellion::ReportForm*>())
                    for (const char* name : {"RLabel10", "rptlbltotal", "rptlbltd", "rptlbldkwu"})
                        captions << form->caption(QString::fromLatin1(name));
                QTest::keyClick(window, Qt::Key_Escape);
                return;
            }
        });
        timer->start(5);
        control<QAction>("PrintPreview1")->trigger();
        EXPECT_EQ(captions, c.captions);
        EXPECT_EQ(m_window->findChild<pellion::ReportForm*>(), nullptr); // destroyed
        m_window.reset();
    }
}

TEST_F(ConformanceTest, SortingAndPreviewingAfterSavingCloseWithoutAQuestion) {
    struct Case {
        const char* situation;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"sorted by voltage", [this] { click("rgsort_Voltage"); }},
        {"sorted twice",
         [this] {
             click("rgsort_Wattage");
             click("rgsort_Appliance");
         }},
        {"previewed",
         [this] {
             auto* timer = new QTimer;
             QObject::connect(timer, &QTimer::timeout, [timer] {
                 for (QWidget* window : QApplication::topLevelWidgets()) {
                     if (window->objectName() == QStringLiteral("PreviewWindow") &&
                         window->isVisible()) {
                         timer->stop();
                         timer->deleteLater();
                         QTest::keyClick(window, Qt::Key_Escape);
                         return;
                     }
                 }
             });
             timer->start(5);
             control<QAction>("PrintPreview1")->trigger();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        MainWindow& window = start();
        addAppliance("Kettle", "230", "", "2000", "0.5");
        addAppliance("Fridge", "240", "0.5", "", "24");
        click("btnupdate");
        click("btnSave");
        c.act();
        EXPECT_TRUE(window.saved());
        answer({"&No"});
        EXPECT_TRUE(window.close());
        EXPECT_TRUE(dialogs().empty());
        m_window.reset();
    }
}

// Each setting read before the bad one changed its field's text, and every
// such change recalculated, over the still empty list.
TEST_F(ConformanceTest, SettingsReadBeforeABadOneHaveAlreadyRecalculated) {
    start();
    addAppliance("Kettle", "250", "8", "", "0.5");
    click("btnSave");
    m_window.reset();

    writeFile(settingsPath(), "[cost]\n0=0.20\n[dailycosts]\n0=0.50\n[kwhdisc]\n0=x\n");
    start();
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].text, "'x' is not a valid floating point value.");
    EXPECT_EQ(table().RecordTotal(), 0);
    EXPECT_EQ(currency("cetpd")->text(), "0.5");
    EXPECT_EQ(currency("CE")->text(), "0.02083");
    EXPECT_EQ(shown("eb_dailyusage"), "0");
}

// A user whose decimal separator is ',': the settings file follows it, the
// ledger keeps '.', and both read back.
TEST_F(ConformanceTest, CommaDecimalSeparatorReachesTheSettingsButNotTheLedger) {
    start();
    pellion::FormatSettings comma = pellion::formatSettings();
    comma.decimalSeparator = ',';
    comma.thousandSeparator = '.';
    pellion::ScopedFormatSettings regional(comma);
    addAppliance("Kettle", "250", "8", "", "0,5");
    typePrice("sechgphr", QStringLiteral("0,2"));
    EXPECT_EQ(currency("cetpd")->text(), "0,2");
    click("btnSave");
    EXPECT_TRUE(dialogs().empty());
    EXPECT_TRUE(readFile(settingsPath()).contains("[cost]\n0=0,20\n"));
    const QByteArray ledger = readFile(ledgerPath());
    EXPECT_TRUE(ledger.endsWith("\r\n\"8\",\"Kettle\",\"0.2\",\"0.4\",\"0.5\",\"2\",\"250\","
                                "\"2000\",\r\n"))
        << ledger.constData();
}

// The same files started under a '.' separator: the prices read back with
// the other separator; a value that parses with neither still stops the
// start-up there.
TEST_F(ConformanceTest, SettingWrittenWithAnotherSeparatorReadsBack) {
    start();
    addAppliance("Kettle", "250", "8", "", "0.5");
    click("btnSave");
    m_window.reset();
    writeFile(settingsPath(), "[cost]\n0=0,20\n[dailycosts]\n0=0,50\n");
    start();
    EXPECT_TRUE(dialogs().empty());
    EXPECT_EQ(spin("sechgphr")->text(), "0.2000");
    EXPECT_EQ(spin("sedailycharges")->text(), "0.5000");
    EXPECT_EQ(table().RecordTotal(), 1);

    m_window.reset();
    writeFile(settingsPath(), "[cost]\n0=0,20\n[dailycosts]\n0=0;50\n");
    start();
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].text, "'0;50' is not a valid floating point value.");
    EXPECT_EQ(spin("sechgphr")->text(), "0.2000");
    EXPECT_EQ(spin("sedailycharges")->text(), "0.0000");
    EXPECT_EQ(table().RecordTotal(), 0);
}

} // namespace
