#include "engine/recalc.h"

#include "tests/errortext.h"
#include "tests/overflowcases.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace pellion {
namespace {

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

// Kettle 2000 W from 230 V, half an hour; Fridge 0.5 A at 240 V all day.
const std::vector<ApplianceValues> workedExample = {
    {"Kettle", 230, 0, 2000, 0.5},
    {"Fridge", 240, 0.5, 0, 24},
};

TEST(Recalculate, CompletesEveryRecordAndCostsIt) {
    RecalcInputs in;
    in.pricePerKwh = 0.20;
    in.dailyCharges = 0.50;
    const RecalcResult r = recalculate(workedExample, in);
    ASSERT_EQ(r.appliances.size(), 2u);
    const ApplianceResult& kettle = *r.appliances[0];
    EXPECT_DOUBLE_EQ(kettle.amperage, 8.6957);
    EXPECT_DOUBLE_EQ(kettle.wattage, 2000);
    EXPECT_DOUBLE_EQ(kettle.kwhPerHour, 2.0);
    EXPECT_DOUBLE_EQ(kettle.costPerHour, 0.4);
    EXPECT_EQ(kettle.costPerDay, std::optional<double>(0.2));
    const ApplianceResult& fridge = *r.appliances[1];
    EXPECT_DOUBLE_EQ(fridge.wattage, 120);
    EXPECT_DOUBLE_EQ(fridge.costPerHour, 0.024);
    EXPECT_DOUBLE_EQ(*fridge.costPerDay, 0.576);
    EXPECT_EQ(r.dailyEnergyText, "3.88");
    EXPECT_NEAR(r.dayTotal, 1.276, 1e-12);
    EXPECT_EQ(r.mostName, "Kettle");
    EXPECT_EQ(r.leastName, "Fridge");
    EXPECT_FALSE(r.failingRecord);
}

TEST(Recalculate, TotalsWithAndWithoutDiscounts) {
    struct Case {
        const char* situation;
        std::vector<ApplianceValues> appliances;
        bool kwhDiscountOn;
        int discountKwh;
        double discountPrice;
        bool dailyDiscountOn;
        double dailyDiscount;
        double dayTotal;
    };
    // Heater: 3 kWh a day at 0.20, daily charges 1 (0.50 for the worked example).
    const std::vector<ApplianceValues> heater = {{"Heater", 250, 0, 1000, 3}};
    const Case cases[] = {
        {"worked example, both discounts", workedExample, true, 2, 0.10, true, 0.30, 0.776},
        {"no discount", heater, false, 10, 0.05, false, 0, 1 + 0.6},
        {"no discounted kWh: full price", heater, true, 0, 0.05, false, 0, 1 + 0.6},
        {"part discounted", heater, true, 1, 0.05, false, 0, 1 + 0.05 + 0.4},
        {"exactly the day's energy", heater, true, 3, 0.05, false, 0, 1 + 0.15},
        {"more than the day's energy", heater, true, 10, 0.05, false, 0, 1 + 0.15},
        {"daily discount beyond the charges", heater, true, 10, 0.05, true, 2, -1 + 0.15},
        {"no appliances: the daily charges alone", {}, false, 0, 0, true, 0.5, 0.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        RecalcInputs in;
        in.pricePerKwh = 0.20;
        in.dailyCharges = c.appliances.size() == 2 ? 0.50 : 1;
        in.kwhDiscountOn = c.kwhDiscountOn;
        in.discountKwh = c.discountKwh;
        in.discountPrice = c.discountPrice;
        in.dailyDiscountOn = c.dailyDiscountOn;
        in.dailyDiscount = c.dailyDiscount;
        const RecalcResult r = recalculate(c.appliances, in);
        EXPECT_NEAR(r.dayTotal, c.dayTotal, 1e-12);
        EXPECT_NEAR(r.hourTotal, c.dayTotal / 24, 1e-12);
        EXPECT_NEAR(r.monthTotal, 30.4 * c.dayTotal, 1e-9);
        EXPECT_NEAR(r.quarterTotal, 30.4 * c.dayTotal * 3, 1e-9);
        EXPECT_NEAR(r.yearTotal, 30.4 * c.dayTotal * 12, 1e-9);
    }
}

TEST(Recalculate, DearestAndCheapestPerHour) {
    struct Case {
        const char* situation;
        std::vector<ApplianceValues> appliances;
        double price;
        std::optional<std::string> mostName, leastName;
        double most, least;
    };
    const Case cases[] = {
        {"among equal costs the first met",
         {{"First", 100, 1, 0, 1}, {"Second", 50, 2, 0, 1}},
         0.3,
         "First",
         "First",
         0.03,
         0.03},
        {"a zero price never makes the dearest",
         {{"Clock", 230, 0, 2, 24}},
         0,
         std::nullopt,
         "Clock",
         0,
         0},
        {"nameless records are no appliance",
         {{"", 230, 0, 1000, 1}, {"", 0, 0, 100, 1}},
         0.2,
         std::nullopt,
         std::nullopt,
         0,
         startingLeast},
        {"only what comes before a failed completion",
         {{"Lamp", 230, 0, 60, 5}, {"Mystery", 0, 0, 100, 1}, {"Radio", 230, 0, 23, 2}},
         1,
         "Lamp",
         "Lamp",
         0.06,
         0.06},
        {"a failure on the first record",
         {{"Broken", -230, 1, 0, 1}},
         1,
         std::nullopt,
         std::nullopt,
         0,
         startingLeast},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        RecalcInputs in;
        in.pricePerKwh = c.price;
        const RecalcResult r = recalculate(c.appliances, in);
        EXPECT_EQ(r.mostName, c.mostName);
        EXPECT_EQ(r.leastName, c.leastName);
        EXPECT_DOUBLE_EQ(r.most, c.most);
        EXPECT_DOUBLE_EQ(r.least, c.least);
    }
}

// The pass stops at the first named record it cannot complete: the records
// before it get results (none for a nameless one), it and those after none.
TEST(Recalculate, StopsAtTheFirstRecordItCannotComplete) {
    const std::vector<ApplianceValues> appliances = {
        {"Lamp", 230, 0, 60, 5},
        {"", 0, 0, 0, 0},
        {"Mystery", 0, 0, 100, 1},
        {"Radio", 230, 0, 23, 2},
    };
    const RecalcResult r = recalculate(appliances, RecalcInputs{});
    EXPECT_EQ(r.failingRecord, 2u);
    ASSERT_EQ(r.appliances.size(), 2u);
    EXPECT_TRUE(r.appliances[0]);
    EXPECT_FALSE(r.appliances[1]);
    EXPECT_EQ(r.dailyEnergyText, "0.3");
    ASSERT_EQ(r.applianceCosts.size(), 1u);
    EXPECT_EQ(r.applianceCosts[0].name, "Lamp");
}

// The breakdown gets what each costed appliance adds to the day: nothing for
// one used 0 hours, nothing for a record without a name.
TEST(Recalculate, CostedAppliancesGoToTheBreakdownInListOrder) {
    const std::vector<ApplianceValues> appliances = {
        {"Kettle", 230, 0, 2000, 0.5},
        {"Drill", 230, 0, 690, 0},
        {"", 230, 0, 1000, 1},
        {"Fridge", 240, 0.5, 0, 24},
    };
    RecalcInputs in;
    in.pricePerKwh = 0.2;
    const RecalcResult r = recalculate(appliances, in);
    ASSERT_EQ(r.applianceCosts.size(), 3u);
    EXPECT_EQ(r.applianceCosts[0].name, "Kettle");
    EXPECT_DOUBLE_EQ(r.applianceCosts[0].costPerDay, 0.2);
    EXPECT_EQ(r.applianceCosts[1].name, "Drill");
    EXPECT_EQ(r.applianceCosts[1].costPerDay, 0);
    EXPECT_FALSE(r.appliances[1]->costPerDay);
    EXPECT_EQ(r.applianceCosts[2].name, "Fridge");
    EXPECT_DOUBLE_EQ(r.applianceCosts[2].costPerDay, 0.576);
}

TEST(Recalculate, AResultBeyondADoubleIsAnOverflow) {
    for (const testing::OverflowCase& c : testing::overflowCases) {
        SCOPED_TRACE(c.situation);
        const std::vector<ApplianceValues> appliances = {
            {"Kettle", 230, 0, 2000, c.hours},
            {"Furnace", 1e308, 0, c.wattage, c.hours},
        };
        EXPECT_EQ(testing::errorText([&] { recalculate(appliances, c.inputs()); }),
                  "Floating point overflow");
    }
}

} // namespace
} // namespace pellion
