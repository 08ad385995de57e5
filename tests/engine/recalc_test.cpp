#include "engine/recalc.h"

#include "ledger/appliancetable.h"
#include "tests/errortext.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace pellion {
namespace {

using Maybe = std::optional<double>;

// Four decimals as the rounding rule forms them.
double fourDecimals(long long scaled) {
    return double(scaled) * 0.0001;
}

TEST(Calckwh, CompletesTheTriangleInCaseOrder) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* situation;
        double amperage, voltage, wattage;
        bool completed;
        double wantAmperage, wantVoltage, wantWattage;
    };
    const Case cases[] = {
        {"all three: watts replaced by volts x amps", 0.5, 240, 100, true, 0.5, 240, 120},
        {"no watts", 0.5, 240, 0, true, 0.5, 240, 120},
        {"no amps, rounded half up", 0, 230, 2000, true, fourDecimals(86957), 230, 2000},
        {"no volts", 3, 0, 100, true, 3, fourDecimals(333333), 100},
        {"watts rounded from the product", 0.33333, 3, 0, true, 0.33333, 3, fourDecimals(10000)},
        {"only watts", 0, 0, 100, false, 0, 0, 100},
        {"only volts", 0, 230, 0, false, 0, 230, 0},
        {"nothing", 0, 0, 0, false, 0, 0, 0},
        {"negative amps", -1, 230, 0, false, -1, 230, 0},
        {"negative watts with amps and volts", 1, 230, -5, false, 1, 230, -5},
        {"product beyond a double", 1e200, 1e200, 0, false, 1e200, 1e200, 0},
        {"scaled product beyond 64 bits", 1e15, 1, 0, false, 1e15, 1, 0},
        {"scaled product just inside 64 bits", 9.2e14, 1, 0, true, 9.2e14, 1, 9.2e14},
        {"infinite input", inf, 1, 0, false, inf, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        double a = c.amperage, v = c.voltage, w = c.wattage;
        EXPECT_EQ(calckwh(a, v, w), c.completed);
        EXPECT_DOUBLE_EQ(a, c.wantAmperage);
        EXPECT_DOUBLE_EQ(v, c.wantVoltage);
        EXPECT_DOUBLE_EQ(w, c.wantWattage);
    }
}

struct Appliance {
    std::string name;
    Maybe voltage, amperage, wattage, hours;
};

class RecalcTest : public ::testing::Test {
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

TEST_F(RecalcTest, WorkedExampleWithoutDiscounts) {
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
    EXPECT_FALSE(r.completionFailed);

    EXPECT_EQ(table.state(), TableState::Browsing);
    EXPECT_EQ(table.RowNumber(), 2);
    for (const char* derived : {"kilowattshour", "costhour", "costday"})
        EXPECT_TRUE(table.FieldNamed(derived).readOnly()) << derived;
    for (const char* entered : {"voltage", "amperage", "wattage", "hrsday"})
        EXPECT_FALSE(table.FieldNamed(entered).readOnly()) << entered;
}

TEST_F(RecalcTest, WorkedExampleWithBothDiscounts) {
    addWorkedExample();
    RecalcInputs in;
    in.pricePerKwh = 0.20;
    in.dailyCharges = 0.50;
    in.kwhDiscountOn = true;
    in.discountKwh = 2;
    in.discountPrice = 0.10;
    in.dailyDiscountOn = true;
    in.dailyDiscount = 0.30;
    RecalcResult r = Recalculate(table, in);
    EXPECT_NEAR(r.dayTotal, 0.776, 1e-12);
    EXPECT_NEAR(r.hourTotal, 0.0323333, 1e-7);
    EXPECT_NEAR(r.monthTotal, 23.5904, 1e-10);
    EXPECT_NEAR(r.quarterTotal, 70.7712, 1e-10);
    EXPECT_NEAR(r.yearTotal, 283.0848, 1e-10);
}

TEST_F(RecalcTest, DiscountEdges) {
    struct Case {
        const char* situation;
        int discountKwh;
        bool dailyDiscountOn;
        double dailyDiscount;
        double dayTotal;
    };
    // Daily energy 3 kWh at 0.20, discounted price 0.05, daily charges 1.
    const Case cases[] = {
        {"no discounted kWh: full price", 0, false, 0, 1 + 0.6},
        {"part discounted", 1, false, 0, 1 + 0.05 + 0.4},
        {"exactly the day's energy", 3, false, 0, 1 + 0.15},
        {"more than the day's energy", 10, false, 0, 1 + 0.15},
        {"daily discount beyond the charges", 10, true, 2, -1 + 0.15},
    };
    add({"Heater", 250, 0, 1000, 3}); // 4 A: stays 1000 W on every pass
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        RecalcInputs in;
        in.pricePerKwh = 0.20;
        in.dailyCharges = 1;
        in.kwhDiscountOn = true;
        in.discountKwh = c.discountKwh;
        in.discountPrice = 0.05;
        in.dailyDiscountOn = c.dailyDiscountOn;
        in.dailyDiscount = c.dailyDiscount;
        RecalcResult r = Recalculate(table, in);
        EXPECT_NEAR(r.dayTotal, c.dayTotal, 1e-12);
        EXPECT_NEAR(r.yearTotal, 30.4 * c.dayTotal * 12, 1e-9);
    }
}

