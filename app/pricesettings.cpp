#include "app/pricesettings.h"

#include "engine/numberformat.h"

namespace pellion {

std::optional<double> parsePriceSetting(const PriceSetting& setting, std::string_view text) {
    if (text.empty() || text == missingSetting)
        return std::nullopt;
    if (setting.wholeNumber)
        return double(TextToInteger(text));
    return TextToNumber(text);
}

std::string formatPriceSetting(const PriceSetting& setting, double value) {
    if (setting.wholeNumber)
        return NumberToText(value, 15);
    return FormatNumber("0.00", value);
}

} // namespace pellion
