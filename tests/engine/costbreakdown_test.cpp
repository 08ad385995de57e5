#include "engine/costbreakdown.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace pellion {
namespace {

using Percent = std::optional<double>;
constexpr Percent noShare = std::nullopt;
const double inf = std::numeric_limits<double>::infinity();
const double nan = std::numeric_limits<double>::quiet_NaN();

struct WantRow {
    std::string name;
    double cost;
    Percent percent;
    double bar;
};

void expectSameAmount(double actual, double expected, const char* what) {
    if (std::isnan(expected))
        EXPECT_TRUE(std::isnan(actual)) << what;
    else if (std::isinf(expected))
        EXPECT_EQ(actual, expected) << what;
    else
        EXPECT_NEAR(actual, expected, 1e-9) << what;
}

void expectRows(const CostBreakdown& breakdown, const std::vector<WantRow>& want) {
    ASSERT_EQ(breakdown.rows.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        const BreakdownRow& row = breakdown.rows[i];
        EXPECT_EQ(row.name, want[i].name);
        expectSameAmount(row.costPerDay, want[i].cost, "cost");
        EXPECT_EQ(row.percent.has_value(), want[i].percent.has_value());
        if (row.percent && want[i].percent)
            EXPECT_NEAR(*row.percent, *want[i].percent, 1e-9);
        EXPECT_NEAR(row.barFraction, want[i].bar, 1e-12);
        EXPECT_FALSE(row.isOther);
        EXPECT_EQ(row.applianceCount, 1u);
    }
}

TEST(CostBreakdown, SharesOfTheAppliancesDearestFirst) {
    struct Case {
        const char* situation;
        std::vector<ApplianceCost> appliances;
        double dayTotal;
        std::vector<WantRow> rows;
        double appliancesTotal;
        double chargesAndDiscounts;
    };
    const Case cases[] = {
        {"worked example with other daily charges",
         {{"Kettle", 0.2}, {"Fridge", 0.576}},
         1.276,
         {{"Fridge", 0.576, 0.576 / 0.776 * 100, 1},
          {"Kettle", 0.2, 0.2 / 0.776 * 100, 0.2 / 0.576}},
         0.776,
         0.5},
        {"an empty list: the charges alone", {}, 0.5, {}, 0, 0.5},
        {"equal costs keep the list's order",
         {{"A", 1}, {"B", 2}, {"C", 1}, {"D", 2}},
         6,
         {{"B", 2, 100.0 / 3, 1},
          {"D", 2, 100.0 / 3, 1},
          {"A", 1, 100.0 / 6, 0.5},
          {"C", 1, 100.0 / 6, 0.5}},
         6,
         0},
        {"nothing costs anything: no shares, no bars",
         {{"Clock", 0}, {"Lamp", 0}},
         0.5,
         {{"Clock", 0, noShare, 0}, {"Lamp", 0, noShare, 0}},
         0,
         0.5},
        {"costs adding up below zero: no shares",
         {{"Refund", -1}, {"Lamp", 0.5}},
         -0.5,
         {{"Lamp", 0.5, noShare, 1}, {"Refund", -1, noShare, 0}},
         -0.5,
         0},
        {"a negative cost among positive ones: a negative share, no bar",
         {{"Solar", -0.5}, {"Heater", 2}},
         1.5,
         {{"Heater", 2, 2 / 1.5 * 100, 1}, {"Solar", -0.5, -0.5 / 1.5 * 100, 0}},
         1.5,
         0},
        {"a daily discount beyond everything: shares still of the appliances",
         {{"Kettle", 1}},
         -0.3,
         {{"Kettle", 1, 100, 1}},
         1,
         -1.3},
        {"an infinite cost: the only bar, no shares",
         {{"Lamp", 1}, {"Furnace", inf}},
         inf,
         {{"Furnace", inf, noShare, 1}, {"Lamp", 1, noShare, 0}},
         inf,
         nan},
        {"a cost that is not a number sorts last",
         {{"Broken", nan}, {"Lamp", 1}},
         1,
         {{"Lamp", 1, noShare, 1}, {"Broken", nan, noShare, 0}},
         nan,
         nan},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        const CostBreakdown breakdown = breakDownCosts(c.appliances, c.dayTotal);
        expectRows(breakdown, c.rows);
        expectSameAmount(breakdown.appliancesTotal, c.appliancesTotal, "appliances total");
        expectSameAmount(breakdown.dayTotal, c.dayTotal, "day total");
        expectSameAmount(breakdown.chargesAndDiscounts, c.chargesAndDiscounts,
                         "charges and discounts");
    }
}

std::vector<ApplianceCost> appliancesCosting(const std::vector<double>& costs) {
    std::vector<ApplianceCost> appliances;
    for (std::size_t i = 0; i < costs.size(); ++i)
        appliances.push_back({"A" + std::to_string(i + 1), costs[i]});
    return appliances;
}

TEST(CostBreakdown, AppliancesBeyondTheFirstFifteenBecomeOther) {
    struct Case {
        const char* situation;
        std::vector<double> costs; // appliance i+1 is named "Ai+1"
        std::vector<std::string> named;
        std::optional<double> otherCost;
        std::size_t otherCount;
        double otherBar;
    };
    std::vector<double> rising;
    for (int cost = 1; cost <= 17; ++cost)
        rising.push_back(cost);
    std::vector<std::string> risingNamed;
    for (int i = 17; i >= 3; --i)
        risingNamed.push_back("A" + std::to_string(i));

    std::vector<std::string> firstFifteen;
    for (int i = 1; i <= 15; ++i)
        firstFifteen.push_back("A" + std::to_string(i));

    const Case cases[] = {
        {"fifteen: no Other", std::vector<double>(15, 1), firstFifteen, std::nullopt, 0, 0},
        {"sixteen: Other holds one", std::vector<double>(16, 1), firstFifteen, 1, 1, 1},
        {"the two cheapest gathered, Other last though small", rising, risingNamed, 1 + 2, 2,
         3.0 / 17},
        {"equal costs: the first fifteen in the list are named, Other the longest bar",
         std::vector<double>(30, 2), firstFifteen, 30, 15, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.situation);
        const CostBreakdown breakdown = breakDownCosts(appliancesCosting(c.costs), 0);
        const std::size_t namedRows = c.named.size();
        ASSERT_EQ(breakdown.rows.size(), namedRows + (c.otherCost ? 1 : 0));
        double total = 0;
        for (double cost : c.costs)
            total += cost;
        double percents = 0;
        for (std::size_t i = 0; i < namedRows; ++i) {
            EXPECT_EQ(breakdown.rows[i].name, c.named[i]) << i;
            EXPECT_FALSE(breakdown.rows[i].isOther) << i;
            percents += *breakdown.rows[i].percent;
        }
        if (c.otherCost) {
            const BreakdownRow& other = breakdown.rows.back();
            EXPECT_EQ(other.name, "Other");
            EXPECT_TRUE(other.isOther);
            EXPECT_EQ(other.applianceCount, c.otherCount);
            EXPECT_DOUBLE_EQ(other.costPerDay, *c.otherCost);
            EXPECT_NEAR(*other.percent, *c.otherCost / total * 100, 1e-9);
            EXPECT_NEAR(other.barFraction, c.otherBar, 1e-12);
            percents += *other.percent;
        }
        EXPECT_NEAR(percents, 100, 1e-9);
        EXPECT_DOUBLE_EQ(breakdown.appliancesTotal, total);
    }
}

} // namespace
} // namespace pellion
