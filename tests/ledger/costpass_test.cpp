#include "ledger/costpass.h"

#include "ledger/appliancetable.h"
#include "tests/errortext.h"
#include "tests/overflowcases.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace pellion {
namespace {

using Maybe = std::optional<double>;

struct Appliance {
    std::string name;
    Maybe voltage, amperage, wattage, hours;
};

class CostPassTest : public ::testing::Test {
public:
    void add(const Appliance& a) {
        table.StartAppend();
        table.FieldNamed("appliance").AssignText(a.name);
        assign("voltage", a.voltage);
        assign("amperage", a.amperage);
        assign("wattage", a.wattage);
        assign("hrsday", a.hours);
        table.PostRecord();
    }

    void assign(const char* field, Maybe value) {
        if (value)
            table.FieldNamed(field).AssignNumber(*value);
    }

    // Stored value of a field of the record named `name`; nullopt when empty.
    Maybe value(const std::string& name, const char* field) {
        int f = table.FieldNamed(field).index();
        for (int row = 0; row < table.RecordTotal(); ++row)
            if (table.storedTextAt(row, 1) == name)
                return table.storedHasValueAt(row, f) ? Maybe(table.storedNumberAt(row, f))
                                                      : std::nullopt;
        ADD_FAILURE() << "no record " << name;
        return std::nullopt;
    }

    std::string currentName() { return table.FieldNamed("appliance").TextValue(); }

    std::vector<std::vector<std::string>> storedTexts() const {
        std::vector<std::vector<std::string>> records;
        for (int row = 0; row < table.RecordTotal(); ++row) {
            records.emplace_back();
            for (int f = 0; f < table.fieldCount(); ++f)
                records.back().push_back(table.storedTextAt(row, f));
        }
        return records;
    }

    void addWorkedExample() {
        add({"Kettle", 230, 0, 2000, 0.5});
        add({"Fridge", 240, 0.5, 0, 24});
    }

