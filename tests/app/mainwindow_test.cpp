#include "mainwindowfixture.h"

#include "engine/numberformat.h"
#include "tests/beepcounter.h"

#include <cfloat>
#include <cstdlib>
#include <functional>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

namespace {

using pellion::MainWindow;
using pellion::TableState;

const QString exitQuestion = QStringLiteral("Do you wish to exit without saving");

class StartUpTest : public MainWindowFixture {
protected:
    QStringList priceTexts() const {
        QStringList texts;
        for (const char* name :
             {"sechgphr", "sedailycharges", "senoofhrsdisc", "sekwhdisc", "sedcdisc"})
            texts << spin(name)->text();
        return texts;
    }
};

TEST_F(StartUpTest, FirstRunShowsTheDefaultsAnEmptyListAndAsksBeforeClosing) {
    MainWindow& window = start();
    EXPECT_TRUE(dialogs().empty());
    EXPECT_EQ(priceTexts(), (QStringList{"0.0100", "0.0000", "0", "0.0000", "0.0000"}));
    EXPECT_EQ(table().RecordTotal(), 0);
    EXPECT_EQ(grid()->model()->rowCount(), 0);
    EXPECT_EQ(control<QLineEdit>("eb_dailyusage")->text(), "0");
    EXPECT_EQ(currency("CE")->text(), "0");
    EXPECT_EQ(currency("cetpd")->text(), "");
    EXPECT_EQ(currency("celeast")->text(), "");
    EXPECT_EQ(currency("celeast")->displayText(), ""); // no appliance, so no cheapest cost
    EXPECT_FALSE(window.saved());

    QSignalSpy ended(&window, &MainWindow::closed);
    answer({"<Escape>"});
    EXPECT_FALSE(window.close());
    EXPECT_EQ(ended.count(), 0);
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, "Warning");
    EXPECT_EQ(dialogs()[0].text, exitQuestion);
    EXPECT_EQ(dialogs()[0].buttons, (QStringList{"&Yes", "&No"}));
    EXPECT_EQ(dialogs()[0].defaultButton, "&Yes");
    EXPECT_TRUE(window.isVisible());

    answer({"&Yes"});
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(ended.count(), 1);
}

TEST_F(StartUpTest, SavedWindowClosesWithoutAQuestion) {
    MainWindow& window = start();
    click("btnSave");
    EXPECT_TRUE(window.saved());
    answer({});
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(dialogs().empty());
}