TEST_F(RecalcTest, AFailedCompletionStopsThePassOnThatRecord) {
    add({"Lamp", 230, 0, 60, 5});
    add({"Mystery", std::nullopt, std::nullopt, 100, 1});
    add({"Radio", 230, 0, 23, 2});
    std::string currentAtFailure;
    TableState stateAtFailure = TableState::Closed;
    RecalcInputs in;
    in.pricePerKwh = 1;
    RecalcResult r = Recalculate(table, in, [&] {
        currentAtFailure = currentName();
        stateAtFailure = table.state();
    });
    EXPECT_TRUE(r.completionFailed);
    EXPECT_EQ(currentAtFailure, "Mystery");
    EXPECT_EQ(stateAtFailure, TableState::Browsing);
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

TEST_F(RecalcTest, AFailureOnTheFirstRecordStillGivesTheTotals) {
    add({"Broken", -230, 1, 0, 1});
    int calls = 0;
    RecalcInputs in;
    in.dailyCharges = 0.5;
    RecalcResult r = Recalculate(table, in, [&] { ++calls; });
    EXPECT_EQ(calls, 1);
    EXPECT_DOUBLE_EQ(r.dayTotal, 0.5);
    EXPECT_DOUBLE_EQ(r.least, 1000000);
    EXPECT_FALSE(r.leastName.has_value());
}

TEST_F(RecalcTest, RecordsWithoutANameAreLeftAlone) {
    add({"", std::nullopt, std::nullopt, 100, 1});
    add({"", 230, 0, 1000, 1});
    RecalcInputs in;
    in.pricePerKwh = 0.2;
    in.dailyCharges = 0.75;
    in.dailyDiscountOn = true;
    in.dailyDiscount = 0.25;
    bool failed = false;
    RecalcResult r = Recalculate(table, in, [&] { failed = true; });
    EXPECT_FALSE(failed);
    EXPECT_FALSE(r.completionFailed);
    EXPECT_EQ(table.storedNumberAt(1, table.FieldNamed("amperage").index()), 0);
    EXPECT_DOUBLE_EQ(r.dayTotal, 0.5);
    EXPECT_EQ(r.dailyEnergyText, "0");
    EXPECT_EQ(r.most, 0);
    EXPECT_EQ(r.least, 1000000);
    EXPECT_FALSE(r.mostName.has_value());
    EXPECT_FALSE(r.leastName.has_value());
    EXPECT_FALSE(table.FieldNamed("costhour").readOnly());
}

TEST_F(RecalcTest, ZeroHoursKeepsTheOldCostPerDay) {
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

TEST_F(RecalcTest, AmongEqualCostsTheFirstMetIsNamed) {
    add({"First", 100, 1, 0, 1});
    add({"Second", 50, 2, 0, 1});
    RecalcInputs in;
    in.pricePerKwh = 0.3;
    RecalcResult r = Recalculate(table, in);
    EXPECT_EQ(r.mostName, "First");
    EXPECT_EQ(r.leastName, "First");
}

TEST_F(RecalcTest, AZeroPriceNeverMakesTheMostExpensive) {
    add({"Clock", 230, 0, 2, 24});
    RecalcResult r = Recalculate(table, RecalcInputs{});
    EXPECT_FALSE(r.mostName.has_value());
    EXPECT_EQ(r.most, 0);
    EXPECT_EQ(r.leastName, "Clock");
    EXPECT_EQ(r.least, 0);
}

TEST_F(RecalcTest, ReadOnlyDerivedFieldsDoNotStopThePass) {
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

TEST_F(RecalcTest, PendingChangesAreSettledFirst) {
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

TEST_F(RecalcTest, EveryRecordOnceWhenPostingMovesItInASortedTable) {
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

TEST_F(RecalcTest, AClosedTableFailsBeforeAnything) {
    table.close();
    bool called = false;
    EXPECT_EQ(
        testing::errorText([&] { Recalculate(table, RecalcInputs{}, [&] { called = true; }); }),
        "KMT: Cannot perform this operation on a closed dataset");
    EXPECT_FALSE(called);
}

TEST_F(RecalcTest, AResultBeyondADoubleStopsThePassBeforeAnythingIsWritten) {
    struct Case {
        const char* situation;
        double hours;   // of both appliances
        double wattage; // of the second, at 1e308 V
        double price;
        double dailyCharges;
        double dailyDiscount; // taken off, switched on
    };
    const Case cases[] = {
        {"cost per day", 1.5e308, 2000, 1000, 0, 0},   {"cost per hour", 1, 1e308, 1e8, 0, 0},
        {"daily energy", 1e308, 1000, 0, 0, 0}, {"the day total", 1, 1000, 1, 1e308, -1e308},
        {"the monthly total", 1, 1000, 1, 1e307, 0},
    };
    for (const Case& c : cases) {
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

        RecalcInputs in;
        in.pricePerKwh = c.price;
        in.dailyCharges = c.dailyCharges;
        in.dailyDiscountOn = true;
        in.dailyDiscount = c.dailyDiscount;
        bool completionFailed = false;
        EXPECT_EQ(
            testing::errorText([&] { Recalculate(table, in, [&] { completionFailed = true; }); }),
            "Floating point overflow");
        EXPECT_FALSE(completionFailed);
        EXPECT_EQ(storedTexts(), before);
        EXPECT_EQ(table.state(), TableState::Browsing);
        for (const char* derived : {"kilowattshour", "costhour", "costday"})
            EXPECT_FALSE(table.FieldNamed(derived).readOnly()) << derived;
    }
}

TEST_F(RecalcTest, AnEmptyTableGivesTheDailyChargesAlone) {
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

} // namespace
} // namespace pellion
