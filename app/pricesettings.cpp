#include "app/pricesettings.h"

#include "engine/numberformat.h"

namespace pellion {

std::optional<double> parsePriceSetting(const PriceSetting& setting, std::string_view text) {
    if (text.empty() || text == missingSetting)
        return std::nullopt;
    if (setting.wholeNumber)
        return double(TextToInteger(text));
    double value = 0;
    if (TryTextToNumber(text, value))
        return value;
    // The file is written with the user's decimal separator, so after a
    // change of regional settings it holds the other one.
    for (const char other : {'.', ','}) {
        FormatSettings settings = formatSettings();
        if (other == settings.decimalSeparator)
            continue;
        settings.decimalSeparator = other;
        const ScopedFormatSettings otherSeparator(settings);
        if (TryTextToNumber(text, value))
            return value;
    }
    return TextToNumber(text); // fails, naming the text
}

std::string formatPriceSetting(const PriceSetting& setting, double value) {
    if (setting.wholeNumber)
        return NumberToText(value, 15);
    return FormatNumber("0.00", value);
}

} // namespace pellion
