#pragma once

// Exact conversions between doubles and text. Every number the program shows,
// stores or reads goes through these functions and no other conversion.
//
// Rounding is half away from zero on the 18-significant-digit decimal form of
// the double, so it follows the value the user sees rather than the binary one:
//   FormatNumber("0.00", 0.125)   -> "0.13"
//   FormatNumber("0.00", 2.675)   -> "2.67"   (the double lies just below 2.675)
//   NumberToText(0.00009)         -> "9E-5"
//   NumberToText(0.1 + 0.2)       -> "0.3"
// The separators come from formatSettings(); the core never asks the system.

#include <cstdint>
#include <string>
#include <string_view>

namespace pellion {

struct FormatSettings {
    char decimalSeparator = '.';
    char thousandSeparator = ',';
    std::string currencySymbol = "$";
    std::string shortDateFormat = "M/d/yyyy";  // Qt date pattern, filled by the app
    std::string longTimeFormat = "h:mm:ss AP"; // Qt time pattern, filled by the app
};

// The settings every conversion uses.
FormatSettings& formatSettings();

// Switches the settings for a scope and restores them on every way out.
class ScopedFormatSettings {
public:
    explicit ScopedFormatSettings(const FormatSettings& temporary);
    ~ScopedFormatSettings();
    ScopedFormatSettings(const ScopedFormatSettings&) = delete;
    ScopedFormatSettings& operator=(const ScopedFormatSettings&) = delete;

private:
    FormatSettings m_saved;
};

std::string FormatNumber(std::string_view pattern, double value);
std::string NumberToText(double value, int precision = 15);
std::string NumberToFixedText(double value, int precision, int decimals);
bool TryTextToNumber(std::string_view text, double& value);
double TextToNumber(std::string_view text);
std::int32_t TextToInteger(std::string_view text);
std::string IntegerToText(std::int64_t value);

} // namespace pellion
