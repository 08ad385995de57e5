#include "app/pricesettings.h"

#include "app/settingsfile.h"
#include "base/error.h"
#include "engine/numberformat.h"
#include "tests/errortext.h"
#include "tests/scratchfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <string>

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

// Whatever value a field holds, the text Save writes into cfgfd.ini reads
// back at the next start as the number it shows, and is then written the same
// way again, with either decimal separator.
TEST(PriceSettings, EveryValueWrittenReadsBackAndIsWrittenAgainTheSame) {
    struct Case {
        const char* situation;
        const pellion::PriceSetting* setting;
        double value;
        const char* text; // with '.' as decimal separator
        double readBack;
    };
    const Case cases[] = {
        {"largest double", &cost, DBL_MAX, "1.79769313486232E308", DBL_MAX},
        {"negative largest double", &cost, -DBL_MAX, "-1.79769313486232E308", -DBL_MAX},
        {"smallest normal", &cost, DBL_MIN, "0.00", 0},
        {"smallest subnormal", &cost, 4.9406564584124654e-324, "0.00", 0},
        {"negative zero", &cost, -0.0, "0.00", 0},
        {"rounded to two decimals", &cost, 0.1234, "0.12", 0.12},
        {"15 digits", &cost, 1234567890123.45, "1234567890123.45", 1234567890123.45},
        {"17 digits", &cost, 0.1 + 0.2, "0.30", 0.3},
        {"largest below 10^18", &cost, 999999999999999872.0, "999999999999999872.00",
         999999999999999872.0},
        {"10^18 and beyond", &cost, 2.5e18, "2.5E18", 2.5e18},
        {"largest whole number", &discountedKwh, 2147483647, "2147483647", 2147483647},
        {"smallest whole number", &discountedKwh, -2147483648.0, "-2147483648", -2147483648.0},
    };
    pellion::testing::ScratchFolder folder("pricesettings_test");
    const std::string path = (folder.path() / "cfgfd.ini").string();
    for (const char decimalSeparator : {'.', ','}) {
        pellion::FormatSettings regional;
        regional.decimalSeparator = decimalSeparator;
        regional.thousandSeparator = decimalSeparator == '.' ? ',' : '.';
        const pellion::ScopedFormatSettings scope(regional);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.situation) + " with '" + decimalSeparator + "'");
            std::string text = c.text;
            std::replace(text.begin(), text.end(), '.', decimalSeparator);
            pellion::SettingsFile written(path);
            written.write(c.setting->section, pellion::priceSettingKey,
                          pellion::formatPriceSetting(*c.setting, c.value));
            written.save();

            const pellion::SettingsFile read(path);
            const std::string stored = read.read(c.setting->section, pellion::priceSettingKey, "");
            EXPECT_EQ(stored, text);
            const auto back = pellion::parsePriceSetting(*c.setting, stored);
            ASSERT_TRUE(back.has_value());
            EXPECT_EQ(*back, c.readBack);
            EXPECT_EQ(pellion::formatPriceSetting(*c.setting, *back), text);
        }
    }
}

} // namespace
