#include "app/pricesettings.h"

#include "base/error.h"
#include "engine/numberformat.h"
#include "tests/errortext.h"

#include <gtest/gtest.h>

namespace {

const pellion::PriceSetting& cost = pellion::priceSettings[0];
const pellion::PriceSetting& discountedKwh = pellion::priceSettings[2];

TEST(PriceSettings, EmptyAndErrorLeaveTheFieldAlone) {
    for (const char* text : {"", "ERROR"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(pellion::parsePriceSetting(cost, text).has_value());
        EXPECT_FALSE(pellion::parsePriceSetting(discountedKwh, text).has_value());
    }
}

TEST(PriceSettings, TextsThatDoNotParseNameThemselves) {
    struct Case {
        const char* situation;
        const pellion::PriceSetting* setting;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"letters in a price", &cost, "x", "'x' is not a valid floating point value"},
        {"lower-case error is no marker", &cost, "error",
         "'error' is not a valid floating point value"},
        {"decimals in the whole number", &discountedKwh, "1.5",
         "'1.5' is not a valid integer value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        EXPECT_EQ(
            pellion::testing::errorText([&] { pellion::parsePriceSetting(*c.setting, c.text); }),
            c.message);
    }
}

// A file written under one regional setting and read under another keeps the
// user's prices; what parses with neither separator still fails.
TEST(PriceSettings, PricesWrittenWithTheOtherDecimalSeparatorReadBack) {
    struct Case {
        char userSeparator;
        const char* text;
        std::optional<double> value; // none: refused
    };
    const Case cases[] = {
        {'.', "0.25", 0.25},    {'.', "0,25", 0.25}, {',', "0,25", 0.25},  {',', "0.25", 0.25},
        {',', "-1.5e3", -1500}, {'.', "12", 12},     {'.', "1,234.5", {}}, {',', "1.234,5", {}},
        {'.', "0;25", {}},      {',', "abc", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.userSeparator) + " " + c.text);
        pellion::FormatSettings settings;
        settings.decimalSeparator = c.userSeparator;
        settings.thousandSeparator = c.userSeparator == ',' ? '.' : ',';
        const pellion::ScopedFormatSettings user(settings);
        if (c.value) {
            EXPECT_EQ(pellion::parsePriceSetting(cost, c.text), c.value);
        } else {
            EXPECT_EQ(
                pellion::testing::errorText([&] { pellion::parsePriceSetting(cost, c.text); }),
                "'" + std::string(c.text) + "' is not a valid floating point value");
        }
        EXPECT_EQ(pellion::formatSettings().decimalSeparator, c.userSeparator);
    }
}

TEST(PriceSettings, PricesAreWrittenWithTwoDecimalsAndReadBack) {
    EXPECT_EQ(pellion::formatPriceSetting(cost, 0.1234), "0.12");
    EXPECT_EQ(pellion::formatPriceSetting(cost, 0.01), "0.01");
    EXPECT_EQ(pellion::formatPriceSetting(cost, 0), "0.00");
    EXPECT_EQ(pellion::formatPriceSetting(discountedKwh, 12), "12");
    EXPECT_EQ(pellion::parsePriceSetting(cost, "0.12"), 0.12);
    EXPECT_EQ(pellion::parsePriceSetting(discountedKwh, "12"), 12.0);
}

} // namespace
