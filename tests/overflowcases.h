#pragma once

// Households whose costs or totals go beyond a double at each step of the
// recalculation: two appliances, the second at 1e308 V, both used `hours` a
// day; the daily discount switched on. The arithmetic's tests and the tests
// of the pass over the table share them, so both reach every step.

#include "engine/recalc.h"

namespace pellion::testing {

struct OverflowCase {
    const char* situation;
    double hours;   // of both appliances
    double wattage; // of the second
    double price;
    double dailyCharges;
    double dailyDiscount;

    RecalcInputs inputs() const {
        RecalcInputs in;
        in.pricePerKwh = price;
        in.dailyCharges = dailyCharges;
        in.dailyDiscountOn = true;
        in.dailyDiscount = dailyDiscount;
        return in;
    }
};

inline constexpr OverflowCase overflowCases[] = {
    {"cost per day", 1.5e308, 2000, 1000, 0, 0}, {"cost per hour", 1, 1e308, 1e8, 0, 0},
    {"daily energy", 1e308, 1000, 0, 0, 0},      {"the day total", 1, 1000, 1, 1e308, -1e308},
    {"the monthly total", 1, 1000, 1, 1e307, 0},
};

} // namespace pellion::testing
