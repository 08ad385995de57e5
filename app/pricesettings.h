#pragma once

// The five price and discount settings as cfgfd.ini keeps them: one section
// each, under the key "0", in the order the file is read and written.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace pellion {

struct PriceSetting {
    const char* section;
    bool wholeNumber; // read with TextToInteger, written as plain digits
};

inline constexpr const char* priceSettingKey = "0";
inline constexpr const char* missingSetting = "ERROR"; // what a read returns for a missing key

inline constexpr std::array<PriceSetting, 5> priceSettings{{
    {"cost", false},       // sechgphr
    {"dailycosts", false}, // sedailycharges
    {"discnoofhrs", true}, // senoofhrsdisc
    {"kwhdisc", false},    // sekwhdisc
    {"dcdisc", false},     // sedcdisc
}};

// Nothing for an empty text or "ERROR" (compared exactly); otherwise the
// number, read with the user's decimal separator or else with the other one
// of '.' and ',' (so "0,25" and "0.25" both read as 0.25), or pellion::Error
// "'%s' is not a valid floating point value" (or "... integer value") when
// the text does not parse either way.
std::optional<double> parsePriceSetting(const PriceSetting& setting, std::string_view text);

// Decimals as "0.00" (0.1234 -> "0.12"), whole numbers as plain digits.
std::string formatPriceSetting(const PriceSetting& setting, double value);

} // namespace pellion
