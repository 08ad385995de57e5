#include "mainwindowfixture.h"

#include "engine/numberformat.h"

#include <cfloat>
#include <functional>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

namespace {

using pellion::MainWindow;

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

TEST_F(StartUpTest, SettingsAreReadFromTheFileInAnyOrder) {
    writeFile(settingsPath(), "[dcdisc]\n0=0.30\n[kwhdisc]\n0=0.10\n[discnoofhrs]\n0=2\n"
                              "[dailycosts]\n0=0.50\n[cost]\n0=0.20\n");
    start();
    EXPECT_TRUE(dialogs().empty());
    EXPECT_EQ(priceTexts(), (QStringList{"0.2000", "0.5000", "2", "0.1000", "0.3000"}));
    EXPECT_EQ(currency("cetpd")->text(), "0.5");
}

TEST_F(StartUpTest, ErrorAndEmptyValuesLeaveTheDefaults) {
    writeFile(settingsPath(), "[cost]\n0=ERROR\n[dailycosts]\n0=\n[kwhdisc]\n0=0.50\n");
    start();
    EXPECT_TRUE(dialogs().empty());
    EXPECT_EQ(priceTexts(), (QStringList{"0.0100", "0.0000", "0", "0.5000", "0.0000"}));
}

TEST_F(StartUpTest, SettingThatDoesNotParseStopsStartUpThere) {
    // A ledger that start-up would otherwise load.
    start();
    addAppliance("Kettle", "230", "", "2000", "0.5");
    click("btnSave");
    m_window.reset();

    writeFile(settingsPath(), "[cost]\n0=0.25\n[dailycosts]\n0=x\n[kwhdisc]\n0=0.50\n");
    start();
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, "Pellion");
    EXPECT_EQ(dialogs()[0].text, "'x' is not a valid floating point value.");
    EXPECT_EQ(dialogs()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(priceTexts(), (QStringList{"0.2500", "0.0000", "0", "0.0000", "0.0000"}));
    EXPECT_EQ(table().RecordTotal(), 0);
    EXPECT_FALSE(m_window->saved());
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
    m_window.reset();
    start();
    EXPECT_EQ(applianceNames(), std::vector<std::string>{""});
    EXPECT_TRUE(dialogs().empty()); // a nameless record is no incomplete appliance
    EXPECT_EQ(control<QLineEdit>("eb_dailyusage")->text(), "0");
}

TEST_F(StartUpTest, FailedSettingsWriteEndsSaveAndNamesTheFile) {
    start();
    QDir(appDir()).removeRecursively(); // nowhere to write the settings
    click("btnSave");
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, "Pellion");
    EXPECT_EQ(dialogs()[0].text, "Unable to write to " + settingsPath() + ".");
    EXPECT_FALSE(m_window->saved());
    EXPECT_FALSE(QFile::exists(ledgerPath()));
}

TEST_F(StartUpTest, LedgerThatCannotBeCreatedEndsSaveAfterTheSettings) {
    start();
    QDir(workDir()).mkdir(QStringLiteral("pellion.csv")); // in the way of the file
    click("btnSave");
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, "Pellion");
    EXPECT_EQ(dialogs()[0].text, "Cannot create file pellion.csv.");
    EXPECT_TRUE(QFile::exists(settingsPath()));
    EXPECT_FALSE(m_window->saved());
}

class CommandTest : public MainWindowFixture {};

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
    QTest::mouseClick(control<QCheckBox>("CB_Discount"), Qt::LeftButton, {}, QPoint(5, 8));
    QTest::mouseClick(control<QCheckBox>("CB_Dailydisc"), Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(m_window->kwhDiscountOn());
    EXPECT_TRUE(m_window->dailyDiscountOn());
    EXPECT_EQ(currency("cetpd")->text(), "0.776");
    EXPECT_EQ(currency("CE")->text(), "0.03233");
    // The second pass finds all three values on the kettle and recomputes its
    // wattage from the rounded amperage: 8.6957 A x 230 V = 2000.011 W.
    EXPECT_EQ(control<QLineEdit>("eb_dailyusage")->text(), "3.8800055");
    EXPECT_EQ(control<QLabel>("lbllst")->text(), "Fridge");
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
    answer({"&No"});
    click("btn_del");
    EXPECT_EQ(applianceNames(), (std::vector<std::string>{"Kettle", "Fridge"}));
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