    ApplianceTable table;
};

TEST_F(CostPassTest, WorkedExampleWithoutDiscounts) {
    addWorkedExample();
    RecalcInputs in;
    in.pricePerKwh = 0.20;
    in.dailyCharges = 0.50;
    RecalcResult r = Recalculate(table, in);

    EXPECT_DOUBLE_EQ(*value("Kettle", "amperage"), 8.6957);
    EXPECT_DOUBLE_EQ(*value("Kettle", "kilowattshour"), 2.0);
    EXPECT_DOUBLE_EQ(*value("Kettle", "costhour"), 0.4);
    EXPECT_DOUBLE_EQ(*value("Kettle", "costday"), 0.2);
    EXPECT_DOUBLE_EQ(*value("Fridge", "wattage"), 120);
    EXPECT_DOUBLE_EQ(*value("Fridge", "kilowattshour"), 0.12);
    EXPECT_DOUBLE_EQ(*value("Fridge", "costhour"), 0.024);
    EXPECT_DOUBLE_EQ(*value("Fridge", "costday"), 0.576);

    EXPECT_EQ(r.dailyEnergyText, "3.88");
    EXPECT_NEAR(r.dayTotal, 1.276, 1e-12);
    EXPECT_NEAR(r.hourTotal, 0.0531667, 1e-7);
    EXPECT_NEAR(r.monthTotal, 38.7904, 1e-10);
    EXPECT_NEAR(r.quarterTotal, 116.3712, 1e-10);
    EXPECT_NEAR(r.yearTotal, 465.4848, 1e-10);
    EXPECT_DOUBLE_EQ(r.most, 0.4);
    EXPECT_DOUBLE_EQ(r.least, 0.024);
    EXPECT_TRUE(r.mostName.has_value());
    EXPECT_EQ(r.mostName, "Kettle");
    EXPECT_TRUE(r.leastName.has_value());
    EXPECT_EQ(r.leastName, "Fridge");
    EXPECT_FALSE(r.failingRecord);

    EXPECT_EQ(table.state(), TableState::Browsing);
    EXPECT_EQ(table.RowNumber(), 2);
    for (const char* derived : {"kilowattshour", "costhour", "costday"})
        EXPECT_TRUE(table.FieldNamed(derived).readOnly()) << derived;
    for (const char* entered : {"voltage", "amperage", "wattage", "hrsday"})
        EXPECT_FALSE(table.FieldNamed(entered).readOnly()) << entered;
}

TEST_F(CostPassTest, AFailedCompletionStopsThePassOnThatRecord) {
    add({"Lamp", 230, 0, 60, 5});
    add({"Mystery", std::nullopt, std::nullopt, 100, 1});
    add({"Radio", 230, 0, 23, 2});
    RecalcInputs in;
    in.pricePerKwh = 1;
    RecalcResult r = Recalculate(table, in);
    EXPECT_EQ(r.failingRecord, 1u);
    EXPECT_EQ(currentName(), "Mystery");
    EXPECT_EQ(table.state(), TableState::Browsing);

    EXPECT_DOUBLE_EQ(*value("Lamp", "kilowattshour"), 0.06); // processed and posted
    EXPECT_FALSE(value("Mystery", "kilowattshour"));
    EXPECT_FALSE(value("Radio", "kilowattshour"));
    EXPECT_EQ(*value("Radio", "amperage"), 0);
    EXPECT_EQ(r.dailyEnergyText, "0.3");
    EXPECT_EQ(r.mostName, "Lamp");
    EXPECT_EQ(r.leastName, "Lamp");
}

TEST_F(CostPassTest, AFailureOnTheFirstRecordStillGivesTheTotals) {
    add({"Broken", -230, 1, 0, 1});
    RecalcInputs in;
    in.dailyCharges = 0.5;
    RecalcResult r = Recalculate(table, in);
    EXPECT_EQ(r.failingRecord, 0u);
    EXPECT_EQ(currentName(), "Broken");
    EXPECT_DOUBLE_EQ(r.dayTotal, 0.5);
    EXPECT_DOUBLE_EQ(r.least, 1000000);
    EXPECT_FALSE(r.leastName.has_value());
}

TEST_F(CostPassTest, RecordsWithoutANameAreLeftAlone) {
    add({"", std::nullopt, std::nullopt, 100, 1});
    add({"", 230, 0, 1000, 1});
    RecalcInputs in;
    in.pricePerKwh = 0.2;
    in.dailyCharges = 0.75;
    in.dailyDiscountOn = true;
    in.dailyDiscount = 0.25;
    RecalcResult r = Recalculate(table, in);
    EXPECT_FALSE(r.failingRecord);
    EXPECT_EQ(table.storedNumberAt(1, table.FieldNamed("amperage").index()), 0);
    EXPECT_DOUBLE_EQ(r.dayTotal, 0.5);
    EXPECT_EQ(r.dailyEnergyText, "0");
    EXPECT_EQ(r.most, 0);
    EXPECT_EQ(r.least, 1000000);
    EXPECT_FALSE(r.mostName.has_value());
    EXPECT_FALSE(r.leastName.has_value());
    EXPECT_FALSE(table.FieldNamed("costhour").readOnly());
}

TEST_F(CostPassTest, ZeroHoursKeepsTheOldCostPerDay) {
    add({"Drill", 230, 0, 690, 0});
    table.GoFirst();
    table.StartEdit();
    table.FieldNamed("costday").AssignNumber(7);
    table.PostRecord();
    RecalcInputs in;
    in.pricePerKwh = 0.1;
    RecalcResult r = Recalculate(table, in);
    EXPECT_DOUBLE_EQ(*value("Drill", "costday"), 7);
    EXPECT_DOUBLE_EQ(*value("Drill", "costhour"), 0.069);
    EXPECT_EQ(r.dailyEnergyText, "0");
    EXPECT_EQ(r.mostName, "Drill");
    EXPECT_EQ(r.leastName, "Drill");
    EXPECT_FALSE(table.FieldNamed("costday").readOnly()); // never written
    EXPECT_TRUE(table.FieldNamed("costhour").readOnly());
}

TEST_F(CostPassTest, ReadOnlyDerivedFieldsDoNotStopThePass) {
    for (const char* derived : {"kilowattshour", "costhour", "costday"})
        table.FieldNamed(derived).setReadOnly(true);
    add({"Kettle", 230, 0, 2000, 0.5});
    RecalcInputs in;
    in.pricePerKwh = 0.2;
    Recalculate(table, in);
    EXPECT_DOUBLE_EQ(*value("Kettle", "costday"), 0.2);
    table.StartEdit();
    EXPECT_THROW(table.FieldNamed("costhour").AssignNumber(1), Error);
}

TEST_F(CostPassTest, PendingChangesAreSettledFirst) {
    add({"Kettle", 230, 0, 2000, 1});
    table.StartEdit();
    table.FieldNamed("hrsday").AssignNumber(2);
    RecalcResult r = Recalculate(table, RecalcInputs{});
    EXPECT_EQ(r.dailyEnergyText, "4");

    table.GoFirst();
    table.StartInsert();
    Recalculate(table, RecalcInputs{});
    EXPECT_EQ(table.RecordTotal(), 1);
}

TEST_F(CostPassTest, EveryRecordOnceWhenPostingMovesItInASortedTable) {
    // Sorted by wattage, the first record's wattage is filled in and it moves
    // behind the others; a pass that simply stepped on would skip a record.
    add({"Fridge", 240, 0.5, 0, 1});  // 0 W, becomes 120 W
    add({"Lamp", 230, 0, 60, 1});     // 60 W
    add({"Toaster", 230, 0, 100, 1}); // 100 W
    add({"Radio", 10, 0.1, 0, 1});    // 0 W, becomes 1 W
    table.SortByFields("wattage");
    RecalcResult r = Recalculate(table, RecalcInputs{});
    for (const char* name : {"Fridge", "Lamp", "Toaster", "Radio"})
        EXPECT_TRUE(value(name, "kilowattshour")) << name;
    EXPECT_EQ(r.dailyEnergyText, "0.281");
    EXPECT_EQ(table.state(), TableState::Browsing);
    EXPECT_EQ(table.RowNumber(), 4);
    EXPECT_EQ(currentName(), "Fridge");
}

TEST_F(CostPassTest, AClosedTableFailsBeforeAnything) {
    table.close();
    EXPECT_EQ(testing::errorText([&] { Recalculate(table, RecalcInputs{}); }),
              "KMT: Cannot perform this operation on a closed dataset");
}

// A ledger may define other fields than the program's own: the pass looks a
// field up only when one of its steps needs it.
TEST_F(CostPassTest, FieldsAreLookedUpOnlyWhenAStepNeedsThem) {
    struct Case {
        const char* situation;
        const char* missing; // the field the definitions lack
        Appliance appliance;
        const char* error;
    };
    const Case cases[] = {
        {"no cost per day, no hours", "costday", {"Kettle", 230, 0, 2000, 0}, "(no error)"},
        {"no cost per day, hours",
         "costday",
         {"Kettle", 230, 0, 2000, 0.5},
         "KMT: Field 'costday' not found"},
        {"no kWh, a nameless record", "kilowattshour", {"", 230, 0, 2000, 1}, "(no error)"},
        {"no kWh, a named record",
         "kilowattshour",
         {"Kettle", 230, 0, 2000, 1},
         "KMT: Field 'kilowattshour' not found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        std::vector<FieldDefinition> definitions = standardFields();
        std::erase_if(definitions,
                      [&](const FieldDefinition& field) { return field.fieldName == c.missing; });
        table.replaceFields(definitions);
        add(c.appliance);
        RecalcInputs in;
        in.pricePerKwh = 0.2;
        RecalcResult r;
        EXPECT_EQ(testing::errorText([&] { r = Recalculate(table, in); }), c.error);
        if (std::string(c.error) == "(no error)" && !c.appliance.name.empty())
            EXPECT_EQ(value("Kettle", "costhour"), Maybe(2000 / 1000.0 * 0.2));
    }
    table.replaceFields({});
    EXPECT_EQ(testing::errorText([&] { Recalculate(table, RecalcInputs{}); }), "(no error)");
}

TEST_F(CostPassTest, AResultBeyondADoubleStopsThePassBeforeAnythingIsWritten) {
    for (const testing::OverflowCase& c : testing::overflowCases) {
        SCOPED_TRACE(c.situation);
        table.close();
        table.replaceFields(standardFields());
        table.open();
        add({"Kettle", 230, 0, 2000, c.hours});
        add({"Furnace", 1e308, 0, c.wattage, c.hours});
        table.GoFirst();
        table.StartEdit();
        table.FieldNamed("costday").AssignNumber(7);
        table.PostRecord();
        table.GoLast();
        const auto before = storedTexts();

        EXPECT_EQ(testing::errorText([&] { Recalculate(table, c.inputs()); }),
                  "Floating point overflow");
        EXPECT_EQ(storedTexts(), before);
        EXPECT_EQ(table.state(), TableState::Browsing);
        for (const char* derived : {"kilowattshour", "costhour", "costday"})
            EXPECT_FALSE(table.FieldNamed(derived).readOnly()) << derived;
    }
}

TEST_F(CostPassTest, AnEmptyTableGivesTheDailyChargesAlone) {
    RecalcInputs in;
    in.dailyCharges = 2;
    in.dailyDiscountOn = true;
    in.dailyDiscount = 0.5;
    RecalcResult r = Recalculate(table, in);
    EXPECT_DOUBLE_EQ(r.dayTotal, 1.5);
    EXPECT_DOUBLE_EQ(r.hourTotal, 1.5 / 24);
    EXPECT_EQ(r.dailyEnergyText, "0");
    EXPECT_EQ(table.RowNumber(), -1);
}

// The views and the window hear of a pass once per kind of change, not once
// per value written.
TEST_F(CostPassTest, ListenersHearThePassOnceItHasWrittenEverything) {
    // Records what it hears and whether the last record's cost per hour is
    // stored by then.
    struct Recorder : TableListener {
        explicit Recorder(ApplianceTable& table) : table(table) {}
        void tableChanged(TableChange change) override {
            changes.push_back(change);
            costsSeen.push_back(table.storedHasValueAt(1, table.FieldNamed("costhour").index()));
        }
        ApplianceTable& table;
        std::vector<TableChange> changes;
        std::vector<bool> costsSeen;
    };
    addWorkedExample();
    Recorder recorder(table);
    table.addListener(&recorder);
    Recalculate(table, RecalcInputs{});
    table.removeListener(&recorder);
    using C = TableChange;
    EXPECT_EQ(recorder.changes, (std::vector<TableChange>{C::Rows, C::Cursor, C::CurrentValues}));
    EXPECT_EQ(recorder.costsSeen, (std::vector<bool>{true, true, true}));
}

} // namespace
} // namespace pellion