TEST_F(StartUpTest, ChangesInTheListAfterSavingMakeClosingAsk) {
    struct Case {
        const char* situation;
        std::function<void()> change;
        bool asks;
    };
    const Case cases[] = {
        {"text typed into a cell, still in its editor",
         [this] {
             click("btn_edit");
             grid()->setFocus();
             typeKeys(grid(), QStringLiteral("Toaster"));
         },
         true},
        {"text stored in a cell, column not left",
         [this] {
             click("btn_edit");
             grid()->setFocus();
             typeKeys(grid(), QStringLiteral("Toaster"));
             pressKey(grid(), Qt::Key_Return);
         },
         true},
        {"record deleted with the grid's key",
         [this] {
             answer({"OK"});
             grid()->setFocus();
             pressKey(grid(), Qt::Key_Delete, Qt::ControlModifier);
         },
         true},
        {"record edited and cancelled",
         [this] {
             click("btn_edit");
             click("btn_cancel");
         },
         false},
        {"new record started, untouched", [this] { click("btn_ins"); }, false},
        {"moved to another record", [this] { click("btn_last"); }, false},
        {"sorted by voltage", [this] { click("rgsort_Voltage"); }, false},
        {"sorted twice",
         [this] {
             click("rgsort_Wattage");
             click("rgsort_Appliance");
         },
         false},
        {"previewed",
         [this] {
             onPreview();
             control<QAction>("PrintPreview1")->trigger();
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        MainWindow& window = start();
        addAppliance("Kettle", "230", "", "2000", "0.5");
        addAppliance("Fridge", "240", "0.5", "", "24");
        grid()->setFocus();
        grid()->setCurrentIndex(grid()->model()->index(0, 0));
        click("btnSave");
        c.change();
        answer({"&Yes"});
        EXPECT_TRUE(window.close());
        EXPECT_EQ(dialogs().size(), c.asks ? 1u : 0u);
        m_window.reset();
    }
}

TEST_F(StartUpTest, AnsweringNoKeepsTheChanges) {
    MainWindow& window = start();
    pellion::SpinField* price = spin("sechgphr");
    price->setFocus();
    price->selectAll();
    typeKeys(price, QStringLiteral("0.3"));
    answer({"&No"});
    EXPECT_FALSE(window.close());
    EXPECT_EQ(price->text(), "0.3");
    EXPECT_EQ(dialogs().size(), 1u);
}

TEST_F(StartUpTest, EveryWayOfClosingAsksWhileUnsaved) {
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
        EXPECT_EQ(dialogs()[0].text, exitQuestion);
        EXPECT_TRUE(window.isVisible());
        answer({"&Yes"});
        c.close();
        EXPECT_FALSE(window.isVisible());
        m_window.reset();
    }
}

TEST_F(StartUpTest, SettingsAreReadFromTheFileInAnyOrder) {
    writeFile(settingsPath(), "[dcdisc]\n0=0.30\n[kwhdisc]\n0=0.10\n[discnoofhrs]\n0=2\n"
                              "[dailycosts]\n0=0.50\n[cost]\n0=0.20\n");
    start();
    EXPECT_TRUE(dialogs().empty());
    EXPECT_EQ(priceTexts(), (QStringList{"0.2000", "0.5000", "2", "0.1000", "0.3000"}));
    EXPECT_EQ(currency("cetpd")->text(), "0.5");
}

TEST_F(StartUpTest, ErrorAndEmptyValuesLeaveTheDefaults) {
    // A missing setting reads as ERROR too: the first run passes it to every field.
    writeFile(settingsPath(), "[cost]\n0=ERROR\n[dailycosts]\n0=\n[discnoofhrs]\n0=\n"
                              "[kwhdisc]\n0=0.50\n[dcdisc]\n0=ERROR\n");
    start();
    EXPECT_TRUE(dialogs().empty());
    EXPECT_EQ(priceTexts(), (QStringList{"0.0100", "0.0000", "0", "0.5000", "0.0000"}));
}

TEST_F(StartUpTest, PriceAboveItsRangeInTheSettingsIsClamped) {
    writeFile(settingsPath(), "[cost]\n0=200000000\n");
    start();
    EXPECT_TRUE(dialogs().empty());
    EXPECT_EQ(spin("sechgphr")->text(), "100000000.0000");
}

TEST_F(StartUpTest, SettingThatDoesNotParseStopsStartUpThere) {
    // A ledger that start-up would otherwise load.
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5");
    click("btnSave");
    m_window.reset();

    writeFile(settingsPath(),
              "[cost]\n0=0.20\n[dailycosts]\n0=0.50\n[kwhdisc]\n0=x\n[dcdisc]\n0=0.30\n");
    start();
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, "Pellion");
    EXPECT_EQ(dialogs()[0].text, "'x' is not a valid floating point value.");
    EXPECT_EQ(dialogs()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(priceTexts(), (QStringList{"0.2000", "0.5000", "0", "0.0000", "0.0000"}));
    EXPECT_EQ(table().RecordTotal(), 0);
    EXPECT_FALSE(m_window->saved());
    // Each setting read before the bad one changed its field's text, and every
    // such change recalculated, over the still empty list.
    EXPECT_EQ(currency("cetpd")->text(), "0.5");
    EXPECT_EQ(currency("CE")->text(), "0.02083");
    EXPECT_EQ(control<QLineEdit>("eb_dailyusage")->text(), "0");
}

// The same files started under a '.' separator: the prices written with a ','
// read back.
TEST_F(StartUpTest, SettingWrittenWithAnotherSeparatorReadsBack) {
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
}

// A user whose decimal separator is ',': the settings file follows it, the
// ledger keeps '.'.
TEST_F(StartUpTest, CommaDecimalSeparatorReachesTheSettingsButNotTheLedger) {
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

TEST_F(StartUpTest, PricesAreSavedWithTwoDecimalsAndReadBackSo) {
    start();
    spin("sechgphr")->setValue(0.1234);
    spin("senoofhrsdisc")->setValue(12);
    click("btnSave");
    const QByteArray settings = readFile(settingsPath());
    EXPECT_TRUE(settings.contains("[cost]\n0=0.12\n")) << settings.constData();
    EXPECT_TRUE(settings.contains("[discnoofhrs]\n0=12\n")) << settings.constData();
    m_window.reset();
    start();
    EXPECT_EQ(spin("sechgphr")->text(), "0.1200");
    EXPECT_EQ(spin("senoofhrsdisc")->text(), "12");
}

TEST_F(StartUpTest, LedgerLivesInTheWorkingDirectoryAndSettingsBesideTheProgram) {
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5");
    click("btnSave");
    EXPECT_TRUE(QFile::exists(ledgerPath()));
    EXPECT_TRUE(QFile::exists(settingsPath()));
    EXPECT_FALSE(QFile::exists(appDir() + "/pellion.csv"));
    EXPECT_FALSE(QFile::exists(workDir() + "/cfgfd.ini"));
    m_window.reset();
    start();
    EXPECT_EQ(applianceNames(), std::vector<std::string>{"Kettle"});
    // The first recalculation ran over the loaded list.
    EXPECT_EQ(control<QLineEdit>("eb_dailyusage")->text(), "1");
}

TEST_F(StartUpTest, SavingAnEmptyListStoresOneBlankRecordThatTheNextStartIgnores) {
    start();
    click("btnSave");
    const QByteArray ledger = readFile(ledgerPath());
    EXPECT_FALSE(ledger.contains(",RO,")) << ledger.constData(); // no pass has run yet
    EXPECT_TRUE(ledger.endsWith("\"Wattage\",\r\n,,,,,,,,\r\n")) << ledger.constData();
    m_window.reset();
    start();
    EXPECT_EQ(applianceNames(), std::vector<std::string>{""});
    EXPECT_TRUE(dialogs().empty()); // a nameless record is no incomplete appliance
    EXPECT_EQ(control<QLineEdit>("eb_dailyusage")->text(), "0");
}

TEST_F(StartUpTest, SaveWhileAFreshRecordIsUntouchedStoresThatBlankRecord) {
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
    EXPECT_EQ(control<QLineEdit>("eb_dailyusage")->text(), "1");
}

class CommandTest : public MainWindowFixture {
protected:
    void clickBox(const char* name) const {
        QTest::mouseClick(control<QCheckBox>(name), Qt::LeftButton, {}, QPoint(5, 8));
    }
    QString shown(const char* name) const { return control<QLineEdit>(name)->text(); }
    QString label(const char* name) const { return control<QLabel>(name)->text(); }
    std::string cell(int row, const char* field) const {
        return table().shownTextAt(row, table().FieldNamed(field).index());
    }
};

// Two appliances typed into an empty list, the prices typed into their fields,
// Update and Save: the totals and the ledger of the worked example.
TEST_F(CommandTest, WorkedExampleTypedInGivesItsTotalsAndItsLedger) {
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

TEST_F(CommandTest, TypingAPriceRecalculatesAfterEveryKeystroke) {
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5"); // 1 kWh a day
    pellion::SpinField* price = spin("sechgphr");
    price->setFocus();
    price->selectAll();
    struct Step {
        char key;
        const char* hourTotal;
        const char* dayTotal;
    };
    const Step steps[] = {
        {'0', "0", ""}, {'.', "0", ""}, {'2', "0.00833", "0.2"}, {'5', "0.01042", "0.25"}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.key);
        QTest::keyClick(price, step.key);
        EXPECT_EQ(currency("CE")->text(), step.hourTotal);
        EXPECT_EQ(currency("cetpd")->text(), step.dayTotal);
    }
    EXPECT_EQ(control<QLabel>("lblmst")->text(), "Kettle");
    EXPECT_FALSE(m_window->saved());
}

TEST_F(CommandTest, TypingARateWhileARecordIsOpenSettlesItFirst) {
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

TEST_F(CommandTest, PriceOutsideItsRangeCountsAsTypedUntilTheFieldIsLeft) {
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

// The five price fields of the running window, stepped and typed into.
TEST_F(CommandTest, PriceFieldsStepAndClampAsConfigured) {
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
        {"whole number of kWh up from its start", "senoofhrsdisc", nullptr, Qt::Key_Up, "1"},
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

TEST_F(CommandTest, DayTotalFieldRefusesASixthDecimalAndEscapeRestoresIt) {
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5"); // 1 kWh at 0.01
    click("btnupdate");
    pellion::CurrencyField* day = currency("cetpd");
    ASSERT_EQ(day->text(), "0.01");
    day->setFocus();
    day->deselect();
    day->end(false);
    pellion::testing::BeepCounter beeps;
    typeKeys(day, QStringLiteral("234"));
    EXPECT_EQ(day->text(), "0.01234");
    typeKeys(day, QStringLiteral("5"));
    EXPECT_EQ(day->text(), "0.01234");
    typeKeys(day, QStringLiteral("x"));
    EXPECT_EQ(day->text(), "0.01234");
    EXPECT_EQ(beeps.count(), 2);
    pressKey(day, Qt::Key_Escape);
    EXPECT_EQ(day->text(), "0.01");
    EXPECT_TRUE(m_window->isVisible()); // Escape did not close the window
}

TEST_F(CommandTest, UpdateDropsAnUntouchedNewRecordAndPostsAnEditedOne) {
    start();
    addAppliance("Fridge", "240", "0.5", "", "24");
    click("btn_ins");
    EXPECT_EQ(grid()->model()->rowCount(), 2);
    click("btnupdate");
    EXPECT_EQ(applianceNames(), std::vector<std::string>{"Fridge"});

    click("btn_edit");
    table().FieldNamed("hrsday").AssignText("2");
    spin("sechgphr")->setValue(0.5); // a rate change recalculates, posting the edit first
    EXPECT_EQ(table().state(), pellion::TableState::Browsing);
    EXPECT_EQ(control<QLineEdit>("eb_dailyusage")->text(), "0.24");
    EXPECT_EQ(currency("cetpd")->text(), "0.12");
}

TEST_F(CommandTest, DiscountBoxesSwitchTheDiscountsAndRecalculate) {
    writeFile(settingsPath(), "[cost]\n0=0.20\n[dailycosts]\n0=0.50\n[discnoofhrs]\n0=2\n"
                              "[kwhdisc]\n0=0.10\n[dcdisc]\n0=0.30\n");
    start();
    addAppliance("Kettle", "230", "0", "2000", "0.5");
    addAppliance("Fridge", "240", "0.5", "0", "24");
    click("btnupdate");
    EXPECT_EQ(currency("cetpd")->text(), "1.276");
    clickBox("CB_Discount");
    clickBox("CB_Dailydisc");
    EXPECT_TRUE(m_window->kwhDiscountOn());
    EXPECT_TRUE(m_window->dailyDiscountOn());
    EXPECT_EQ(currency("cetpd")->text(), "0.776");
    EXPECT_EQ(currency("CE")->text(), "0.03233");
    // The second pass finds all three values on the kettle and recomputes its
    // wattage from the rounded amperage: 8.6957 A x 230 V = 2000.011 W.
    EXPECT_EQ(shown("eb_dailyusage"), "3.8800055");
    EXPECT_EQ(label("lbllst"), "Fridge");

    // Space on a focused box switches it as a click does, and recalculates.
    auto* box = control<QCheckBox>("CB_Discount");
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_FALSE(m_window->kwhDiscountOn());
    EXPECT_EQ(currency("cetpd")->text(), "0.976");
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(m_window->kwhDiscountOn());
    EXPECT_EQ(currency("cetpd")->text(), "0.776");
}

// One kettle using exactly 1 kWh a day at 0.20 (250 V x 8 A, so that every
// pass finds the same wattage); the discounts typed into their fields
// and switched on with their check boxes.
TEST_F(CommandTest, DiscountsTypedAndSwitchedOn) {
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

TEST_F(CommandTest, IncompleteApplianceShowsTheErrorDialogAndStopsThere) {
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5");
    addAppliance("Lamp", "", "", "60", "5");
    addAppliance("Fridge", "240", "0.5", "", "24");
    answer({"OK"});
    click("btnupdate");
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, "Error");
    EXPECT_EQ(dialogs()[0].text,
              "You must enter value for at least 2 of the following \"Voltage\", "
              "\"Amperage\", \"Wattage\"");
    EXPECT_EQ(dialogs()[0].buttons, QStringList{"OK"});
    EXPECT_EQ(control<QLineEdit>("eb_dailyusage")->text(), "1");
    EXPECT_EQ(table().currentViewRow(), 1);
    EXPECT_EQ(grid()->currentIndex().row(), 1);
}

// A cost beyond a double (1000 a kWh, 1.5e308 hours a day) stops Update with
// the overflow error and changes no figure; the largest double typed into a
// price; Save; the next start finds every record and every value back.
TEST_F(CommandTest, RecordWithANegativeValueStopsThePassThere) {
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

TEST_F(CommandTest, CostPerHourOfAMillionOrMoreIsNeverTheLeast) {
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

TEST_F(CommandTest, ValuesBeyondTheCostsRangeAreRefusedAndEverythingSavedComesBack) {
    writeFile(settingsPath(), "[cost]\n0=1000\n");
    start();
    addAppliance("Kettle", "230", "", "2000", "1");
    addAppliance("Radio", "230", "", "23", "2");
    click("btnupdate");
    const QString dayTotal = currency("cetpd")->text();
    const auto kettle = [this](const char* field) {
        return table().shownTextAt(0, table().FieldNamed(field).index());
    };
    const std::string kettleCostPerDay = kettle("costday");

    grid()->setFocus();
    grid()->setCurrentIndex(grid()->model()->index(0, 6)); // hours a day
    click("btn_edit");
    grid()->setFocus();
    typeKeys(grid(), QStringLiteral("1.5e308"));
    pressKey(grid(), Qt::Key_Return);
    answer({});
    click("btnupdate");
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, "Pellion");
    EXPECT_EQ(dialogs()[0].text, "Floating point overflow.");
    EXPECT_EQ(currency("cetpd")->text(), dayTotal);
    EXPECT_EQ(kettle("costday"), kettleCostPerDay);
    EXPECT_EQ(kettle("hrsday"), "1.5E308") << "the typed hours are kept";

    pellion::SpinField* daily = spin("sedailycharges");
    daily->setFocus();
    daily->selectAll();
    typeKeys(daily, QStringLiteral("1.7976931348623157e308"));
    for (const SeenDialog& dialog : dialogs())
        EXPECT_EQ(dialog.text, "Floating point overflow.");
    EXPECT_EQ(currency("cetpd")->text(), dayTotal);
    click("btnSave");
    const QByteArray settings = readFile(settingsPath());
    EXPECT_TRUE(settings.contains("[dailycosts]\n0=1.79769313486232E308\n")) << settings.data();
    const QByteArray ledger = readFile(ledgerPath());
    EXPECT_FALSE(ledger.contains("INF")) << ledger.data();
    EXPECT_TRUE(ledger.contains("\"1.5E308\"")) << ledger.data();

    m_window.reset();
    start();
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Kettle", "Radio"}));
    EXPECT_EQ(table().storedNumberAt(0, table().FieldNamed("hrsday").index()), 1.5e308);
    EXPECT_EQ(spin("sechgphr")->value(), 1000);
    EXPECT_EQ(spin("sedailycharges")->text(), "1.79769313486232E308");
    EXPECT_EQ(spin("sedailycharges")->value(), DBL_MAX);
    EXPECT_FALSE(dialogs().empty()) << "the totals are still beyond a double";
    for (const SeenDialog& dialog : dialogs())
        EXPECT_EQ(dialog.text, "Floating point overflow.");
}

TEST_F(CommandTest, DeleteItemAsksWithTheNameThenRemovesAndRecalculates) {
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5");
    addAppliance("Fridge", "240", "0.5", "", "24");
    click("btnupdate");
    click("btn_first");
    for (const char* no : {"&No", "<Escape>"}) {
        SCOPED_TRACE(no);
        answer({no});
        click("btn_del");
        EXPECT_EQ(dialogs().size(), 1u);
        EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Kettle", "Fridge"}));
    }
    answer({"&Yes"});
    click("btn_del");
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, "Confirm");
    EXPECT_EQ(dialogs()[0].text, "Do you wish to delete : Kettle");
    EXPECT_EQ(dialogs()[0].buttons, (QStringList{"&Yes", "&No"}));
    EXPECT_EQ(dialogs()[0].defaultButton, "&Yes");
    EXPECT_EQ(applianceNames(), std::vector<std::string>{"Fridge"});
    EXPECT_EQ(control<QLineEdit>("eb_dailyusage")->text(), "2.88");
}

TEST_F(CommandTest, EmptiedListKeepsTheNamesAndShowsTheChargesAlone) {
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

TEST_F(CommandTest, DeleteItemOnAnEmptyListFailsWithTheTablesError) {
    start();
    currency("cetpd")->setValue(42); // what a recalculation would overwrite
    answer({"&Yes", "OK"});
    click("btn_del");
    ASSERT_EQ(dialogs().size(), 2u);
    EXPECT_EQ(dialogs()[0].text, "Do you wish to delete : ");
    EXPECT_EQ(dialogs()[1].caption, "Pellion");
    EXPECT_EQ(dialogs()[1].text, "KMT: Cannot perform this operation on an empty dataset.");
    EXPECT_EQ(currency("cetpd")->text(), "42"); // Update did not run
}

TEST_F(CommandTest, DeleteItemOnANewRecordDiscardsIt) {
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5");
    click("btn_ins");
    table().FieldNamed("appliance").AssignText("Toaster");
    answer({"&Yes"});
    click("btn_del");
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].text, "Do you wish to delete : Toaster");
    EXPECT_EQ(applianceNames(), std::vector<std::string>{"Kettle"});
    EXPECT_EQ(table().state(), pellion::TableState::Browsing);
}

TEST_F(CommandTest, SortsOnlyWhenTheUserPicksAnotherItem) {
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5");
    addAppliance("Fridge", "240", "0.5", "", "24");
    addAppliance("Heater", "110", "10", "", "2");
    click("rgsort_Appliance");
    EXPECT_FALSE(table().sorted());
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Kettle", "Fridge", "Heater"}));
    click("rgsort_Voltage");
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Heater", "Kettle", "Fridge"}));
    click("rgsort_Appliance");
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Fridge", "Heater", "Kettle"}));
}

TEST_F(CommandTest, ListSavedSortedByWattageComesBackInThatOrder) {
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

TEST_F(CommandTest, UpdateOverAListSortedByWattageCountsEveryRecordOnce) {
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

TEST_F(CommandTest, NavigationButtonsMoveTheGridWithTheTable) {
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5");
    addAppliance("Fridge", "240", "0.5", "", "24");
    addAppliance("Heater", "110", "10", "", "2");
    struct Step {
        const char* button;
        int row;
    };
    const Step steps[] = {{"btn_first", 0}, {"btn_next", 1}, {"btn_last", 2}, {"btn_prev", 1}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.button);
        click(step.button);
        EXPECT_EQ(table().currentViewRow(), step.row);
        EXPECT_EQ(grid()->currentIndex().row(), step.row);
    }
}

TEST_F(CommandTest, MenuSaveAndSaveItemSaveEverything) {
    for (const char* how : {"Save1", "btn_save"}) {
        SCOPED_TRACE(how);
        start();
        QFile::remove(ledgerPath());
        QFile::remove(settingsPath());
        if (std::string_view(how) == "Save1")
            m_window->findChild<QAction*>("Save1")->trigger();
        else
            click(how);
        EXPECT_TRUE(m_window->saved());
        EXPECT_TRUE(QFile::exists(ledgerPath()));
        EXPECT_TRUE(QFile::exists(settingsPath()));
        m_window.reset();
    }
}

} // namespace

namespace {

TEST_F(StartUpTest, LedgerThatLeavesTheTableClosedFailsEveryRecalculation) {
    writeFile(settingsPath(), "[cost]\n0=0.20\n");
    writeFile(ledgerPath(), "\"@@FILE VERSION@@\",\"251\"\r\n\"@@TABLEDEF START@@\"\r\n"
                            "\"amperage=Float,0,\"\"Amperage\"\",\"\"\"\",10,Data,\"\"\"\"\"\r\n");
    const QString closed =
        QStringLiteral("KMT: Cannot perform this operation on a closed dataset.");
    start({"OK"});
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, "Pellion");
    EXPECT_EQ(dialogs()[0].text, closed);
    EXPECT_EQ(grid()->model()->rowCount(), 0);

    answer({"OK"});
    click("btnupdate");
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].text, closed);

    // Save writes the settings, then stops before the ledger.
    spin("sechgphr")->setValue(0.3); // a recalculation that fails too
    QFile::remove(settingsPath());
    answer({"OK"});
    click("btnSave");
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].text, closed);
    EXPECT_TRUE(readFile(settingsPath()).contains("[cost]\n0=0.30\n"));
    EXPECT_FALSE(m_window->saved());
}

