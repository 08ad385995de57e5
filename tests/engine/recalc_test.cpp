#include "engine/recalc.h"

#include <gtest/gtest.h>

#include <limits>

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

} // namespace
} // namespace pellion