TEST_F(StartUpTest, LedgerOfOtherFieldsFailsTheRecalculationOnlyWithRecords) {
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

// A number column holding letters stops the load at that line; start-up
// says nothing of it and recalculates over what was read.
TEST_F(StartUpTest, LedgerWithABadNumberLoadsUpToItSilently) {
    writeFile(ledgerPath(), "\"Appliance\",\"Wattage\",\"Voltage\",\"Daily Usage(Hrs)\",\r\n"
                            "\"Kettle\",\"2000\",\"250\",\"0.5\",\r\n"
                            "\"Lamp\",\"60\",\"x\",\"5\",\r\n"
                            "\"Heater\",\"1000\",\"250\",\"2\",\r\n");
    start({"OK"});
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Kettle", "Lamp"}));
    // The lamp has its wattage alone: the first recalculation stops on it.
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, "Error");
    EXPECT_EQ(control<QLineEdit>("eb_dailyusage")->text(), "1");
}

} // namespace

namespace {

// A user's evening: edit the kettle's wattage in the grid, raise the price
// keystroke by keystroke, save.
TEST_F(CommandTest, EditInTheGridRaiseThePriceAndSave) {
    writeFile(settingsPath(), "[cost]\n0=0.20\n");
    start();
    auto& kmt = table();
    kmt.StartAppend();
    kmt.FieldNamed("appliance").AssignText("Kettle");
    kmt.FieldNamed("voltage").AssignText("230");
    kmt.FieldNamed("hrsday").AssignText("0.5");
    kmt.PostRecord();

    grid()->setFocus();
    grid()->setCurrentIndex(grid()->model()->index(0, 2)); // wattage
    click("btn_edit");
    grid()->setFocus();
    typeKeys(grid(), QStringLiteral("2000"));
    pressKey(grid(), Qt::Key_Return);

    pellion::SpinField* price = spin("sechgphr");
    price->setFocus();
    price->setSelection(3, 1); // 0.2|0|00: replace the second decimal
    QTest::keyClick(price, '5');
    EXPECT_EQ(price->text(), "0.2500");

    const auto shown = [&](const char* field) {
        return kmt.shownTextAt(0, kmt.FieldNamed(field).index());
    };
    EXPECT_EQ(kmt.FieldNamed("amperage").NumberValue(), 8.6957);
    EXPECT_EQ(shown("kilowattshour"), "2.00");
    EXPECT_EQ(shown("costhour"), ".50");
    EXPECT_EQ(shown("costday"), ".25");
    EXPECT_EQ(control<QLineEdit>("eb_dailyusage")->text(), "1");
    EXPECT_EQ(control<QLabel>("lblmst")->text(), "Kettle");

    click("btnSave");
    EXPECT_TRUE(readFile(settingsPath()).contains("[cost]\n0=0.25\n"));
    const QByteArray ledger = readFile(ledgerPath());
    EXPECT_TRUE(ledger.startsWith("\"@@FILE VERSION@@\""));
    EXPECT_TRUE(ledger.contains("\"Kettle\"")) << ledger.constData();
    EXPECT_TRUE(ledger.endsWith("\r\n"));
}

} // namespace

namespace {

TEST_F(CommandTest, RegionalSettingsAreReadAgainWhenTheSystemAnnouncesAChange) {
    start();
    const pellion::FormatSettings system = pellion::formatSettings();
    pellion::formatSettings().decimalSeparator = system.decimalSeparator == ',' ? '.' : ',';
    QEvent change(QEvent::LocaleChange);
    QApplication::sendEvent(m_window.get(), &change);
    EXPECT_EQ(pellion::formatSettings().decimalSeparator, system.decimalSeparator);
}

} // namespace
